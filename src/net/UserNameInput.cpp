#include "net/UserNameInput.h"

#include "platform/AsciiText.h"

bool UserNameInput::IsAcceptable(std::string_view name) {
    if (name.size() < kShortestName || name.size() > kLongestName) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) return false;
    return true;
}

UserNameInput::Outcome UserNameInput::take(std::string_view received) {
    typed_.append(BeforeNul(received));
    std::size_t lineFeed = typed_.rfind('\n');
    std::size_t carriageReturn = typed_.rfind('\r');
    if (lineFeed == std::string::npos && carriageReturn == std::string::npos) {
        if (typed_.size() <= kLongestName) return Outcome::Typing;
        typed_.clear();
        return Outcome::Refused;
    }
    if (lineFeed != std::string::npos) typed_.resize(lineFeed);
    carriageReturn = typed_.rfind('\r');
    if (carriageReturn != std::string::npos) typed_.resize(carriageReturn);
    if (IsAcceptable(typed_)) return Outcome::Accepted;
    typed_.clear();
    return Outcome::Refused;
}
