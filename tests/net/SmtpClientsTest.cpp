// Real mail clients deliver to both SMTP ports: Python's smtplib and swaks.
// What they are told, the message file on disk, the queue and the folders
// the screening sends messages to.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <future>
#include <thread>

#include "platform/FileSystem.h"
#include "support/NetFixture.h"
#include "support/SmtplibDelivery.h"

using namespace std::chrono_literals;

namespace {

const std::string kMessage =
    "From: Joe_Bloggs <joe@example.com>\n"
    "To: Night_Desk!desk@kova.example\n"
    "Subject: Net Report: Monday\n"
    "Date: Wed, 09 Dec 2026 10:00:00 +0000\n"
    "Message-ID: <1@example.com>\n"
    "\n"
    "The net meets at ten.\n"
    ".A line with a dot\n";

}  // namespace

TEST(SmtpClients, SmtplibDeliversAMessageThatIsQueued) {
    NetFixture s;
    s.startServices();
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, kMessage); }), SmtplibStored("Net_Report$_Monday.txt"));
    EXPECT_EQ(ReadBinaryFile("data/Net_Report$_Monday.txt"),
              "From: Joe Bloggs <joe@example.com>\r\nTo: Night Desk\r\nSubject: Net Report: Monday\r\n"
              "Date: Wed, 09 Dec 2026 10:00:00 +0000\r\n\r\r\nThe net meets at ten.\r\n.A line with a dot\r\r\nNNNN\r\r\n");
    ASSERT_EQ(s.queueEntries().size(), 1u);
    EXPECT_EQ(s.queueEntries()[0].substr(20), "Net_Report$_Monday.txt");
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "Net_Report$_Monday.txt\r\n");
    EXPECT_TRUE(s.logged("StoreDataMessage : \"data\\Net_Report$_Monday.txt\" submitted to queue"));
    EXPECT_EQ(RunCommand("ls data_*.tmp 2>/dev/null | wc -l").output, "0\n") << "the spool file is removed";
}

TEST(SmtpClients, SwaksDeliversToBothPorts) {
    NetFixture s;
    s.startServices();
    for (int port : {s.smtpPort1, s.smtpPort2}) {
        std::string subject = "Swaks on " + std::to_string(port);
        ProcessResult result = s.whilePumping([&] {
            return RunCommand("swaks --server 127.0.0.1 --port " + std::to_string(port) +
                              " --to kova@station.example --from joe@example.com --helo tester --h-Subject '" +
                              subject + "' --body 'Hello from swaks' --hide-all");
        });
        EXPECT_EQ(result.status, 0) << result.output;
        std::string name = "Swaks_on_" + std::to_string(port) + ".txt";
        EXPECT_NE(ReadBinaryFile("data/" + name).find("\r\r\nHello from swaks\r\n"), std::string::npos)
            << ReadBinaryFile("data/" + name);
        EXPECT_TRUE(s.logged("StoreDataMessage : \"data\\" + name + "\" submitted to queue"));
    }
    EXPECT_EQ(s.queueEntries().size(), 2u);
}

TEST(SmtpClients, ARecipientWithoutTheMailboxIsRefused) {
    NetFixture s;
    s.startServices();
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort2, kMessage, "bob@example.com"); }),
              "refused 550 No such user here\n");
}

TEST(SmtpClients, ScreeningSendsMessagesToTheirFolders) {
    struct Case {
        std::string body;
        std::string reply;
        std::string file;
    };
    const Case cases[] = {
        {"Darn this weather\n", "250 message \"Words.txt\" not sent because of bad word violation\n", "data/badwords/Words.txt"},
        {"Politics today\n", SmtplibStored("Words.txt"), "data/moderatedwords/Words.txt"},
        {"Politics and the weather\n", SmtplibStored("Words.txt"), "data/Words.txt"},
        {"Nothing to see\n", SmtplibStored("Words.txt"), "data/Words.txt"},
    };
    for (const Case& c : cases) {
        NetFixture s;
        s.state.badWords.replace({"DARN"});
        s.state.moderatedWords.replace({"POLITICS"});
        s.state.autoModeratedWords.replace({"WEATHER"});
        s.startServices();
        EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Words\n\n" + c.body); }), c.reply);
        EXPECT_TRUE(FileExists(c.file)) << c.file;
        EXPECT_EQ(s.queueEntries().size(), c.file == "data/Words.txt" ? 1u : 0u) << c.body;
    }
}

TEST(SmtpClients, WithNoLineLimitEveryMessageIsTooLong) {
    NetFixture s;
    s.state.KOVAAutoLine72 = 0;
    s.startServices();
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Short\n\nhi\n"); }),
              "250 message \"Short.txt\" not sent because of line length greater than 0\n");
    EXPECT_TRUE(s.logged("ERROR - Line 1 has 14 characters, only 0 max are allowed"));
    EXPECT_TRUE(s.logged("Warning: File \"Short.txt\" moved to badwords directory"));
    EXPECT_EQ(ReadBinaryFile("data/badwords/Short.txt").substr(0, 21), "Subject: Short\r\n\r\r\nhi");
}

