#include "support/MailClient.h"

#include "support/NetFixture.h"

using namespace std::chrono_literals;

MailClient::MailClient(NetFixture& fixture, int port, std::function<void()> pump)
    : s(fixture), client(port), pump(std::move(pump)) {
    greeting = client.readUntil("\r\n", this->pump);
    client.take();
}

std::string MailClient::envelope() {
    client.send("HELO tester\r\nMAIL FROM:<joe@example.com>\r\nRCPT TO:<kova@station.example>\r\n");
    std::string replies = client.readUntil("Recipient OK\r\n", pump);
    client.take();
    return replies;
}

void MailClient::startData() {
    client.send("DATA\r\n");
    client.readUntil("354 Send Data\r\n", pump);
    client.take();
}

std::string MailClient::data(const std::vector<std::string>& pieces) {
    startData();
    for (const std::string& piece : pieces) {
        client.send(piece);
        s.time.runFor(200ms);
    }
    std::string reply = client.readUntil("\r\n", pump);
    client.take();
    return reply;
}

std::string StoredReply(const std::string& name) { return "250 message succesfully stored as \"" + name + "\"\r\n"; }
