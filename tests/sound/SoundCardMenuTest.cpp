#include <gtest/gtest.h>

#include "app/CommandIds.h"
#include "sound/SoundCardMenu.h"
#include "sound/ToneText.h"
#include "support/StationFixture.h"

namespace {

struct MenuFixture {
    StationFixture s;
    int setupRuns = 0;
    SoundCardMenu menu{s.state, s.window, [this] { ++setupRuns; }};

    int checkedItem() {
        int checked = 0, count = 0;
        for (int id = Id::SoundNone; id <= Id::SoundCard4; ++id)
            if (s.window.menuItemChecked(id)) checked = id, ++count;
        return count == 1 ? checked : -count;
    }
};

}  // namespace

TEST(SoundCardMenu, EachCardItemSetsItsIdAndKeepsOneItemChecked) {
    MenuFixture f;
    struct Case { int item; int cardId; };
    for (Case c : {Case{Id::SoundCard1 + 1, 1}, Case{Id::SoundAuto, -1}, Case{Id::SoundCard1, 0},
                   Case{Id::SoundCard4, 3}, Case{Id::SoundCard1 + 2, 2}, Case{Id::SoundNone, 99}}) {
        EXPECT_TRUE(f.menu.handle(c.item));
        EXPECT_EQ(f.s.state.soundCardID, c.cardId) << c.item;
        EXPECT_EQ(f.checkedItem(), c.item);
    }
    EXPECT_TRUE(f.s.logMessages().empty()) << "the choice is only recorded";
}

TEST(SoundCardMenu, SetupOpensTheDialogAndTheNoteHasNoHandler) {
    MenuFixture f;
    EXPECT_TRUE(f.menu.handle(Id::SoundSetup));
    EXPECT_EQ(f.setupRuns, 1);
    EXPECT_FALSE(f.menu.handle(Id::SoundNote));
    EXPECT_FALSE(f.menu.handle(Id::ModePsk31));
    EXPECT_EQ(f.s.state.soundCardID, kSoundCardNone);
}

TEST(SoundCardMenu, TheCardItemsAreGrayedWhileTheTransmitterIsOn) {
    MenuFixture f;
    f.s.window.enableMenuItem(Id::SoundSetup, true);
    f.menu.EnableCardItems(false);
    for (int id = Id::SoundNone; id <= Id::SoundCard4; ++id) EXPECT_FALSE(f.s.window.menuItemEnabled(id)) << id;
    EXPECT_TRUE(f.s.window.menuItemEnabled(Id::SoundSetup));
    f.menu.EnableCardItems(true);
    for (int id = Id::SoundNone; id <= Id::SoundCard4; ++id) EXPECT_TRUE(f.s.window.menuItemEnabled(id)) << id;
}

TEST(SoundCardMenu, AStoredCardMapsToItsItemAndOtherValuesStayAsTheyAre) {
    struct Case { int stored; int item; int cardId; };
    for (Case c : {Case{-1, Id::SoundAuto, -1}, Case{1, Id::SoundCard1, 0}, Case{2, Id::SoundCard1 + 1, 1},
                   Case{4, Id::SoundCard4, 3}, Case{0, Id::SoundNone, 0}, Case{7, Id::SoundNone, 7},
                   Case{99, Id::SoundNone, 99}}) {
        MenuFixture f;
        f.menu.RestoreStoredCard(c.stored);
        EXPECT_EQ(f.checkedItem(), c.item) << c.stored;
        EXPECT_EQ(f.s.state.soundCardID, c.cardId) << c.stored;
    }
    MenuFixture f;
    f.s.state.soundCardID = 3;
    f.menu.RestoreNoStoredCard();
    EXPECT_EQ(f.checkedItem(), Id::SoundNone);
    EXPECT_EQ(f.s.state.soundCardID, kSoundCardNone);
}

TEST(SoundCardMenu, TheMenuListsItsItemsTopToBottom) {
    std::vector<int> ids;
    for (const SoundMenuItem& item : kSoundMenuItems) ids.push_back(item.commandId);
    EXPECT_EQ(ids, (std::vector<int>{32832, 0, 32811, 0, 32840, 32812, 32813, 32814, 32815, 32816}));
    EXPECT_STREQ(kSoundMenuItems[2].text, "No Sound (use RS-232 for data)");
    EXPECT_STREQ(kSoundMenuItems[4].text, "NOTE: Sound card disables RS-232 data transmission");
}

TEST(ToneText, TonesShowWithSixDecimalsAndReadAsTheLeadingNumber) {
    EXPECT_EQ(FormatTone(2125.0), "2125.000000");
    EXPECT_EQ(FormatTone(-170.0), "-170.000000");
    struct Case { std::string text; double hertz; };
    for (const Case& c : {Case{"2125", 2125.0}, Case{"2125.5", 2125.5}, Case{" 1275.25 Hz", 1275.25}, Case{"abc", 0.0},
                          Case{"", 0.0}, Case{"-85", -85.0}, Case{"nan", 0.0}, Case{"inf", 0.0}, Case{"1e999", 0.0},
                          Case{std::string(300, ' ') + "5", 0.0},
                          Case{"1" + std::string(254, '0') + "7", 1e254}})
        EXPECT_DOUBLE_EQ(ParseTone(c.text), c.hertz) << c.text.substr(0, 20);
    EXPECT_DOUBLE_EQ(ParseTone(std::string(255, '1') + "9"), ParseTone(std::string(255, '1')));
}
