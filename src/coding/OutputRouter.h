#pragma once
// The single exit of every code: to the PSK31 library, to the modulator's
// hand-over, or to the serial port. SendCode returns when the output has taken
// the code, pumping messages meanwhile, so the window, the buttons and the
// clock go on inside a transmission. Runs on the window thread and on session
// threads.

#include <atomic>
#include <chrono>
#include <cstdint>

class EventLog;
class Psk31Library;
class SerialLine;
class Waits;
struct ProgramState;

class OutputRouter {
public:
    // At most this many characters wait in the PSK31 library.
    static constexpr int kPskQueueLimit = 2;

    OutputRouter(ProgramState& state, EventLog& log, Waits& waits, Psk31Library& psk, SerialLine& line)
        : state_(state), log_(log), waits_(waits), psk_(psk), line_(line) {}

    int SendCode(int code);
    void HandOver(int code);
    // PSK31's idle character (a pause in a file, before each chat character),
    // queued and waited for as a code is.
    void SendPskIdle();

private:
    struct SerialPace {
        // The driver may hold fewer bytes than this when SendCode returns.
        int held;
        std::chrono::microseconds rest;
    };
    SerialPace serialPace() const;
    std::chrono::microseconds characterTime() const;
    // Pause and CANCEL answer within this while a code waits for the modulator.
    static constexpr std::chrono::milliseconds kLongestModulatorRest{80};
    bool pskCanSend();
    void sendToPsk(int code);
    void sendToModulator(int code);
    bool worthWaitingForModulator() const;
    void sendToSerial(int code);

    ProgramState& state_;
    EventLog& log_;
    Waits& waits_;
    Psk31Library& psk_;
    SerialLine& line_;
    std::atomic<bool> pskRefusing_{false};
};
