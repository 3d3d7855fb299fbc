#include "support/SmtplibDelivery.h"

#include <atomic>
#include <fstream>

#include "support/MailClient.h"
#include "support/NetFixture.h"

std::string SmtplibDelivery(int port, const std::string& message, const std::string& to) {
    static std::atomic<int> deliveries{0};
    std::string file = "message" + std::to_string(++deliveries) + ".eml";
    std::string program = R"(import smtplib
s = smtplib.SMTP('127.0.0.1', )" + std::to_string(port) + R"(, local_hostname='tester', timeout=30)
s.ehlo('tester')
s.mail('joe@example.com')
code, text = s.rcpt(')" + to + R"(')
if code != 250:
    print('refused', code, text.decode())
else:
    code, text = s.data(open(')" + file + R"(', newline='').read())
    print(code, text.decode())
    s.quit()
)";
    std::ofstream(file, std::ios::binary) << message;
    return RunPython(program).output;
}

// smtplib's reply text ends in a bare line feed.
std::string SmtplibStored(const std::string& name) {
    std::string reply = StoredReply(name);
    return reply.replace(reply.size() - 2, 2, "\n");
}
