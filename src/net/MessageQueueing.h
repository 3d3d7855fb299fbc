#pragma once
// Hands stored messages to the transmit queue: a message file of the data
// folder is listed in schedule_temp.lst (unless autostart), so that a restart
// queues it again, and goes in through Add File; and after every queue file
// the messages an operator approved are moved out of approvedmoderatedwords
// and queued. Window thread; session threads have the window thread run
// QueueStoredMessage for them.

#include <string>

class Controls;
class EventLog;
class ScheduleReader;
class SessionControl;
class TransmitQueue;
struct ProgramState;

class MessageQueueing {
public:
    MessageQueueing(ProgramState& state, EventLog& log, Controls& window, TransmitQueue& queue,
                    ScheduleReader& schedule, SessionControl& session)
        : state_(state), log_(log), window_(window), queue_(queue), schedule_(schedule), session_(session) {}

    // False, and nothing queued, when the message could not be listed. The
    // list reaches the disk at once, or, for a caller that syncs it itself
    // away from the window thread (SyncList), later.
    bool QueueStoredMessage(const std::string& name, bool syncList = true);
    // Puts the lines listed so far on the disk. Any thread.
    bool SyncList() const;
    void SweepApprovedFolder();

private:
    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    TransmitQueue& queue_;
    ScheduleReader& schedule_;
    SessionControl& session_;
};
