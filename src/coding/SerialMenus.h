#pragma once
// The ComPort, BAUD_Rate, Mode, TU_Setup and Dovetron menus: each keeps its
// radio group checked and the serial port in step with the chosen setting.
// Window thread only.

class Controls;
class EventLog;
class Psk31Library;
class SerialLine;
struct ProgramState;

class SerialMenus {
public:
    SerialMenus(ProgramState& state, SerialLine& line, Psk31Library& psk, EventLog& log, Controls& window)
        : state_(state), line_(line), psk_(psk), log_(log), window_(window) {}

    // A command id of any of the five menus; false when it is none of theirs.
    bool handle(int commandId);

    void ChooseComPort(int commandId);
    void ChooseBaud(int commandId);
    void ChooseMode(int commandId);
    void ChooseTxLine(int commandId);
    void ChooseDovetronSource(int commandId);

private:
    void choosePsk31();
    void reopenPort();

    ProgramState& state_;
    SerialLine& line_;
    Psk31Library& psk_;
    EventLog& log_;
    Controls& window_;
};
