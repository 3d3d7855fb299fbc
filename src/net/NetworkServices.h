#pragma once
// The station's four TCP services (SMTP on two ports, telnet chat, telnet
// admin): StartNetworkServices starts a listener for each enabled one and
// reports the disabled ones; the sessions they start store mail, put chat
// lines and admin characters on the air, and list their users. Owns the
// listeners, the live sessions, the chat-user list and the message store.
// Started and stopped on the window thread.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "net/ChatUserList.h"
#include "net/Listener.h"
#include "net/MessageScreening.h"
#include "net/MessageStore.h"
#include "net/NetLimits.h"
#include "net/SessionRegistry.h"
#include "net/WindowThreadCall.h"

class CallPoster;
class CharacterEncoder;
class Clock;
class Controls;
class EventLog;
class MessageQueueing;
class OutputRouter;
class SerialLine;
class TransmitQueue;
class TransmitterControl;
class Waits;
struct ProgramState;

class NetworkServices {
public:
    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        const Clock& clock;
        Waits& waits;
        CallPoster& poster;
        CharacterEncoder& encoder;
        OutputRouter& router;
        TransmitterControl& transmitter;
        SerialLine& line;
        TransmitQueue& queue;
        MessageQueueing& messages;
    };

    explicit NetworkServices(const Parts& parts);
    ~NetworkServices() { Stop(); }
    NetworkServices(const NetworkServices&) = delete;
    NetworkServices& operator=(const NetworkServices&) = delete;

    // Before StartNetworkServices only.
    void setLimits(const NetLimits& limits);
    // Once, at start-up; returns at once.
    void StartNetworkServices();
    // Ends the listeners and every session, pumping the window thread's
    // messages until the sessions have finished what they were doing there.
    // The station's waits close down with them.
    void Stop();

    ChatUserList& chatUsers() { return users_; }
    MessageStore& store() { return store_; }
    const std::string& hostName() const { return hostName_; }

private:
    void applyListenAddress();
    void startListener(int index, int port);
    void runSession(int index, SessionSocket& socket, const std::string& address);

    Parts p_;
    NetLimits limits_;
    std::string hostName_;
    std::atomic<bool> stopping_{false};
    SessionRegistry sessions_;
    ChatUserList users_;
    MessageScreening screening_;
    WindowThreadCall windowCall_;
    MessageStore store_;
    std::vector<std::unique_ptr<Listener>> listeners_;
};
