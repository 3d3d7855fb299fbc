// The Recipient Email Address menu: each command sets the mailbox prefix and
// the radio check, and the menu follows an address set elsewhere.

#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "net/RecipientMenu.h"
#include "support/StationFixture.h"

namespace {

int checkedItem(FakeControls& window) {
    int checked = 0;
    for (int id = Id::RecipientFirst; id <= Id::RecipientLast; ++id)
        if (window.menuItemChecked(id)) checked = checked == 0 ? id : -1;
    return checked;
}

}  // namespace

TEST(RecipientMenu, EachCommandSetsItsAddress) {
    const std::pair<int, std::string> cases[] = {
        {40002, "AUTOSTART@"}, {40003, "100@"}, {40004, "PODIUM@"}, {40001, "KOVA@"}};
    for (const auto& [command, address] : cases) {
        StationFixture s;
        RecipientMenu menu(s.state, s.log, s.window);
        menu.ChooseRecipient(command);
        EXPECT_EQ(s.state.KOVAEmailAddress.get(), address);
        EXPECT_EQ(checkedItem(s.window), command);
        EXPECT_EQ(s.logMessages(),
                  std::vector<std::string>{"KOVAEmailAddress overridden and changed to \"" + address + "\""});
    }
}

TEST(RecipientMenu, FollowsTheAddressOfTheSettings) {
    struct Case {
        std::string configured;
        std::string address;
        int checked;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"AUTOSTART-NEWS@", "AUTOSTART@", 40002, {"KOVAEmailAddress overridden and changed to \"AUTOSTART@\""}},
        {"MYKOVA@HOME", "KOVA@", 40001, {"KOVAEmailAddress overridden and changed to \"KOVA@\""}},
        {"BULLETIN@", "BULLETIN@", 40005, {"KOVAEmailAddress overridden and changed to \"BULLETIN@\""}},
        {"OTHER@", "OTHER@", 40005,
         {"KOVAEmailAddress default is \"OTHER@\", modify Tarvik.ini file and restart",
          "KOVAEmailAddress overridden and changed to \"OTHER@\""}},
    };
    for (const Case& c : cases) {
        StationFixture s;
        RecipientMenu menu(s.state, s.log, s.window);
        s.state.KOVAEmailAddress = c.configured;
        menu.SyncRecipientMenu();
        EXPECT_EQ(s.state.KOVAEmailAddress.get(), c.address) << c.configured;
        EXPECT_EQ(checkedItem(s.window), c.checked) << c.configured;
        EXPECT_EQ(s.logMessages(), c.log) << c.configured;
    }
}

TEST(RecipientMenu, TheFifthItemKeepsTheAddressItShows) {
    StationFixture s;
    RecipientMenu menu(s.state, s.log, s.window);
    s.state.KOVAEmailAddress = "BULLETIN@";
    menu.SyncRecipientMenu();
    menu.ChooseRecipient(40004);
    menu.ChooseRecipient(40005);
    EXPECT_EQ(s.state.KOVAEmailAddress.get(), "BULLETIN@");
    EXPECT_EQ(checkedItem(s.window), 40005);
}
