#include "support/LogReading.h"

#include <algorithm>

#include "app/CommandIds.h"
#include "support/FakeControls.h"

namespace {
constexpr std::size_t kTimeAndSeparator = 11;
}

std::vector<std::string> LogMessages(FakeControls& window) {
    std::vector<std::string> messages;
    for (const std::string& line : window.list(Id::LogList)) messages.push_back(line.substr(kTimeAndSeparator));
    return messages;
}

std::vector<std::string> LogMessagesFrom(FakeControls& window, const std::string& first) {
    std::vector<std::string> all = LogMessages(window);
    auto found = std::find(all.begin(), all.end(), first);
    return std::vector<std::string>(found, all.end());
}

bool Logged(FakeControls& window, const std::string& message) {
    std::vector<std::string> all = LogMessages(window);
    return std::find(all.begin(), all.end(), message) != all.end();
}

int TimesLogged(FakeControls& window, const std::string& message) {
    std::vector<std::string> all = LogMessages(window);
    return static_cast<int>(std::count(all.begin(), all.end(), message));
}
