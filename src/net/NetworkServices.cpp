#include "net/NetworkServices.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <algorithm>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "net/AdminSession.h"
#include "net/MailSpool.h"
#include "net/ChatSession.h"
#include "net/SessionSocket.h"
#include "net/SmtpSession.h"
#include "platform/Waits.h"

namespace {

enum ServiceIndex { kSmtpPrimary, kSmtpSecondary, kChat, kAdmin };

struct ServiceRow {
    const char* threadName;
    const char* connectName;
    const char* disabledLine;
    // The chat-user list's row when the service is not offered.
    const char* disabledRow;
};

// In the order in which they start.
constexpr ServiceRow kServices[] = {
    {"MTServerThread1", "SMTP E-Mail", "SMTP Port Number 1 disabled", nullptr},
    {"MTServerThread2", "SMTP E-Mail", "SMTP Port Number 2 disabled", nullptr},
    {"MTServerThread3", "Telent Chat Server", "KOVA Telnet Port disabled", "CHAT DISABLED"},
    {"MTServerThread4", "Telent ADMIN Chat Server", "Admin Telnet Port disabled", "ADMIN DISABLED"},
};

std::string machineHostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}

}  // namespace

NetworkServices::NetworkServices(const Parts& parts)
    : p_(parts),
      hostName_(machineHostName()),
      sessions_(limits_.sessionsPerService, limits_.sessionsPerAddress),
      users_(parts.log, parts.window, sessions_),
      screening_(parts.state, parts.log, parts.window),
      windowCall_(parts.poster, stopping_),
      store_({parts.state, parts.log, parts.clock, screening_, windowCall_, parts.messages, limits_}) {}

void NetworkServices::setLimits(const NetLimits& limits) {
    limits_ = limits;
    sessions_.setLimits(limits.sessionsPerService, limits.sessionsPerAddress);
}

void NetworkServices::StartNetworkServices() {
    MailSpool::RemoveLeftovers(p_.log);
    applyListenAddress();
    const int ports[] = {p_.state.SMTP_Port_Number1, p_.state.SMTP_Port_Number2, p_.state.KOVATelnetPortNumber,
                         p_.state.KOVAAdminPortNumber};
    for (int index = kSmtpPrimary; index <= kAdmin; ++index) {
        const ServiceRow& row = kServices[index];
        if (ports[index] != 0) {
            startListener(index, ports[index]);
            continue;
        }
        p_.log.write(row.disabledLine);
        if (row.disabledRow != nullptr) users_.showDisabled(row.disabledRow);
    }
}

// An address the operator named but that cannot be one keeps the services
// on this machine: a typing error never opens them to every network.
void NetworkServices::applyListenAddress() {
    const std::string text = p_.state.KOVAListenAddress.get();
    if (text.empty()) return;
    in_addr address{};
    if (::inet_pton(AF_INET, text.c_str(), &address) == 1) {
        limits_.bindAddress = ntohl(address.s_addr);
        p_.log.writef("Network services listen on %s only", text.c_str());
        return;
    }
    limits_.bindAddress = INADDR_LOOPBACK;
    p_.log.writef("KOVAListenAddress \"%s\" is not an IPv4 address, network services listen on 127.0.0.1 only",
                  text.c_str());
}

void NetworkServices::startListener(int index, int port) {
    std::atomic<int32_t>* listenSockets[] = {&p_.state.smtpListenSocket1, &p_.state.smtpListenSocket2,
                                             &p_.state.chatListenSocket, &p_.state.adminListenSocket};
    const bool smtp = index == kSmtpPrimary || index == kSmtpSecondary;
    ListenerService service{index, kServices[index].threadName, kServices[index].connectName,
                            smtp ? "421 " + hostName_ + " Too many connections, try again later\r\n"
                                 : std::string("Too many users connected, please try again later\r\n")};
    auto listener = std::make_unique<Listener>(
        service, port, *listenSockets[index], p_.log, sessions_, limits_,
        [this, index](SessionSocket& socket, const std::string& address) { runSession(index, socket, address); });
    listener->start();
    listeners_.push_back(std::move(listener));
}

void NetworkServices::runSession(int index, SessionSocket& socket, const std::string& address) {
    if (index == kSmtpPrimary || index == kSmtpSecondary) {
        SmtpSession session({p_.state, p_.log, store_, limits_, hostName_}, socket,
                            index == kSmtpPrimary ? SmtpSession::kPrimary : SmtpSession::kSecondary);
        session.Run();
        return;
    }
    TelnetParts parts{p_.state,       p_.log,  p_.window, p_.clock, p_.waits, p_.encoder, p_.router,
                      p_.transmitter, p_.line, p_.queue,  users_,   limits_,  stopping_};
    if (index == kChat) ChatSession(parts, socket, address).Run();
    else AdminSession(parts, socket, address).Run();
}

// Threads that are ending may still wait for the window thread (a log line,
// a control, the queue), so it pumps until they are done; a session inside a
// transmission comes out of its waits at once.
void NetworkServices::Stop() {
    if (stopping_.exchange(true)) return;
    p_.waits.closeDown();
    for (auto& listener : listeners_) listener->requestStop();
    auto listening = [this] {
        return std::any_of(listeners_.begin(), listeners_.end(), [](const auto& listener) { return !listener->ended(); });
    };
    while (listening()) p_.waits.PumpMessages();
    for (auto& listener : listeners_) listener->join();
    sessions_.shutdownAll();
    while (sessions_.live() > 0) p_.waits.PumpMessages();
    sessions_.join(true);
}
