#pragma once
// RunScriptCommand: a '$' entry of the queue (or a MODE=/BAUD= value of the
// initialization file) carried out: line mode, speed, PSK31 frequency,
// transmitter, identification timer, header, diddle, serial port, reload.
// Keys are compared on their first characters in a fixed order. Window thread.

#include <string>

class CharacterEncoder;
class Controls;
class CwIdentification;
class EventLog;
class InitializationFile;
class ScheduleReader;
class SerialLine;
class SerialMenus;
class SessionControl;
class TransmitterControl;
struct ProgramState;

class ScriptCommands {
public:
    static constexpr float kLowestFrequency = 200.0f;

    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        SerialMenus& menus;
        SerialLine& line;
        TransmitterControl& transmitter;
        SessionControl& session;
        CwIdentification& cwid;
        InitializationFile& ini;
        CharacterEncoder& encoder;
        ScheduleReader& schedule;
    };

    explicit ScriptCommands(const Parts& parts) : p_(parts) {}

    // `text` is the command without its '$'.
    void RunScriptCommand(const std::string& text);

    // The FSK centre setting of $FSK=; kept, nothing uses it.
    float fskCenter() const { return fskCenter_; }

private:
    bool runModeCommand(const std::string& command);
    bool runTimerCommand(const std::string& command);
    bool runSwitchCommand(const std::string& command);
    bool runBaudCommand(const std::string& command);
    void changePort(const std::string& command);
    bool openNamedPort();
    void keepPreviousPort(const std::string& previous, bool previousOpen);
    void reload();

    Parts p_;
    float fskCenter_ = 0;
};
