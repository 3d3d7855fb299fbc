#include "support/StationFixture.h"

#include <sys/stat.h>

#include <sstream>

#include "app/CommandIds.h"
#include "support/LogReading.h"

StationFixture::StationFixture(SerialDriver* driver)
    : line(state, driver ? *driver : termios, log, window, [this](int code) { fatalExits.push_back(code); }) {
    ::mkdir("log", 0777);
    clock.setLocal(2026, 12, 9, 10, 20, 30);
}

std::vector<std::string> StationFixture::logLines() {
    std::string contents = ReadBinaryFile(log.todaysFileName());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = contents.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(contents.substr(start, end - start));
    return lines;
}

std::vector<std::string> StationFixture::logMessages() { return LogMessages(window); }
