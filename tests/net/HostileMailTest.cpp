// What a stranger's mail can make the station do, tried with real clients:
// subjects that would be script commands, messages set aside beside the
// operator's files, names in another letter case, a full data folder,
// control bytes for the operator's terminal, and a client that reads a
// QUIT's reply as Python's smtplib does.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/FileSystem.h"
#include "support/LoopbackClient.h"
#include "support/MailClient.h"
#include "support/NetFixture.h"
#include "support/SmtplibDelivery.h"
#include "support/StoredFiles.h"

using namespace std::chrono_literals;

namespace {

std::string deliver(NetFixture& s, const std::string& message) {
    return s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, message); });
}

std::vector<std::string> queuedNames(NetFixture& s) {
    std::vector<std::string> names;
    for (const std::string& entry : s.queueEntries()) names.push_back(entry.substr(20));
    return names;
}

const std::string kBadWordReply(const std::string& name) {
    return "250 message \"" + name + "\" not sent because of bad word violation\n";
}

}  // namespace

TEST(HostileMail, ASubjectNeverBecomesAScriptCommand) {
    NetFixture s;
    s.startServices();
    EXPECT_EQ(deliver(s, "Subject: /TX\n\nkey it\n"), SmtplibStored("_TX.txt"));
    EXPECT_EQ(deliver(s, "Subject: *ASCII\n\nswitch it\n"), SmtplibStored("_ASCII.txt"));
    EXPECT_EQ(deliver(s, "Subject: =?utf-8?q?=2FRX?=\n\nencoded\n"), SmtplibStored("_RX.txt"));
    // Each new message goes to the head of the queue.
    EXPECT_EQ(queuedNames(s), (std::vector<std::string>{"_RX.txt", "_ASCII.txt", "_TX.txt"}));
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "_TX.txt\r\n_ASCII.txt\r\n_RX.txt\r\n");

    // On the air they are texts like any other, and the line stays as it was.
    s.station.session.CmEnable();
    ASSERT_TRUE(s.waitLogged("Completed sending <_TX.txt>.", 60s));
    EXPECT_EQ(s.state.MODE, kModeMilitary);
    EXPECT_TRUE(s.logged("Completed sending <_RX.txt>."));
}

TEST(HostileMail, AMessageSetAsideLeavesTheFileOfItsSubjectAsItWas) {
    NetFixture s;
    s.state.badWords.replace({"DARN"});
    s.state.moderatedWords.replace({"POLITICS"});
    WriteBinaryFile("data/News.txt", "THE OPERATOR'S BULLETIN\r\n");
    s.startServices();

    EXPECT_EQ(deliver(s, "Subject: News\n\ndarn it\n"), kBadWordReply("News.txt"));
    EXPECT_EQ(deliver(s, "From: " + std::string(100, 'x') + "\nSubject: News\n\nlong sender\n"),
              "250 message \"News.txt\" not sent because of line length greater than 72\n");
    EXPECT_EQ(deliver(s, "Subject: News\n\npolitics today\n"), SmtplibStored("News.txt"));
    EXPECT_EQ(ReadBinaryFile("data/News.txt"), "THE OPERATOR'S BULLETIN\r\n");
    EXPECT_NE(ReadBinaryFile("data/moderatedwords/News.txt").find("politics today"), std::string::npos);
    EXPECT_NE(ReadBinaryFile("data/badwords/News.txt").find("long sender"), std::string::npos);
    EXPECT_TRUE(s.queueEntries().empty());

    // A message that passes is the station's way to renew a bulletin.
    EXPECT_EQ(deliver(s, "Subject: News\n\nrenewed\n"), SmtplibStored("News.txt"));
    EXPECT_EQ(ReadBinaryFile("data/News.txt"), "Subject: News\r\n\r\r\nrenewed\r\r\nNNNN\r\r\n");
    EXPECT_EQ(queuedNames(s), std::vector<std::string>{"News.txt"});
    std::vector<std::string> files = DataFiles();
    EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const std::string& f) { return f.rfind("E_", 0) == 0; }), 0)
        << "no date-time file is left behind";
}