TEST(SmtpClients, ASubjectAlreadyQueuedIsSetAsideAndTheQueuedFileKept) {
    NetFixture s;
    s.startServices();
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Bulletin\n\nfirst\n"); }),
              SmtplibStored("Bulletin.txt"));
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Bulletin\n\nsecond\n"); }),
              "250 message \"Bulletin.txt\" not sent because of bad word violation\n");
    EXPECT_NE(ReadBinaryFile("data/Bulletin.txt").find("first"), std::string::npos);
    EXPECT_NE(ReadBinaryFile("data/badwords/Bulletin.txt").find("second"), std::string::npos);
    EXPECT_NE(ReadBinaryFile("data/badwords/Bulletin.txt").find("ERROR - Duplicate Message \"Bulletin.txt\" already in queue"),
              std::string::npos);
    EXPECT_EQ(s.queueEntries().size(), 1u);
    EXPECT_EQ(RunCommand("ls data | grep -c '^E_'").output, "0\n") << "no date-time file is left behind";
}

// The window thread busy: the first message is on its way to the queue but
// not in it when the second of its name is screened.
TEST(SmtpClients, AMessageOnItsWayToTheQueueCountsAsQueued) {
    NetFixture s;
    s.startServices();
    auto first = std::async(std::launch::async,
                            [&] { return SmtplibDelivery(s.smtpPort1, "Subject: Bulletin\n\nfirst\n"); });
    // Not s.waitLogged: it pumps, and the window thread would take the first into the queue.
    const std::string handedOver = "StoreDataMessage : \"data\\Bulletin.txt\" submitted to queue";
    for (int wait = 0; wait < 3000 && !s.logged(handedOver); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(s.logged(handedOver));
    // Not pumped: the second is screened while the first still waits for the window.
    EXPECT_EQ(SmtplibDelivery(s.smtpPort1, "Subject: Bulletin\n\nsecond\n"),
              "250 message \"Bulletin.txt\" not sent because of bad word violation\n");
    EXPECT_EQ(s.whilePumping([&] { return first.get(); }), SmtplibStored("Bulletin.txt"));
    EXPECT_NE(ReadBinaryFile("data/Bulletin.txt").find("first"), std::string::npos);
    EXPECT_NE(ReadBinaryFile("data/badwords/Bulletin.txt").find("second"), std::string::npos);
    EXPECT_EQ(s.queueEntries().size(), 1u);
}

TEST(SmtpClients, WithAutostartANewerMessageReplacesTheOlder) {
    NetFixture s;
    s.state.KOVAAutoStart = 1;
    s.startServices();
    s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Bulletin\n\nfirst\n"); });
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Bulletin\n\nsecond\n"); }),
              SmtplibStored("Bulletin.txt"));
    EXPECT_EQ(ReadBinaryFile("data/Bulletin.txt"), "Subject: Bulletin\r\n\r\r\nsecond\r\r\nNNNN\r\r\n");
    std::vector<std::string> messages = s.logMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "StoreDataMessage : \"data\\Bulletin.txt\" submitted to queue"), 2);
}

TEST(SmtpClients, TwoDeliveriesAtOnceAreBothStored) {
    for (int useSubject : {1, 0}) {
        NetFixture s;
        s.state.KOVAUseSubjectFileName = useSubject;
        s.startServices();
        auto [first, second] = s.whilePumping([&] {
            std::string body(20000, 'x');
            for (std::size_t i = 60; i < body.size(); i += 61) body[i] = '\n';
            auto one = std::async(std::launch::async, [&] {
                return SmtplibDelivery(s.smtpPort1, "Subject: One\n\n" + body, "kova@a");
            });
            std::string two = SmtplibDelivery(s.smtpPort2, "Subject: Two\n\n" + body, "kova@b");
            return std::make_pair(one.get(), two);
        });
        EXPECT_EQ(first.substr(0, 31), "250 message succesfully stored ") << first << ::testing::PrintToString(s.logMessages());
        EXPECT_EQ(second.substr(0, 31), "250 message succesfully stored ") << second;
        EXPECT_NE(first, second);
        EXPECT_EQ(s.queueEntries().size(), 2u);
    }
}

TEST(SmtpClients, TheScheduleReloadRenewsTheModeratedWords) {
    NetFixture s;
    s.startServices();
    std::ofstream("Tarvik.ini") << "KOVAMODERATEDWORD=\"Contest\"\r\n";
    s.station.scripts.RunScriptCommand("RELOAD");
    EXPECT_TRUE(s.logged("Reloading Moderated Words"));
    EXPECT_EQ(s.whilePumping([&] { return SmtplibDelivery(s.smtpPort1, "Subject: Words\n\nContest news\n"); }),
              SmtplibStored("Words.txt"));
    EXPECT_TRUE(FileExists("data/moderatedwords/Words.txt"));
    EXPECT_TRUE(s.logged("Warning: File \"Words.txt\" moved to moderatedwords directory"));
}
