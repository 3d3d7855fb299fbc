#include "net/SmtpSession.h"

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "net/MessageScreening.h"
#include "net/MessageStore.h"
#include "net/SessionSocket.h"
#include "net/SmtpCommandMatcher.h"
#include "platform/AsciiText.h"

namespace {

constexpr int kChunkBytes = 512;
constexpr int kRejectedRecipientErrors = 6;

}  // namespace

void SmtpSession::Run() {
    socket_.setSessionEnd(std::chrono::steady_clock::now() + p_.limits.smtpSessionLimit);
    reply("220 " + p_.hostName + " Simple Mail Transfer Service Ready\r\n");
    char buffer[kChunkBytes + 1];
    for (;;) {
        int received = socket_.WaitReceiveSmtp(buffer, kChunkBytes);
        if (received < 0) break;
        if (received == 0) {
            p_.log.write("Socket Closed while Waiting for first Helo (or timeout)");
            break;
        }
        // The chunk is a C string to the dialogue: a NUL ends it.
        std::string chunk(BeforeNul(std::string_view(buffer, static_cast<std::size_t>(received))));
        const std::string copy = chunk;
        workChunk(chunk, copy);
        if (errorCount_ > kMostErrors) {
            replyAndLog("500 Too many command syntax errors, I quit!\r\n");
            break;
        }
        if (endSession_) break;
    }
    socket_.close();
    p_.log.write("Ending connection");
}

// A line runs to and including its line feed; a chunk that ends without one
// is completed as a line.
void SmtpSession::workChunk(std::string& chunk, const std::string& copy) {
    std::size_t lineStart = 0;
    while (lineStart < chunk.size()) {
        int code = MatchSmtpCommand(chunk, lineStart, command_, argument_);
        if (chunk.find('\n', lineStart) == std::string::npos) chunk += "\r\n";
        act(code, chunk, lineStart, copy);
        lineStart = chunk.find('\n', lineStart) + 1;
    }
}

void SmtpSession::act(int code, const std::string& chunk, std::size_t lineStart, const std::string& copy) {
    switch (code) {
    case SmtpCode::Helo:
    case SmtpCode::Ehlo: {
        // The line without its end, so the log line keeps its closing bracket.
        std::size_t lineEnd = chunk.find_first_of("\r\n", lineStart);
        p_.log.write("SMTP E-Mail Received from [" + chunk.substr(lineStart, lineEnd - lineStart) + "]");
        reply("250 " + p_.hostName + "\r\n");
        return;
    }
    case SmtpCode::MailFrom:
        reply("250 Ready to Receive\r\n");
        p_.log.write(chunk);
        return;
    case SmtpCode::RcptTo: recipient(); return;
    case SmtpCode::Data: transfer(); return;
    case SmtpCode::Rset:
        reply("250 Reset\r\n");
        rcptAccepted_ = false;
        p_.log.write("250 Reset " + copy + "\r\n");
        return;
    case SmtpCode::Noop:
        if (variant_ == kPrimary) reply("250\r\n");
        else notImplemented();
        return;
    case SmtpCode::Quit:
        replyAndLog("221 goodby, have a nice day\r\n");
        endSession_ = true;
        return;
    case SmtpCode::AutoRcpt:
        if (variant_ != kPrimary) {
            notImplemented();
            return;
        }
        p_.log.write("X-AUTO-RCPT:<" + argument_ + ">");
        reply("250 X-AUTO-RCPT OK\r\n");
        return;
    default: notImplemented(); return;
    }
}

// The recipient must contain the station's mailbox prefix anywhere.
void SmtpSession::recipient() {
    if (AsciiUpper(argument_).find(p_.state.KOVAEmailAddress.get()) != std::string::npos) {
        p_.log.write("RCPT TO:<" + argument_ + ">");
        reply("250 Recipient OK\r\n");
        if (variant_ == kSecondary) p_.log.write("250 Recipient OK\r\n");
        rcptAccepted_ = true;
        return;
    }
    p_.log.write("RCPT TO:<" + argument_ + "> has been rejected");
    reply("550 No such user here\r\n");
    rcptAccepted_ = false;
    errorCount_ = kRejectedRecipientErrors;
}

void SmtpSession::transfer() {
    std::string name;
    int result = StoreResult::ReceiveFailed;
    if (rcptAccepted_ && !p_.store.HasRoom()) {
        result = StoreResult::NoStorage;
    } else if (rcptAccepted_) {
        replyAndLog("354 Send Data\r\n");
        result = p_.store.StoreDataMessage(socket_, name);
    }
    switch (result) {
    case ScreeningCode::BadWord:
        replyAndLog(EventLog::Formatted("250 message \"%s\" not sent because of bad word violation\r\n", name.c_str()));
        return;
    case ScreeningCode::LineTooLong:
        replyAndLog(EventLog::Formatted("250 message \"%s\" not sent because of line length greater than %d\r\n",
                                        name.c_str(), p_.state.KOVAAutoLine72.load()));
        return;
    case StoreResult::Closed:
        replyAndLog("452  Requested action not completed: socket probably closed or timeout\r\n");
        endSession_ = true;
        return;
    case StoreResult::ReceiveFailed:
        replyAndLog("452  Requested action not taken: improper protocol sequence, no CMDRCPT\r\n");
        endSession_ = true;
        return;
    case StoreResult::NoStorage:
        replyAndLog("452  Requested action not taken: insufficient system storage\r\n");
        endSession_ = true;
        return;
    default: replyAndLog(EventLog::Formatted("250 message succesfully stored as \"%s\"\r\n", name.c_str())); return;
    }
}

void SmtpSession::notImplemented() {
    ++errorCount_;
    replyAndLog("502 command [" + command_ + "] not implemented\r\n");
}

void SmtpSession::reply(const std::string& text) { socket_.send(text); }

void SmtpSession::replyAndLog(const std::string& text) {
    reply(text);
    p_.log.write(text);
}
