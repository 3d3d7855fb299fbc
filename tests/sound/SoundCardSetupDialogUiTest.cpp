#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "app/ProgramState.h"
#include "sound/SoundCardSetupDialog.h"

namespace {

std::string textOf(SoundCardSetupDialog& dialog, int id) { return dialog.edit(id)->text().toStdString(); }

void press(SoundCardSetupDialog& dialog, int buttonId) {
    auto* button = dialog.findChild<QPushButton*>(QString::number(buttonId));
    ASSERT_NE(button, nullptr);
    button->click();
}

}  // namespace

TEST(SoundCardSetupDialog, ShowsTheTonesAndTheirShiftAsTheyWereOnOpening) {
    ProgramState state;
    SoundCardSetupDialog dialog(state);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Sound Card Frequency Setup");
    EXPECT_EQ(textOf(dialog, 1105), "2125.000000");
    EXPECT_EQ(textOf(dialog, 1104), "2295.000000");
    EXPECT_EQ(textOf(dialog, 1107), "170.000000");
    EXPECT_TRUE(dialog.edit(1107)->isReadOnly());
    dialog.edit(1105)->setText("2000");
    EXPECT_EQ(textOf(dialog, 1107), "170.000000") << "SHIFT is not updated while typing";

    state.markTone = 2295.0;
    state.spaceTone = 2125.0;
    SoundCardSetupDialog swapped(state);
    EXPECT_EQ(textOf(swapped, 1107), "-170.000000");
}

TEST(SoundCardSetupDialog, OkStoresBothTonesAndCancelNothing) {
    struct Case { std::string mark, space; double storedMark, storedSpace; };
    for (const Case& c : {Case{"1275", "1445.5", 1275.0, 1445.5}, Case{"MARK", "2295", 0.0, 2295.0},
                          Case{"2295 Hz", "2125", 2295.0, 2125.0}}) {
        ProgramState state;
        SoundCardSetupDialog dialog(state);
        dialog.edit(1105)->setText(QString::fromStdString(c.mark));
        dialog.edit(1104)->setText(QString::fromStdString(c.space));
        dialog.edit(1107)->setText("999");
        press(dialog, 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_DOUBLE_EQ(state.markTone, c.storedMark) << c.mark;
        EXPECT_DOUBLE_EQ(state.spaceTone, c.storedSpace) << c.space;
    }
    ProgramState state;
    SoundCardSetupDialog dialog(state);
    dialog.edit(1105)->setText("1000");
    dialog.edit(1104)->setText("1170");
    press(dialog, 2);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_DOUBLE_EQ(state.markTone, 2125.0);
    EXPECT_DOUBLE_EQ(state.spaceTone, 2295.0);
}
