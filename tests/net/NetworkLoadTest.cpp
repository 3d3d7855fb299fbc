// The network services under load: sessions admitted at a service's limit
// still served after the connections turned away, fifty mail clients
// trickling their transfers while the queue goes on the air and a new client
// delivers, and a hundred chat users at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <future>
#include <memory>

#include "net/SessionSocket.h"
#include "platform/FileSystem.h"
#include "support/CodingFixture.h"
#include "support/MailClient.h"
#include "support/NetFixture.h"
#include "support/StoredFiles.h"
#include "support/TelnetUser.h"

using namespace std::chrono_literals;

namespace {

constexpr char kLtrs = 31;

std::vector<std::string> listedNames(NetFixture& s) {
    std::vector<std::string> names;
    for (int i = 0; i < s.window.rowCount(Id::ChatUserList); ++i) names.push_back(s.window.row(Id::ChatUserList, i)[0]);
    std::sort(names.begin(), names.end());
    return names;
}

// The station with COM1 on the pseudo-terminal, the line in letters shift.
struct OnTheAir : NetFixture {
    OnTheAir() {
        state.shiftState = kLtrs;
        // Every test client comes from 127.0.0.1: the load is the service's, not one host's.
        limits.sessionsPerAddress = limits.sessionsPerService;
        openPort();
    }
};

}  // namespace

TEST(LoadAtTheLimit, AdmittedMailClientsDeliverAfterTheRefusals) {
    constexpr int kLimit = 3;
    NetFixture s;
    s.limits.sessionsPerService = kLimit;
    s.startServices();
    std::vector<std::unique_ptr<MailClient>> admitted;
    for (int i = 0; i < kLimit; ++i) admitted.push_back(std::make_unique<MailClient>(s, s.smtpPort1, s.pump()));
    for (int i = 0; i < 5; ++i) {
        LoopbackClient turnedAway(s.smtpPort1);
        EXPECT_EQ(turnedAway.readToEnd(s.pump()).substr(0, 4), "421 ");
    }
    // The limit is the service's: the other port still takes a client.
    MailClient secondPort(s, s.smtpPort2, s.pump());
    EXPECT_EQ(secondPort.greeting.substr(0, 4), "220 ");

    for (int i = 0; i < kLimit; ++i) {
        MailClient& client = *admitted[static_cast<std::size_t>(i)];
        const std::string number = std::to_string(i);
        EXPECT_EQ(client.greeting.substr(0, 4), "220 ");
        client.envelope();
        EXPECT_EQ(client.data({"Subject: Admitted " + number + "\r\n\r\nafter the refusals\r\n.\r\n"}),
                  StoredReply("Admitted_" + number + ".txt"));
        EXPECT_EQ(ReadBinaryFile("data/Admitted_" + number + ".txt"),
                  "Subject: Admitted " + number + "\r\n\r\r\nafter the refusals\r\r\nNNNN\r\r\n");
        client.client.send("QUIT\r\n");
        EXPECT_EQ(client.client.readToEnd(s.pump()), "221 goodby, have a nice day\r\n");
    }
    EXPECT_EQ(s.queueEntries().size(), static_cast<std::size_t>(kLimit));
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "Admitted_0.txt\r\nAdmitted_1.txt\r\nAdmitted_2.txt\r\n");
    EXPECT_TRUE(s.time.runUntil([&] { return s.timesLogged("Ending connection") == kLimit; }, 5s));
}

TEST(LoadAtTheLimit, AdmittedChatUsersReachTheAirAfterTheRefusals) {
    OnTheAir s;
    s.limits.sessionsPerService = 2;
    s.startServices();
    TelnetUser desk(s, s.chatPort, "desk"), observer(s, s.chatPort, "obs");
    for (int i = 0; i < 3; ++i) {
        LoopbackClient turnedAway(s.chatPort);
        EXPECT_EQ(turnedAway.readToEnd(s.pump()), "Too many users connected, please try again later\r\n");
    }
    desk.type("after the refusals\r\n");
    EXPECT_EQ(observer.readUntil("REFUSALS\r\n"), "\n\rDESK::  AFTER THE REFUSALS\r\n");
    ASSERT_TRUE(s.time.runUntil([&] { return s.state.lineBusy == 0; }, 10s));
    EXPECT_EQ(PrintedAir(s.air), "DESK::  AFTER THE REFUSALS");
}

namespace {

constexpr int kSlowClients = 50;

// Fifty clients taken into their transfers on a thread of their own, then a
// byte from each every second until stopped.
class SlowClients {
public:
    explicit SlowClients(NetFixture& s) : heard_(std::async(std::launch::async, [this, &s] { return run(s); })) {}
    // A test that ends early still lets the thread finish.
    ~SlowClients() {
        going_ = false;
        if (heard_.valid()) heard_.wait();
    }
    SlowClients(const SlowClients&) = delete;
    SlowClients& operator=(const SlowClients&) = delete;

    int inTransfer() const { return inTransfer_; }
    int rounds() const { return rounds_; }
    // Ends the trickle; what each client heard after its "354", once the station has closed it.
    std::vector<std::string> stop() {
        going_ = false;
        return heard_.get();
    }

private:
    std::vector<std::string> run(NetFixture& s) {
        auto rest = [] { std::this_thread::sleep_for(1ms); };
        std::vector<std::unique_ptr<MailClient>> clients;
        auto lastByte = std::chrono::steady_clock::now();
        auto trickle = [&] {
            for (auto& slow : clients) slow->client.send("x");
            lastByte = std::chrono::steady_clock::now();
        };
        for (int i = 0; i < kSlowClients && going_; ++i) {
            clients.push_back(std::make_unique<MailClient>(s, s.smtpPort1, rest));
            clients.back()->envelope();
            clients.back()->startData();
            ++inTransfer_;
            // The first ones keep trickling while a slow machine admits the rest.
            if (std::chrono::steady_clock::now() - lastByte >= 1s) trickle();
        }
        while (going_) {
            trickle();
            ++rounds_;
            std::this_thread::sleep_for(1s);
        }
        std::vector<std::string> heard;
        for (auto& slow : clients) heard.push_back(slow->client.readToEnd(rest));
        return heard;
    }

