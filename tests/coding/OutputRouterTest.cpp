#include <gtest/gtest.h>

#include <cstdlib>

#include "app/CommandIds.h"
#include "support/PseudoTerminal.h"
#include "support/StationFixture.h"

namespace {
// The router asks only whether a modulator exists; any address will do.
CProcThread* someModulator() {
    static int stand_in;
    return reinterpret_cast<CProcThread*>(&stand_in);
}
}  // namespace

TEST(HandOverQueue, TheNinetyNinthSlotIsReplacedWhenFull) {
    HandOverQueue queue;
    for (int code = 1; code <= 99; ++code) queue.append(code);
    queue.append(500);
    EXPECT_EQ(queue.count(), 99);
    for (int expected = 1; expected <= 98; ++expected) EXPECT_EQ(queue.takeFirst(), expected);
    EXPECT_EQ(queue.takeFirst(), 500);
    EXPECT_EQ(queue.count(), 0);
    EXPECT_EQ(queue.takeFirst(), 0) << "an empty queue gives an idle frame";
}

TEST(OutputRouter, WithNoOutputTheCodeIsLostAtOnce) {
    StationFixture s;
    EXPECT_EQ(s.router.SendCode(25), 25);
    EXPECT_EQ(s.pump.calls, 0);
    EXPECT_TRUE(s.psk.characters().empty());
    EXPECT_EQ(s.state.modPending.count(), 0);
}

TEST(OutputRouter, Psk31TakesEveryCodeAndKeepsAtMostThreeWaiting) {
    StationFixture s;
    s.state.MODE = kModePsk31;
    s.state.soundCardID = kSoundCardNone;
    s.state.modulator = someModulator();
    s.pump.onPump = [&] { s.psk.sendOne(); };
    for (int code : {'H', 'E', 'L', 'L', 'O', ' ', 'P', 'S', 'K'}) s.router.SendCode(code);
    EXPECT_EQ(s.psk.characters(), (std::vector<int>{'H', 'E', 'L', 'L', 'O', ' ', 'P', 'S', 'K'}));
    EXPECT_EQ(s.psk.maxPendingSeen(), 3);
    EXPECT_GT(s.pump.calls, 0);
    EXPECT_EQ(s.state.modPending.count(), 0);
}

// Mend: with no card open (PSK31 restored from the snapshot) the library's
// queue never drained, and SendCode waited on it for ever.
TEST(OutputRouter, APsk31LibraryThatCannotSendIsGivenUpWithOneLogLinePerRun) {
    StationFixture s;
    s.state.MODE = kModePsk31;
    s.psk.canSend = false;
    s.router.SendCode('C');
    s.router.SendCode('Q');
    ASSERT_TRUE(s.psk.characters().empty());
    for (int code : {' ', 'C', 'Q', 'K'}) s.router.SendCode(code);
    s.router.SendPskIdle();
    EXPECT_TRUE(s.psk.characters().empty());
    const std::string refusal =
        "SendCode : the PSK31 library cannot send (no sound card open, or it failed); codes are dropped";
    EXPECT_EQ(s.logMessages(), std::vector<std::string>{refusal});

    s.psk.canSend = true;
    s.pump.onPump = [&] { s.psk.sendOne(); };
    s.router.SendCode('K');
    EXPECT_EQ(s.psk.characters(), std::vector<int>{'K'});
    s.psk.canSend = false;
    s.router.SendCode('X');
    EXPECT_EQ(s.logMessages(), (std::vector<std::string>{refusal, refusal})) << "a new run is logged again";

    // A card that fails while a code waits for room ends the wait.
    s.psk.FlushQueue();
    s.psk.canSend = true;
    s.pump.onPump = [&] { s.psk.canSend = false; };
    for (int code : {'a', 'b', 'c', 'd'}) s.router.SendCode(code);
    EXPECT_EQ(s.psk.characters(), (std::vector<int>{'K', 'a', 'b', 'c'}));
}

TEST(OutputRouter, SoundCardRouteWaitsUntilTheModulatorTookThePreviousCode) {
    StationFixture s;
    s.state.soundCardID = 0;
    s.state.modulator = someModulator();
    s.router.SendCode(3);
    EXPECT_EQ(s.state.modPending.count(), 1) << "no modulator thread yet: the code stays pending";

    std::vector<int> taken;
    s.pump.onPump = [&] { taken.push_back(s.state.modPending.takeFirst()); };
    s.router.SendCode(25);
    EXPECT_EQ(taken, std::vector<int>{3});
    EXPECT_EQ(s.state.modPending.takeFirst(), 25);
}

TEST(OutputRouter, SoundCardWithoutModulatorFallsToTheSerialRoute) {
    StationFixture s;
    s.state.soundCardID = 0;
    s.router.SendCode(3);
    EXPECT_EQ(s.state.modPending.count(), 0);
}

TEST(OutputRouter, ADeadPortEndsTheWriteWithOneLogLine) {
    StationFixture s;
    PseudoTerminal pty;
    ::setenv("TARVIK_COM1", pty.slavePath().c_str(), 1);
    s.menus.ChooseComPort(Id::ComDisabled);
    s.menus.ChooseComPort(Id::Com1);
    pty.closeMaster();
    s.router.SendCode(5);
    auto messages = s.logMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("SendCode : write to \"COM1\" failed: ", 0), 0u) << messages.back();
    s.line.CloseCommPort();
    ::unsetenv("TARVIK_COM1");
}

TEST(Waits, CountTicksWhilePumpingAndResetTheirCounter) {
    StationFixture s;
    s.state.timerTick = 7;
    s.state.morseTick = 9;
    s.waits.WaitSeconds(0);
    s.waits.WaitTicks(-1);
    EXPECT_EQ(s.state.timerTick, 0);
    EXPECT_EQ(s.state.morseTick, 0);
    EXPECT_EQ(s.pump.calls, 0);

    s.pump.onPump = [&] { ++s.state.timerTick; };
    s.waits.WaitSeconds(3);
    EXPECT_EQ(s.pump.calls, 3);

    s.pump.onPump = [&] { s.state.morseTick += 2; };
    s.waits.WaitTicks(5);
    EXPECT_EQ(s.state.morseTick, 6);
}
