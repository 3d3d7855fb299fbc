#pragma once
// The one program state of the station: the 35 fields of the settings record,
// the further process-wide flags, and the state that the window object kept.
// Every subsystem reads and writes the fields directly. The window thread writes
// most of them; session and modulator threads read and write some, so every
// number is an atomic and every text is stored whole under a small lock.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/HandOverQueue.h"
#include "app/SharedText.h"
#include "app/SharedValue.h"
#include "app/TxHistory.h"
#include "app/WordList.h"

class Controls;
class CProcThread;
class IntCharDict;

using Flag = std::atomic<int32_t>;
using Int = std::atomic<int32_t>;

// Line modes held in MODE.
enum LineMode : int32_t {
    kModeAscii = 0,
    kModeIta2 = 1,
    kModeTelex = 2,
    kModeMilitary = 3,
    kModePsk31 = 4,
    kModeCw = 5,
};

// soundCardID values with a meaning of their own; 0..3 are cards 1..4.
constexpr int32_t kSoundCardNone = 99;
constexpr int32_t kSoundCardAuto = -1;

constexpr int kCommPortCount = 8;
constexpr int kNoPortHandle = -1;

struct ProgramState {
    // --- Settings record, in snapshot order ---
    SharedText<10> m_CommPort{"NULL"};
    std::atomic<float> BAUD{45.45f};
    Int TxLine{32806};
    Int MODE{kModeMilitary};
    Int DATABITS{5};
    Int timerTick{0};
    Int morseTick{0};
    Int CWTimer{-1};
    Flag scheduleEnable{0};
    Flag transferCancel{0};
    Flag notSending{1};
    Flag transferSend{1};
    Flag sendNow{0};
    Flag localLock{0};
    Flag headerEnable{0};
    Flag KOVAAutoStart{0};
    Flag KOVASchedulerStartEnabled{0};
    Flag diddleEnable{0};
    Flag transmitOn{0};
    Flag sendBreakSignal{0};
    Flag checkNoTimer{1};
    Int soundCardID{kSoundCardNone};
    Flag cwTimerCheck{0};
    std::atomic<double> markTone{2125.0};
    std::atomic<double> spaceTone{2295.0};
    SharedText<32> ipAddress{"127.0.0.1"};
    SharedText<32> ipPort{"0"};
    SharedText<256> ipAuthentication{"-"};
    Int KOVAAutoLine72{0};
    Flag KOVAUseSubjectFileName{1};
    // The four ports stay 0 until the initialization file's first reading.
    Int SMTP_Port_Number1{0};
    Int SMTP_Port_Number2{0};
    SharedText<80> KOVAEmailAddress{"KOVA@"};
    Int KOVATelnetPortNumber{0};
    Int KOVAAdminPortNumber{0};
    // The operator's exposure controls: the one IPv4 address every service
    // binds to (empty: every address), and the size of the data folder
    // beyond which mail is refused (0: no limit).
    SharedText<64> KOVAListenAddress{""};
    Int KOVAMaxDataMB{0};

    // --- Further process-wide state ---
    Int stopBits{1};
    Flag schedulerEnableSetting{0};
    Flag internetLinkEnable{0};
    std::array<Int, kCommPortCount + 1> commPortAvailable{};
    SharedText<28> KOVACallsign{"None"};
    SharedText<60> cwIdText{""};
    SharedText<52> cwIdScriptLine{""};
    SharedText<48> spacedCallSign{""};
    // Empty: the admin session asks for no password.
    SharedText<256> KOVAAdminPassword{""};
    // The browser's service: its port (0: off), the one address it listens
    // on, and its password (empty: loopback only, no password asked).
    Int KOVAWebPort{8073};
    SharedText<64> KOVAWebAddress{"127.0.0.1"};
    SharedText<256> KOVAWebPassword{""};
    WordList badWords;
    WordList moderatedWords;
    WordList autoModeratedWords;
    std::atomic<Controls*> mainDialog{nullptr};
    std::atomic_flag logBusy = ATOMIC_FLAG_INIT;

    // --- State the window object kept ---
    Int commHandle{kNoPortHandle};
    Flag commOpen{0};
    SharedText<256> KOVADataPath{"data\\"};
    SharedText<256> scheduleListPath{""};
    SharedText<256> scheduleTempPath{""};
    SharedValue<std::shared_ptr<const IntCharDict>> intCharDict;
    std::atomic<uint32_t> sampleRate{8000};
    std::atomic<uint32_t> toneCenter{2210};

    // --- State whose meaning other subsystems own ---
    std::atomic<uint8_t> shiftState{0};
    std::atomic<uint8_t> lastCode{0};
    TxHistory txHistory;
    Flag lineBusy{0};
    std::atomic<uint8_t> macroPending{0};
    Int secondsUntilDue{0};
    std::atomic<float> pskFrequency{1500.0f};
    std::atomic<float> scheduleBaud{45.45f};
    std::atomic<float> scheduleCharTime{0.165f};
    std::atomic<int64_t> scheduleNextTime{0};
    std::atomic<int64_t> scheduleTagTime{0};
    Int smtpListenSocket1{-1};
    Int smtpListenSocket2{-1};
    Int chatListenSocket{-1};
    Int adminListenSocket{-1};
    std::atomic<uint8_t> echoMacroPending{0};
    Int softWrapColumn{0};
    std::atomic<CProcThread*> modulator{nullptr};
    Flag modulatorStop{1};
    // A modulator thread runs and takes codes (the current one's Running()).
    Flag modulatorRunning{0};
    HandOverQueue modPending;
    std::mutex modulatorLock;
    std::atomic<double> halfShift{85.0};
    std::atomic<double> tonePhase{0.0};
    std::atomic<float> editorBaud{45.45f};
    std::atomic<float> editorCharTime{0.165f};
    Flag editorReload{1};
    Flag autoTimeShown{1};
};

// A sound card is chosen: automatic or cards 1..4 (soundCardID below 5).
inline bool SoundCardSelected(const ProgramState& state) { return state.soundCardID < 5; }
