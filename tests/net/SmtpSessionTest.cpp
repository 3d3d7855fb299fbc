// The SMTP dialogue spoken byte for byte over the loopback address: the
// greeting and replies of both variants, errors that end a session, several
// commands in one chunk, recipients, and silent or slow clients.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/LoopbackClient.h"
#include "support/NetFixture.h"

using namespace std::chrono_literals;

namespace {

struct SmtpDialogue {
    explicit SmtpDialogue(NetFixture& fixture, int port) : s(fixture), client(port) {
        greeting = client.readUntil("\r\n", s.pump());
        client.take();
    }
    // Sends `line` and reads until `replies` line ends have come (or the end).
    std::string say(const std::string& line, int replies = 1) {
        client.send(line);
        std::string got;
        for (auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;) {
            got = client.readUntil("\r\n", s.pump(), 10ms);
            if (std::count(got.begin(), got.end(), '\n') >= replies || client.peerClosed()) break;
        }
        return client.take();
    }
    NetFixture& s;
    LoopbackClient client;
    std::string greeting;
};

}  // namespace

TEST(SmtpSession, GreetsAndAnswersHeloOnBothPorts) {
    NetFixture s;
    s.startServices();
    const std::string host = s.station.network.hostName();
    for (int port : {s.smtpPort1, s.smtpPort2}) {
        SmtpDialogue d(s, port);
        EXPECT_EQ(d.greeting, "220 " + host + " Simple Mail Transfer Service Ready\r\n");
        EXPECT_EQ(d.say("HELO client.example\r\n"), "250 " + host + "\r\n");
        EXPECT_EQ(d.say("ehlo other\r\n"), "250 " + host + "\r\n");
        EXPECT_EQ(d.say("MAIL FROM:<Joe@Example.com>\r\n"), "250 Ready to Receive\r\n");
        EXPECT_EQ(d.say("QUIT\r\n"), "221 goodby, have a nice day\r\n");
        d.client.readToEnd(s.pump());
        EXPECT_TRUE(d.client.peerClosed());
    }
    EXPECT_TRUE(s.logged("SMTP E-Mail Received from [helo client.example]"));
    EXPECT_TRUE(s.logged("mail from: joe@example.com "));
    EXPECT_TRUE(s.logged("221 goodby, have a nice day"));
    EXPECT_TRUE(s.logged("Ending connection"));
}

TEST(SmtpSession, TheVariantsDifferInNoopAutoRecipientAndTheRecipientLog) {
    NetFixture s;
    s.startServices();
    SmtpDialogue primary(s, s.smtpPort1), secondary(s, s.smtpPort2);
    EXPECT_EQ(primary.say("NOOP\r\n"), "250\r\n");
    EXPECT_EQ(secondary.say("NOOP\r\n"), "502 command [noop] not implemented\r\n");
    EXPECT_EQ(primary.say("X-AUTO-RCPT:<Desk@x>\r\n"), "250 X-AUTO-RCPT OK\r\n");
    EXPECT_EQ(secondary.say("X-AUTO-RCPT:<Desk@x>\r\n"), "502 command [x-auto-rcpt:] not implemented\r\n");
    EXPECT_TRUE(s.logged("X-AUTO-RCPT:<desk@x>"));
    EXPECT_TRUE(s.logged("502 command [noop] not implemented"));

    EXPECT_EQ(primary.say("RCPT TO:<kova@station.example>\r\n"), "250 Recipient OK\r\n");
    EXPECT_EQ(s.logMessages().back(), "RCPT TO:<kova@station.example>");
    EXPECT_EQ(secondary.say("RCPT TO:<news.Kova@station.example>\r\n"), "250 Recipient OK\r\n");
    ASSERT_TRUE(s.waitLogged("250 Recipient OK"));
    EXPECT_EQ(s.logMessagesFrom("RCPT TO:<news.kova@station.example>"),
              (std::vector<std::string>{"RCPT TO:<news.kova@station.example>", "250 Recipient OK"}));
}

TEST(SmtpSession, SixErrorsEndTheSession) {
    NetFixture s;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(d.say("VRFY x\r\n"), "502 command [vrfy] not implemented\r\n");
    EXPECT_EQ(d.say("VRFY x\r\n", 2),
              "502 command [vrfy] not implemented\r\n500 Too many command syntax errors, I quit!\r\n");
    d.client.readToEnd(s.pump());
    EXPECT_TRUE(d.client.peerClosed());
    EXPECT_TRUE(s.waitLogged("500 Too many command syntax errors, I quit!"));

    SmtpDialogue other(s, s.smtpPort2);
    EXPECT_EQ(other.say("bogus\r\n"), "502 command [] not implemented\r\n");
}

