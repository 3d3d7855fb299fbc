#pragma once
// The framing of a queue file: transmitter on, the preamble of carrier and
// letters shifts, header, file, footer, the postamble, and then the approved
// messages swept into the queue. Every step reads transferCancel afresh, so a
// CANCEL during the header skips the file and the footer. Window thread.

#include <string>

class FileTransmitter;
class MessageQueueing;
class TimerControl;
class TransmitterControl;
class Waits;
struct ProgramState;

class QueueFileSender {
public:
    struct Parts {
        ProgramState& state;
        Waits& waits;
        TransmitterControl& transmitter;
        FileTransmitter& files;
        TimerControl& timers;
        MessageQueueing& messages;
    };

    explicit QueueFileSender(const Parts& parts) : p_(parts) {}

    void SendFramed(const std::string& name);

private:
    void sendUnlessCancelled(const std::string& name, bool onlyWithHeader);

    Parts p_;
};