TEST(HostileMail, NamesCompareWithoutLetterCase) {
    NetFixture s;
    WriteBinaryFile("data/news.txt", "OLD NEWS\r\n");
    s.startServices();
    // The file the schedule names keeps its name; no second spelling appears.
    EXPECT_EQ(deliver(s, "Subject: NEWS\n\nfresh\n"), SmtplibStored("news.txt"));
    EXPECT_EQ(ReadBinaryFile("data/news.txt"), "Subject: NEWS\r\n\r\r\nfresh\r\r\nNNNN\r\r\n");

    EXPECT_EQ(deliver(s, "Subject: Report\n\none\n"), SmtplibStored("Report.txt"));
    EXPECT_EQ(deliver(s, "Subject: REPORT\n\ntwo\n"), kBadWordReply("Report.txt"));
    EXPECT_EQ(deliver(s, "Subject: report\n\nthree\n"), kBadWordReply("Report.txt"));
    EXPECT_EQ(queuedNames(s), (std::vector<std::string>{"Report.txt", "news.txt"}));
    EXPECT_NE(ReadBinaryFile("data/Report.txt").find("one"), std::string::npos);
    std::vector<std::string> files = DataFiles();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Report.txt", "news.txt", "schedule_temp.lst"}));

    // The station's own files in any spelling.
    WriteBinaryFile("data/cwid.txt", "DE TEST\r\n");
    std::string reply = deliver(s, "Subject: CWID\n\nnot an identification\n");
    EXPECT_EQ(reply.substr(0, 39), "250 message succesfully stored as \"E_20") << reply;
    EXPECT_EQ(ReadBinaryFile("data/cwid.txt"), "DE TEST\r\n");
}

TEST(HostileMail, AFullDataFolderRefusesMailBeforeItsData) {
    NetFixture s;
    s.state.KOVAMaxDataMB = 1;
    MakeFolder("data/badwords");
    WriteBinaryFile("data/badwords/flood.txt", std::string(1024 * 1024 + 1, 'x'));
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    t.envelope();
    t.client.send("DATA\r\n");
    EXPECT_EQ(t.client.readToEnd(s.pump()), kNoStorageReply);
    EXPECT_TRUE(s.logged("Data folder holds 1 MB, more than KOVAMaxDataMB 1: mail refused"));
    EXPECT_EQ(DataFiles(), std::vector<std::string>{});

    RemoveFile("data/badwords/flood.txt");
    EXPECT_EQ(deliver(s, "Subject: Room again\n\nhello\n"), SmtplibStored("Room_again.txt"));
}

TEST(HostileMail, ControlBytesFromClientsReachTheLogEscaped) {
    NetFixture s;
    s.startServices();
    MailClient t(s, s.smtpPort1, s.pump());
    for (const char* line : {"HELO \x1b]0;owned\x07\x1b[2J\r\n", "MAIL FROM:<a\x1b[31m@b>\r\n", "QUIT\r\n"}) {
        t.client.send(line);
        t.client.readUntil("\r\n", s.pump());
        t.client.take();
    }
    ASSERT_TRUE(s.waitLogged("Ending connection"));
    auto loggedWith = [&](const std::string& text) {
        std::vector<std::string> messages = s.logMessages();
        return std::any_of(messages.begin(), messages.end(),
                           [&](const std::string& m) { return m.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(s.logged("SMTP E-Mail Received from [helo ^[]0;owned^G^[[2j]")) << ::testing::PrintToString(s.logMessages());
    EXPECT_TRUE(loggedWith("mail from: a^[[31m@b")) << ::testing::PrintToString(s.logMessages());
    EXPECT_EQ(ReadBinaryFile(s.station.log.todaysFileName()).find('\x1b'), std::string::npos);
}

TEST(HostileMail, SmtplibReadsTheQuitReplyAsSuccess) {
    NetFixture s;
    s.startServices();
    // Leaving the with-block sends QUIT and raises unless the reply is 221.
    std::string program = R"(import smtplib
with smtplib.SMTP('127.0.0.1', PORT, local_hostname='tester', timeout=30) as s:
    s.sendmail('joe@example.com', ['kova@station.example'], 'Subject: Once\n\nonly once\n')
print('delivered')
)";
    program.replace(program.find("PORT"), 4, std::to_string(s.smtpPort1));
    EXPECT_EQ(s.whilePumping([&] { return RunPython(program).output; }), "delivered\n");
    EXPECT_EQ(queuedNames(s), std::vector<std::string>{"Once.txt"});
}
