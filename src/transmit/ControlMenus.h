#pragma once
// The Control and Test menus: the switches (Diddle, Header, Autostart, No
// Timer, Internet Link), the identification commands, the two test texts and
// the break signal. Window thread.

#include <atomic>
#include <cstdint>

class Controls;
class CwIdentification;
class EventLog;
class SerialLine;
class StandaloneTransmission;
class TransmitterControl;
class Waits;
struct ProgramState;

class ControlMenus {
public:
    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        Waits& waits;
        SerialLine& line;
        TransmitterControl& transmitter;
        CwIdentification& cwid;
        StandaloneTransmission& standalone;
    };

    explicit ControlMenus(const Parts& parts) : p_(parts) {}

    // A command id of the Control or Test menu; false when it is none of theirs.
    bool handle(int commandId);

    void SendTestText(const char* fileName);
    // 32824: the line held in the break condition until chosen again.
    void ToggleBreak();

private:
    void toggle(int commandId, std::atomic<int32_t>& flag);

    Parts p_;
};
