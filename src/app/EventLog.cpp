#include "app/EventLog.h"

#include <cstdarg>
#include <cstdio>
#include <thread>

#include "app/CommandIds.h"
#include "app/ProgramState.h"
#include "platform/ProcessStart.h"
#include "platform/TextFile.h"

namespace {

std::string blanksToZeros(std::string text) {
    for (char& ch : text)
        if (ch == ' ') ch = '0';
    return text;
}

std::string cutAtLineEnd(const std::string& message) {
    std::string text = message.substr(0, message.find('\n'));
    text = text.substr(0, text.find('\r'));
    return text.substr(0, EventLog::kMaxMessage);
}

// Lines carry what clients wrote (HELO texts, addresses, names); a control
// byte is written "^X", so an operator's terminal never runs a client's
// escape sequence. A tab stays: it runs nothing, and the snapshot's lines
// are logged with theirs.
std::string escapeControls(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte < 32 && c != '\t') || byte == 127) {
            escaped += '^';
            escaped += static_cast<char>(byte ^ 0x40);
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string formattedList(const char* format, va_list args) {
    char buffer[EventLog::kMaxMessage + 1];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    return buffer;
}

}  // namespace

std::string EventLog::FileNameFor(const std::tm& local) {
    char name[64];
    std::snprintf(name, sizeof name, "log/%4d%2d%2d.log", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return blanksToZeros(name);
}

std::string EventLog::TimeTextFor(const std::tm& local) {
    char time[32];
    std::snprintf(time, sizeof time, "%2d:%2d:%2d", local.tm_hour, local.tm_min, local.tm_sec);
    return blanksToZeros(time);
}

std::string EventLog::todaysFileName() const { return FileNameFor(clock_.localNow()); }

void EventLog::write(const std::string& message) {
    while (state_.logBusy.test_and_set()) waitForTheOtherWriter();

    std::string text = escapeControls(cutAtLineEnd(message));
    std::tm local = clock_.localNow();
    std::string line = TimeTextFor(local) + " > " + text;
    journal_.write(line);
    TextFileWriter file;
    if (!file.open(FileNameFor(local), TextFileWriter::Mode::Append)) {
        state_.logBusy.clear();
        reportOpenFailure();
        return;
    }
    window_.listAppendNewest(Id::LogList, line, kListLines);
    file.write(line + "\n");
    file.close();
    state_.logBusy.clear();
}

// The window thread goes on dispatching its events; a session thread only
// gives way: a line takes some microseconds, and a millisecond's rest for
// each would hold mail back whenever sessions log at once.
void EventLog::waitForTheOtherWriter() {
    if (pump_.runsWindowEvents())
        pump_.pumpMessages();
    else
        std::this_thread::yield();
}

void EventLog::writef(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string line = formattedList(format, args);
    va_end(args);
    write(line);
}

std::string EventLog::Formatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string line = formattedList(format, args);
    va_end(args);
    return line;
}

// The box is shown without holding the writer flag, so a writer inside the
// box's own loop cannot wait on it; lines that fail meanwhile are lost like
// the one that raised it.
void EventLog::reportOpenFailure() {
    if (failureBoxShown_.exchange(true)) return;
    window_.messageBox("Cannot open LOG file,check for LOG directory.", "Log Create Error",
                       MessageButtons::Ok, MessageIcon::None);
    failureBoxShown_ = false;
}

void EventLog::ViewLog() const { OpenInTextEditor(todaysFileName()); }