TEST(SmtpSession, ARejectedRecipientEndsTheSessionAfterItsChunk) {
    NetFixture s;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    EXPECT_EQ(d.say("RCPT TO:<bob@example.com>\r\nNOOP\r\n", 3),
              "550 No such user here\r\n250\r\n500 Too many command syntax errors, I quit!\r\n");
    d.client.readToEnd(s.pump());
    EXPECT_TRUE(d.client.peerClosed());
    EXPECT_TRUE(s.waitLogged("RCPT TO:<bob@example.com> has been rejected"));
}

TEST(SmtpSession, AnswersEveryCommandOfAChunkInOrder) {
    NetFixture s;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    EXPECT_EQ(d.say("RSET\r\nNOOP\r\n", 2), "250 Reset\r\n250\r\n");
    EXPECT_TRUE(s.logged("250 Reset RSET"));
    // A line split across two receives is two lines.
    EXPECT_EQ(d.say("NO"), "502 command [] not implemented\r\n");
    EXPECT_EQ(d.say("OP\r\n"), "502 command [] not implemented\r\n");
    EXPECT_EQ(d.say("QUIT\r\nNOOP\r\n", 2), "221 goodby, have a nice day\r\n250\r\n");
    d.client.readToEnd(s.pump());
    EXPECT_TRUE(d.client.peerClosed());
}

TEST(SmtpSession, DataWithoutARecipientEndsTheSession) {
    NetFixture s;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    EXPECT_EQ(d.say("RCPT TO:<kova@x>\r\nRSET\r\nDATA\r\n", 3),
              "250 Recipient OK\r\n250 Reset\r\n452  Requested action not taken: improper protocol sequence, no CMDRCPT\r\n");
    d.client.readToEnd(s.pump());
    EXPECT_TRUE(d.client.peerClosed());
}

TEST(SmtpSession, ASilentClientIsToldAndDisconnected) {
    NetFixture s;
    s.limits.receiveWait = 300ms;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    EXPECT_EQ(d.client.readToEnd(s.pump()), "552 Requested mail action aborted: exceeded timeout\r\n");
    ASSERT_TRUE(s.waitLogged("Ending connection"));
    EXPECT_EQ(s.logMessagesFrom("Socket Closed while Waiting for first Helo (or timeout)"),
              (std::vector<std::string>{"Socket Closed while Waiting for first Helo (or timeout)", "Ending connection"}));
}

TEST(SmtpSession, AClientTricklingCommandsIsEndedAtTheSessionLimit) {
    NetFixture s;
    s.limits.smtpSessionLimit = 600ms;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    auto start = std::chrono::steady_clock::now();
    std::string replies;
    while (!d.client.peerClosed() && std::chrono::steady_clock::now() - start < 5s) replies += d.say("NOOP\r\n");
    EXPECT_TRUE(d.client.peerClosed());
    EXPECT_NE(replies.find("250\r\n552 Requested mail action aborted: exceeded timeout\r\n"), std::string::npos);
}

TEST(SmtpSession, AClientPipeliningWithoutPauseIsEndedAtTheSessionLimit) {
    NetFixture s;
    s.limits.smtpSessionLimit = 600ms;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    // Commands of 8 bytes: the session's 512-byte receives never split one.
    std::string batch;
    for (int i = 0; i < 64; ++i) batch += "NOOP  \r\n";
    // A sender of its own keeps commands waiting at every look the session takes.
    std::atomic<bool> sending{true};
    std::thread sender([&] {
        while (sending) d.client.send(batch);
    });
    auto start = std::chrono::steady_clock::now();
    while (!d.client.peerClosed() && std::chrono::steady_clock::now() - start < 10s) {
        d.client.readUntil("\n", s.pump(), 10ms);
        d.client.take();
    }
    sending = false;
    sender.join();
    // Its unread commands may reset the connection before the 552 is read.
    EXPECT_TRUE(d.client.peerClosed());
    EXPECT_TRUE(s.waitLogged("Ending connection"));
    EXPECT_FALSE(s.logged("500 Too many command syntax errors, I quit!"));
}

TEST(SmtpSession, ASilentTransferEndsWithTheTimeoutReply) {
    NetFixture s;
    s.limits.receiveWait = 300ms;
    s.startServices();
    SmtpDialogue d(s, s.smtpPort1);
    EXPECT_EQ(d.say("RCPT TO:<kova@x>\r\nDATA\r\n", 2), "250 Recipient OK\r\n354 Send Data\r\n");
    d.client.send("Subject: never ended\r\n\r\nbody\r\n");
    EXPECT_EQ(d.client.readToEnd(s.pump()), "552 Requested mail action aborted: exceeded timeout\r\n");
    ASSERT_TRUE(s.waitLogged("Ending connection"));
    std::vector<std::string> tail = s.logMessagesFrom("Socket Unexpectedly Closed while Storing Temp Data File");
    ASSERT_EQ(tail.size(), 4u);
    EXPECT_EQ(tail[1].substr(0, 22), "451 Log file \"data\\E_2");
    EXPECT_EQ(tail[2], "452  Requested action not completed: socket probably closed or timeout");
    EXPECT_EQ(tail[3], "Ending connection");
}
