#pragma once
// The user name a telnet user types at login, received in pieces: complete
// at a line end, accepted with 2 to 255 printable ASCII characters, refused
// otherwise (telnet option bytes that a client sends at connect included).
// Pure: bytes in, an outcome out.

#include <string>
#include <string_view>

class UserNameInput {
public:
    static constexpr std::size_t kShortestName = 2;
    static constexpr std::size_t kLongestName = 255;

    enum class Outcome { Typing, Accepted, Refused };

    // The received bytes count up to a NUL, as the station's texts always have.
    Outcome take(std::string_view received);
    // The accepted name.
    const std::string& name() const { return typed_; }

    static bool IsAcceptable(std::string_view name);

private:
    std::string typed_;
};
