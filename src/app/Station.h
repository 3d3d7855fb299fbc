#pragma once
// The station assembled: every subsystem built once, in the order in which
// each needs the others, on the platform parts that the program (Qt, termios,
// ALSA) or a test (fakes, simulated time) provides. Owns them all.

#include <functional>
#include <memory>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "coding/OutputRouter.h"
#include "coding/SerialLine.h"
#include "coding/SerialMenus.h"
#include "config/InitializationFile.h"
#include "net/MessageQueueing.h"
#include "net/NetworkServices.h"
#include "net/RecipientMenu.h"
#include "platform/Waits.h"
#include "sound/CSound.h"
#include "sound/ModulatorControl.h"
#include "sound/SoundCardMenu.h"
#include "transmit/ControlMenus.h"
#include "transmit/CwIdentification.h"
#include "transmit/FileTransmitter.h"
#include "transmit/MacroExpander.h"
#include "transmit/MorseKeyer.h"
#include "transmit/QueueFileSender.h"
#include "transmit/ScheduleReader.h"
#include "transmit/ScriptCommands.h"
#include "transmit/SessionControl.h"
#include "transmit/StandaloneTransmission.h"
#include "transmit/TimerControl.h"
#include "transmit/TransmitCycle.h"
#include "transmit/TransmitQueue.h"
#include "transmit/TransmitterControl.h"

class CallPoster;
class Clock;
class Controls;
class EventPump;
class Psk31Library;
class SerialDriver;
class WindowTimers;

struct StationPlatform {
    Controls& window;
    const Clock& clock;
    EventPump& pump;
    WindowTimers& timers;
    CallPoster& poster;
    SerialDriver& serialDriver;
    // Ends the program: -1 for a port that cannot be opened, 0 without timers.
    std::function<void(int exitCode)> exitProgram;
    // Shows the sound card frequency dialog (window code).
    std::function<void()> runSoundSetup = {};
    // The sound devices; empty for the real ones (ALSA or a WAV file).
    CSound::DeviceFactory soundDevices = {};
    // A PSK31 library of the caller's; null for the station's own on the sound devices.
    Psk31Library* psk = nullptr;
};

class Station {
public:
    Station(ProgramState& state, const StationPlatform& platform);
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    ProgramState& state;
    StationPlatform platform;
    EventLog log;
    Waits waits;
    std::unique_ptr<Psk31Library> ownPsk;
    Psk31Library& psk;
    SerialLine line;
    OutputRouter router;
    SerialMenus serialMenus;
    // Each sends through the other: the filter's 5-bit texts go through the
    // encoder, which passes every character through the filter first.
    MacroExpander macros;
    CharacterEncoder encoder;
    TimerControl timerControl;
    MorseKeyer morse;
    SoundCardMenu soundMenu;
    ModulatorControl modulator;
    TransmitterControl transmitter;
    SessionControl session;
    FileTransmitter files;
    CwIdentification cwid;
    StandaloneTransmission standalone;
    TransmitQueue queue;
    ScheduleReader schedule;
    MessageQueueing messages;
    InitializationFile ini;
    ScriptCommands scripts;
    QueueFileSender framing;
    TransmitCycle cycle;
    ControlMenus controlMenus;
    RecipientMenu recipients;
    // Last, so its sessions end before anything they use goes.
    NetworkServices network;
};
