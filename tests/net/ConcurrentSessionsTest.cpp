// Sessions on their own threads and the window thread working the same
// station at once: a chat user, an admin user and the file transmitter on one
// line, and mail deliveries while the schedule reloads its lists and words.
// Run under ThreadSanitizer as well.

#include <gtest/gtest.h>

#include <algorithm>
#include <future>

#include "platform/FileSystem.h"
#include "support/CodingFixture.h"
#include "support/NetFixture.h"
#include "support/SmtplibDelivery.h"
#include "support/TelnetUser.h"
#include "support/TempDir.h"

using namespace std::chrono_literals;

namespace {

std::string withoutLetter(std::string text, char letter) {
    text.erase(std::remove(text.begin(), text.end(), letter), text.end());
    return text;
}

}  // namespace

TEST(Concurrent, ChatAdminAndTheFileTransmitterShareTheLine) {
    NetFixture s;
    s.state.shiftState = 31;
    s.startServices();
    s.openPort();
    WriteBinaryFile("data/news.txt", "NEWS AT TEN FROM THE COAST STATION\r\n");
    TelnetUser desk(s, s.chatPort, "desk"), boss(s, s.adminPort, "boss");

    desk.type("hello there\r\n");
    boss.type("qq");
    s.station.files.TXFile("news.txt", kModeMilitary);
    ASSERT_TRUE(desk.readUntil("DESK::  HELLO THERE").find("DESK::  HELLO THERE") != std::string::npos);
    auto admins = [&] {
        std::string air = PrintedAir(s.air);
        return std::count(air.begin(), air.end(), 'Q');
    };
    ASSERT_TRUE(s.time.runUntil([&] { return s.state.lineBusy == 0 && admins() >= 2; }, 10s));

    // The admin's characters go out as typed, wherever they fall; the chat
    // line and the file each hold the line for the whole of their text.
    std::string air = PrintedAir(s.air);
    EXPECT_EQ(admins(), 2) << air;
    std::string text = withoutLetter(air, 'Q');
    EXPECT_NE(text.find("NEWS AT TEN FROM THE COAST STATION"), std::string::npos) << air;
    EXPECT_NE(text.find("DESK::  HELLO THERE"), std::string::npos) << air;
}

TEST(Concurrent, DeliveriesWhileTheScheduleReloadsAreAllKept) {
    NetFixture s;
    s.state.KOVAUseSubjectFileName = 1;
    WriteBinaryFile("Tarvik.ini", "KOVAMODERATEDWORD=\"Contest\"\r\n");
    s.station.ini.ReloadModeratedWords();
    s.startServices();

    constexpr int kClients = 3, kEach = 2;
    std::vector<std::future<std::vector<std::string>>> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.push_back(std::async(std::launch::async, [&s, c] {
            std::vector<std::string> replies;
            for (int m = 0; m < kEach; ++m) {
                std::string subject = "Bulletin " + std::to_string(c) + std::to_string(m);
                std::string body = m == 0 ? "Contest results follow.\n" : "Weather for the coast.\n";
                replies.push_back(SmtplibDelivery(c % 2 ? s.smtpPort2 : s.smtpPort1,
                                                  "Subject: " + subject + "\n\n" + body));
            }
            return replies;
        }));
    }
    auto delivering = [&] {
        return std::any_of(clients.begin(), clients.end(),
                           [](auto& client) { return client.wait_for(0s) != std::future_status::ready; });
    };
    int reloads = 0;
    for (auto end = std::chrono::steady_clock::now() + 60s; delivering() && std::chrono::steady_clock::now() < end;) {
        s.station.scripts.RunScriptCommand("RELOAD");
        ++reloads;
        s.time.runFor(50ms);
    }
    ASSERT_FALSE(delivering());
    EXPECT_GT(reloads, 1);

    s.station.scripts.RunScriptCommand("RELOAD");
    std::vector<std::string> queued = s.queueEntries();
    for (int c = 0; c < kClients; ++c) {
        std::vector<std::string> replies = clients[c].get();
        for (int m = 0; m < kEach; ++m) {
            std::string name = "Bulletin_" + std::to_string(c) + std::to_string(m) + ".txt";
            EXPECT_EQ(replies[m], SmtplibStored(name));
            bool moderated = m == 0;
            EXPECT_EQ(FileExists("data/moderatedwords/" + name), moderated) << name;
            bool inQueue = std::any_of(queued.begin(), queued.end(), [&](const std::string& entry) {
                return entry.size() > name.size() && entry.substr(entry.size() - name.size()) == name;
            });
            EXPECT_EQ(inQueue, !moderated) << name << ::testing::PrintToString(queued);
        }
    }
    EXPECT_EQ(queued.size(), static_cast<std::size_t>(kClients * (kEach - 1))) << ::testing::PrintToString(queued);
}