    std::atomic<bool> going_{true};
    std::atomic<int> inTransfer_{0};
    std::atomic<int> rounds_{0};
    std::future<std::vector<std::string>> heard_;
};

}  // namespace

TEST(LoadSlowClients, FiftyTricklingTransfersHoldNeitherTheAirNorANewClient) {
    OnTheAir s;
    // A byte a second never lets the silence that ends a turn pass; the
    // session limit stays far beyond the test.
    s.limits.receiveWait = 3s;
    s.limits.smtpSessionLimit = 60s;
    WriteBinaryFile("data/Bulletin.txt", "THE NET MEETS AT TEN\r\n");
    s.startServices();

    SlowClients slow(s);
    ASSERT_TRUE(s.time.runUntil([&] { return slow.inTransfer() == kSlowClients; }, 20s));

    s.window.setText(Id::FileBox, "Bulletin.txt");
    s.station.queue.AddFile();
    s.station.session.CmEnable();
    EXPECT_TRUE(s.waitLogged("Completed sending <Bulletin.txt>.", 20s));
    EXPECT_NE(PrintedAir(s.air).find("THE NET MEETS AT TEN"), std::string::npos) << PrintedAir(s.air);

    MailClient fresh(s, s.smtpPort1, s.pump());
    EXPECT_EQ(fresh.greeting.substr(0, 4), "220 ");
    fresh.envelope();
    EXPECT_EQ(fresh.data({"Subject: Meanwhile\r\n\r\nstill served\r\n.\r\n"}), StoredReply("Meanwhile.txt"));
    // At least four bytes from each after all were admitted, without one cut off.
    EXPECT_TRUE(s.time.runUntil([&] { return slow.rounds() >= 4; }, 10s));
    EXPECT_EQ(s.timesLogged("Socket Unexpectedly Closed while Storing Temp Data File"), 0)
        << "the slow transfers are all still held";

    // Silent at last, each slow client loses its turn and nothing of it is kept.
    std::vector<std::string> heard = s.whilePumping([&] { return slow.stop(); });
    EXPECT_EQ(heard, std::vector<std::string>(kSlowClients, SessionSocket::kTimeoutReply));
    EXPECT_TRUE(s.time.runUntil(
        [&] { return s.timesLogged("Socket Unexpectedly Closed while Storing Temp Data File") == kSlowClients; }, 10s));
    std::vector<std::string> files = DataFiles();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Bulletin.txt", "Meanwhile.txt", "schedule_temp.lst"}));
    EXPECT_EQ(ReadBinaryFile("data/schedule_temp.lst"), "Meanwhile.txt\r\n");
    EXPECT_EQ(SpoolFiles(), std::vector<std::string>{}) << "every spool file is removed";
}

namespace {

// "opaa", "opab", ... : names of letters only, which the line prints as typed.
std::string userName(int i) { return std::string("op") + static_cast<char>('a' + i / 26) + static_cast<char>('a' + i % 26); }

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

TEST(LoadChat, AHundredUsersLogInTalkAndLeave) {
    OnTheAir s;
    // Simulated time at ten times real time: a slow machine's minute of logins stays far from the idle limit.
    s.time.windowRest = 1ms;
    s.startServices();
    const int users = s.limits.sessionsPerService;
    ASSERT_EQ(users, 100) << "the program's own limit";
    std::vector<std::unique_ptr<TelnetUser>> logged;
    std::vector<std::string> names;
    for (int i = 0; i < users; ++i) {
        names.push_back(userName(i));
        logged.push_back(std::make_unique<TelnetUser>(s, s.chatPort, names.back()));
    }
    EXPECT_EQ(listedNames(s), names);

    const int talkers[] = {0, 41, 99};
    for (int i : talkers) logged[static_cast<std::size_t>(i)]->type("hello from " + names[static_cast<std::size_t>(i)] + "\r\n");
    auto lineOnTheAir = [&](int i) {
        const std::string name = upper(names[static_cast<std::size_t>(i)]);
        return PrintedAir(s.air).find(name + "::  HELLO FROM " + name) != std::string::npos;
    };
    EXPECT_TRUE(s.time.runUntil([&] { return std::all_of(std::begin(talkers), std::end(talkers), lineOnTheAir); }, 20s))
        << PrintedAir(s.air);
    TelnetUser& listener = *logged[50];
    for (int i : talkers) {
        const std::string name = upper(names[static_cast<std::size_t>(i)]);
        std::string shown = "\n\r" + name + "::  HELLO FROM " + name + "\r\n";
        EXPECT_NE(listener.readUntil(shown).find(shown), std::string::npos) << "every user sees each line: " << name;
    }

    for (auto& user : logged) user->client.close();
    EXPECT_TRUE(s.time.runUntil([&] { return s.window.rowCount(Id::ChatUserList) == 0; }, 20s))
        << "rows left behind: " << ::testing::PrintToString(listedNames(s));
    // Each session logs its end before it removes its row.
    auto ended = [&] {
        std::vector<std::string> messages = s.logMessages();
        return std::count_if(messages.begin(), messages.end(),
                             [](const std::string& message) { return message.rfind("Ending connection for [", 0) == 0; });
    };
    EXPECT_TRUE(s.time.runUntil([&] { return ended() == users; }, 10s)) << ended();
}
