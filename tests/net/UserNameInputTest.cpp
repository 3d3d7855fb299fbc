// The login name as a telnet user types it: complete at a line end, refused
// when too short, too long or holding anything but printable ASCII.

#include <gtest/gtest.h>

#include "net/UserNameInput.h"

using Outcome = UserNameInput::Outcome;

TEST(UserNameInput, AcceptsAndRefusesNames) {
    const std::pair<std::string, Outcome> cases[] = {
        {"desk\r\n", Outcome::Accepted},
        {"desk\n", Outcome::Accepted},
        {"desk\r", Outcome::Accepted},
        {"Night Desk 2\r\n", Outcome::Accepted},
        {"d\r\n", Outcome::Refused},
        {"\r\n", Outcome::Refused},
        {"d\tk\r\n", Outcome::Refused},
        {"\xff\xfb\x01\xff\xfb\x03" "desk\r\n", Outcome::Refused},
        {"caf\xe9\r\n", Outcome::Refused},
        {"a\r\nbob\r\n", Outcome::Refused},
        {std::string(255, 'n') + "\r\n", Outcome::Accepted},
        {std::string(256, 'n') + "\r\n", Outcome::Refused},
        {"des", Outcome::Typing},
    };
    for (const auto& [typed, outcome] : cases) {
        UserNameInput input;
        EXPECT_EQ(input.take(typed), outcome) << typed;
    }
}

TEST(UserNameInput, GathersANameTypedInPieces) {
    UserNameInput input;
    EXPECT_EQ(input.take("de"), Outcome::Typing);
    EXPECT_EQ(input.take("sk"), Outcome::Typing);
    EXPECT_EQ(input.take(std::string("\r\0", 2)), Outcome::Accepted);
    EXPECT_EQ(input.name(), "desk");
}

TEST(UserNameInput, StartsAfreshAfterARefusal) {
    UserNameInput input;
    EXPECT_EQ(input.take(std::string(200, 'x')), Outcome::Typing);
    EXPECT_EQ(input.take(std::string(100, 'x')), Outcome::Refused);
    EXPECT_EQ(input.take("x\r\n"), Outcome::Refused);
    EXPECT_EQ(input.take("desk\r\n"), Outcome::Accepted);
    EXPECT_EQ(input.name(), "desk");
}
