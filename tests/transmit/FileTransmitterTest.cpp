#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "app/CommandIds.h"
#include "support/TransmitFixture.h"

using namespace std::chrono_literals;

namespace {
constexpr char LTRS = 31;
constexpr char FIGS = 27;
}

TEST(FileTransmitter, SendsEveryModesRouteAndShowsTheCharacterOnTheAir) {
    TransmitFixture s;
    s.openPort();
    s.writeData("m.txt", "Ab 1\r\n");
    std::vector<std::pair<int, int>> selections;
    s.time.everyPump = [&] {
        s.air += s.pty.readAvailable(0);
        auto now = s.window.selection(Id::TextView);
        if (selections.empty() || selections.back() != now) selections.push_back(now);
    };
    s.state.shiftState = LTRS;
    s.station.files.TXFile("m.txt", kModeMilitary);
    EXPECT_EQ(s.air, (std::string{3, 25, 4, FIGS, 23, 8, 8, 2, LTRS}));
    EXPECT_EQ(s.window.text(Id::FileName), "m.txt");
    EXPECT_EQ(s.window.text(Id::TextView), "AB 1\r\n") << "shown in upper case, line ends as they are";
    EXPECT_EQ(s.window.text(Id::SendQueueCount), "");
    ASSERT_GE(selections.size(), 6u);
    EXPECT_EQ(selections[0], std::make_pair(0, 1));
    EXPECT_EQ(selections.back(), std::make_pair(5, 6)) << "byte i of the file is character i";
    EXPECT_EQ(s.state.txHistory.inOrder().substr(250), "AB 1\r\n");
    EXPECT_EQ(s.state.lineBusy, 0);

    s.air.clear();
    s.state.MODE = kModeAscii;
    s.station.files.TXFile("m.txt", kModeAscii);
    EXPECT_EQ(s.air, "Ab 1\r\n");
    EXPECT_EQ(s.window.text(Id::TextView), "Ab 1\r\n") << "ASCII keeps its case";
}

TEST(FileTransmitter, AnEmptyFileLogsItsSendingLineAndSendsNothing) {
    TransmitFixture s;
    s.openPort();
    s.writeData("empty.txt", "");
    s.window.setText(Id::SendQueueCount, "7");
    s.station.files.TXFile("empty.txt", kModeMilitary);
    EXPECT_EQ(s.logMessages().back(), "TXFile : Sending file <empty.txt>.");
    EXPECT_EQ(s.air, "");
    EXPECT_EQ(s.window.text(Id::SendQueueCount), "");
}

TEST(FileTransmitter, AMissingFileIsShownAndLogged) {
    TransmitFixture s;
    s.station.files.TXFile("gone.txt", kModeMilitary);
    EXPECT_EQ(s.window.text(Id::TextView), "[TXFile : Cannot open data/gone.txt input file.]");
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"[PrintFile :Cannot open data/gone.txt input file.]",
                                                         "[TXFile : Cannot open data/gone.txt input file.]"}));
}

// Mend: a folder opened as an empty file and was "sent"; a pipe's open
// waited for a writer.
TEST(FileTransmitter, AFolderOrAPipeIsNotAFileToSend) {
    TransmitFixture s;
    s.openPort();
    ::mkdir("data/badwords", 0777);
    ::mkfifo("data/pipe", 0666);
    for (const std::string name : {"badwords", "pipe"}) {
        s.station.files.TXFile(name, kModeMilitary);
        EXPECT_EQ(s.window.text(Id::TextView), "[TXFile : Cannot open data/" + name + " input file.]");
        EXPECT_FALSE(s.logged("TXFile : Sending file <" + name + ">."));
    }
    EXPECT_EQ(s.air, "");
}

// Mend: only the first 31998 bytes went out, so a long mail stopped mid-line
// without its end.
TEST(FileTransmitter, ALongFileIsSentWholeAPartAtATimeOnShowAndNothingAfterANul) {
    TransmitFixture s;
    s.openPort();
    s.state.MODE = kModeAscii;
    std::string mail;
    for (int line = 0; mail.size() < 70000; ++line) mail += "LINE " + std::to_string(line) + "\r\n";
    mail += "NNNN\r\n";
    s.writeData("long.txt", mail);
    std::vector<std::string> shownParts;
    s.time.everyPump = [&] {
        s.air += s.pty.readAvailable(0);
        std::string shown = s.window.text(Id::TextView);
        if (shownParts.empty() || shownParts.back() != shown) shownParts.push_back(shown);
    };
    s.station.files.TXFile("long.txt", kModeAscii);
    s.air += s.pty.readAvailable(0);
    EXPECT_EQ(s.air, mail);
    ASSERT_EQ(shownParts.size(), 3u);
    EXPECT_EQ(shownParts[0], mail.substr(0, 31998));
    EXPECT_EQ(shownParts[2], mail.substr(2 * 31998));
    int last = static_cast<int>(mail.size() - 2 * 31998) - 1;
    EXPECT_EQ(s.window.selection(Id::TextView), std::make_pair(last, last + 1));

    s.air.clear();
    s.writeData("nul.txt", std::string("ab\0cd", 5));
    s.station.files.TXFile("nul.txt", kModeAscii);
    EXPECT_EQ(s.air, "ab");
}

