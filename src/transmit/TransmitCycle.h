#pragma once
// The unattended heart of the station. Every clock tick counts timerTick,
// shows the time and posts the cycle step, which (while the scheduler is
// enabled) looks at the head of the queue: when it is due it is taken off and
// run as a script command or sent as a framed file. Also the manual send of
// a selected entry. Window thread; the step runs re-entrantly inside the
// waits of a running transmission, where localLock keeps it from starting a
// second one.

#include <cstdint>
#include <ctime>
#include <string>

class CallPoster;
class Clock;
class Controls;
class CwIdentification;
class EventLog;
class QueueFileSender;
class ScriptCommands;
class SessionControl;
class StandaloneTransmission;
class TransmitQueue;
class TransmitterControl;
struct ProgramState;

class TransmitCycle {
public:
    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        const Clock& clock;
        CallPoster& poster;
        TransmitQueue& queue;
        ScriptCommands& scripts;
        TransmitterControl& transmitter;
        SessionControl& session;
        CwIdentification& cwid;
        StandaloneTransmission& standalone;
        QueueFileSender& framing;
    };

    explicit TransmitCycle(const Parts& parts) : p_(parts) {}

    // Timer 5: kept short, the rest of the tick is posted.
    void ClockTick();
    // The posted part: the queue step and the autostart rule.
    void CycleStep();
    void QueueTick(int64_t now);
    // 32770 "Send Selected  File".
    void OnManagequeueSendnextfile();
    // At shutdown: later ticks still count and show the time, but start nothing.
    void Stop() { stopped_ = true; }

    static std::string ClockText(const std::tm& local);

private:
    void sendQueueFile(const std::string& name);
    void endSession();

    Parts p_;
    bool stopped_ = false;
};
