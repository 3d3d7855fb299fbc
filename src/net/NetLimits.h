#pragma once
// The time and size limits of the network services, in one place so that a
// test can shorten the long waits (the program keeps these values) and bind
// its listeners to the loopback address only.

#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

struct NetLimits {
    // PollReceive: a session's look at its socket between other work.
    std::chrono::milliseconds pollWait{10};
    // WaitReceive and WaitReceiveSmtp: a client's silence that ends its turn.
    std::chrono::milliseconds receiveWait{60000};
    // WaitWritable: the admin session's pause before each character it shows.
    std::chrono::milliseconds writableWait{1};
    // An SMTP session as a whole, so a client trickling bytes cannot hold it for ever.
    std::chrono::milliseconds smtpSessionLimit{std::chrono::minutes(10)};
    // A telnet login as a whole, name and password, however its bytes are paced.
    std::chrono::milliseconds telnetLoginLimit{std::chrono::seconds(60)};
    // The Morse tick of a chat session's own keyer in CW mode.
    std::chrono::milliseconds morseTick{10};
    // Concurrent sessions of one service; a further connection is turned away.
    int sessionsPerService = 100;
    // Concurrent sessions of one service from one peer address, so one host
    // cannot take every place.
    int sessionsPerAddress = 10;
    // A larger message is refused as if the disk were full.
    std::size_t maxMessageBytes = 4u * 1024u * 1024u;
    // The listeners' local address, in host order.
    uint32_t bindAddress = INADDR_ANY;
    // A port still held (by the station's previous process, restarted) is
    // tried again this often, for this long.
    std::chrono::milliseconds bindRetryWait{5000};
    std::chrono::milliseconds bindRetryFor{60000};
};