TEST(FileTransmitter, PauseHoldsAfterTheCurrentCharacterAndPsk31IdlesMeanwhile) {
    TransmitFixture s;
    s.state.MODE = kModePsk31;
    s.state.localLock = 1;
    s.writeData("p.txt", "abcdef");
    int pumps = 0;
    s.time.everyPump = [&] {
        s.psk.sendOne();
        ++pumps;
        if (s.psk.characters().size() == 2 && s.state.transferSend) s.station.session.CmPause();
        if (pumps == 400) s.station.session.CmResume();
    };
    s.station.files.TXFile("p.txt", kModePsk31);
    EXPECT_EQ(s.window.text(Id::SessionState), "RESUME");
    std::vector<int> sent = s.psk.characters();
    std::vector<int> letters;
    int idles = 0;
    for (int code : sent) (code == 0 ? ++idles : (letters.push_back(code), 0));
    EXPECT_EQ(letters, (std::vector<int>{'a', 'b', 'c', 'd', 'e', 'f'}));
    EXPECT_GT(idles, 10);
    EXPECT_EQ(sent[0], 'a');
    EXPECT_EQ(sent[1], 'b');
    EXPECT_EQ(sent[2], 0) << "paused after b";
    auto lines = s.logMessages();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "CmPause : Session PAUSED"), lines.end());
}

TEST(FileTransmitter, ChangingTheShownFileStopsTheHighlightingNotTheSending) {
    TransmitFixture s;
    s.openPort();
    s.state.MODE = kModeAscii;
    s.writeData("x.txt", "abcdef");
    s.time.everyPump = [&] {
        s.air += s.pty.readAvailable(0);
        if (s.air.size() == 2) s.window.setText(Id::FileName, "other.txt");
    };
    s.station.files.TXFile("x.txt", kModeAscii);
    EXPECT_EQ(s.air, "abcdef");
    EXPECT_LE(s.window.selection(Id::TextView).first, 2);
}

// Mend: a queue file waiting behind a long chat line held the window thread,
// and with it CANCEL and the station's close, for as long as the chat line lasted.
TEST(FileTransmitter, CancelEndsTheWaitForALineThatAChatLineHolds) {
    TransmitFixture s;
    s.openPort();
    s.writeData("x.txt", "abc");
    s.state.lineBusy = 1;
    int pumps = 0;
    s.time.everyPump = [&] {
        s.air += s.pty.readAvailable(0);
        // The close (or CANCEL) comes, and much later the chat line ends.
        if (++pumps == 50) s.state.transferCancel = 1;
        if (pumps == 5000) s.state.lineBusy = 0;
    };
    s.station.files.TXFile("x.txt", kModeMilitary);
    EXPECT_LT(pumps, 5000);
    EXPECT_EQ(s.state.lineBusy, 1) << "the file never took the line";
    EXPECT_EQ(s.air, "");
}

TEST(QueueFraming, CancelDuringTheHeaderSkipsTheFileAndTheFooter) {
    TransmitFixture s;
    s.openPort();
    s.state.headerEnable = 1;
    s.state.localLock = 1;
    s.writeData("header.txt", "HEADER TEXT");
    s.writeData("news.txt", "NEWS");
    s.writeData("footer.txt", "FOOTER");
    ::mkdir("data/approvedmoderatedwords", 0777);
    s.time.everyPump = [&] {
        s.air += s.pty.readAvailable(0);
        if (s.state.transmitOn && s.window.text(Id::FileName) == "header.txt" && s.window.text(Id::SendQueueCount) == "5")
            s.station.session.CmCancel();
    };
    s.station.framing.SendFramed("news.txt");
    EXPECT_EQ(s.state.transferCancel, 1);
    EXPECT_FALSE(s.logged("TXFile : Sending file <news.txt>."));
    EXPECT_FALSE(s.logged("TXFile : Sending file <footer.txt>."));
    EXPECT_TRUE(s.logged("CmCancel : Session CANCELED"));
    EXPECT_EQ(s.window.text(Id::SessionState), "CANCEL");
    EXPECT_EQ(s.state.scheduleEnable, 0);
}

TEST(SessionButtons, DoNothingWithoutASessionAndSwitchTheScheduler) {
    TransmitFixture s;
    s.station.session.CmPause();
    s.station.session.CmResume();
    s.station.session.CmCancel();
    EXPECT_TRUE(s.logMessages().empty());
    s.station.session.CmEnable();
    EXPECT_EQ(s.window.text(Id::SchedulerState), "ENABLE");
    EXPECT_EQ(s.state.scheduleEnable, 1);
    s.window.setText(Id::CountDown, "42");
    s.station.session.CmDisable();
    EXPECT_EQ(s.window.text(Id::CountDown), "");
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{"CmEnable : Scheduler ENABLED", "CmDisable : Scheduler DISABLED"}));
}

TEST(TransmitterControl, OnAndOffActOnceAndKeyTheLine) {
    TransmitFixture s;
    s.state.TxLine = Id::TxLineDtr;
    s.openPort();
    s.station.transmitter.CmTX();
    s.station.transmitter.CmTX();
    EXPECT_EQ(s.window.text(Id::TransmitState), "  ON  ");
    EXPECT_FALSE(s.window.menuItemEnabled(Id::SoundAuto));
    s.station.transmitter.CmRX();
    s.station.transmitter.CmRX();
    EXPECT_EQ(s.window.text(Id::TransmitState), "  OFF  ");
    EXPECT_TRUE(s.window.menuItemEnabled(Id::SoundAuto));
    EXPECT_EQ(s.driver.takeEvents(), (std::vector<std::string>{"DTR+", "DTR-"}));
    auto lines = s.logMessages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "CmTX : Transmitter ON"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "CmRX : Transmitter OFF"), 1);
    EXPECT_TRUE(s.sound->openedIds().empty()) << "no sound card";
}

TEST(TransmitterControl, SoundAndPsk31StartAndStopTheirOutputs) {
    TransmitFixture s;
    s.state.soundCardID = 1;
    s.station.transmitter.CmTX();
    s.station.router.SendCode(3);
    s.station.transmitter.CmRX();
    EXPECT_EQ(s.state.modPending.count(), 0);
    EXPECT_EQ(s.state.modulatorStop, 1);
    s.station.modulator.waitForEnd();
    EXPECT_EQ(s.sound->openedIds(), std::vector<int>{1}) << "the chosen card";

    s.state.MODE = kModePsk31;
    s.state.markTone = 1000.0;
    s.station.transmitter.CmTX();
    s.station.transmitter.CmRX();
    EXPECT_EQ(s.psk.calls(), (std::vector<std::string>{"Frequency 1000", "Start", "Flush", "Stop", "Flush", "Stop"}));
    EXPECT_FLOAT_EQ(s.state.pskFrequency, 1000.0f);
}

// Mend: off stopped only what the mode at that moment uses, so a mode
// changed while on left the tones or the PSK31 carrier going.
TEST(TransmitterControl, OffStopsWhatOnStartedWhenTheModeChangedBetween) {
    TransmitFixture s;
    s.state.soundCardID = 1;
    s.station.transmitter.CmTX();
    ASSERT_EQ(s.state.modulatorStop, 0);
    s.state.MODE = kModePsk31;
    s.station.transmitter.CmRX();
    EXPECT_EQ(s.state.modulatorStop, 1) << "the tones stop";
    s.station.modulator.waitForEnd();

    s.station.transmitter.CmTX();
    s.state.MODE = kModeCw;
    s.station.transmitter.CmRX();
    EXPECT_EQ(s.psk.calls(), (std::vector<std::string>{"Flush", "Stop", "Flush", "Stop", "Frequency 2125", "Start",
                                                       "Flush", "Stop", "Flush", "Stop"}))
        << "PSK31's own off sequence first, then the carrier that was started stops";
}

// Mend: in PSK31 without a card that can send, the diddle filled a queue
// that never drained and the window waited in it for ever.
TEST(TransmitterControl, DiddleIntoALibraryThatCannotSendKeepsTheWindowGoingUntilOff) {
    TransmitFixture s;
    s.state.MODE = kModePsk31;
    s.state.diddleEnable = 1;
    s.psk.canSend = false;
    long pumps = 0;
    s.time.everyPump = [&] {
        if (++pumps == 50) s.station.transmitter.CmRX();
    };
    s.station.transmitter.CmTX();
    EXPECT_EQ(s.state.transmitOn, 0);
    EXPECT_TRUE(s.psk.characters().empty());
    auto lines = s.logMessages();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind("SendCode : the PSK31 library", 0) == 0; }),
              1);
}

TEST(TransmitterControl, IdleSequencesSendLettersShiftsButSilenceInAscii) {
    TransmitFixture s;
    s.openPort();
    auto start = s.clock.now();
    s.station.transmitter.SendIdleSequence(1, 2, 1);
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(s.clock.now() - start);
    EXPECT_GE(took, 2000ms);
    EXPECT_LE(took, 4000ms);
    ASSERT_FALSE(s.air.empty());
    EXPECT_EQ(s.air, std::string(s.air.size(), LTRS));
    s.air.clear();
    s.state.MODE = kModeAscii;
    s.station.transmitter.SendIdleSequence(0, 2, 0);
    EXPECT_EQ(s.air, "");
}
