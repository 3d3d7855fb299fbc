#include "transmit/FileTransmitter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "coding/OutputRouter.h"
#include "platform/AsciiText.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/Waits.h"
#include "transmit/MacroExpander.h"
#include "transmit/MorseKeyer.h"

namespace {

constexpr const char* kQueueFolder = "data/";

}  // namespace

bool ReadTextBytes(const std::string& path, std::size_t limit, std::string& text) {
    int fd = OpenRegularFile(path);
    if (fd < 0) return false;
    text.clear();
    std::string block(FileTransmitter::kBufferBytes, '\0');
    ssize_t got = 0;
    while (text.size() < limit) {
        got = ::read(fd, block.data(), std::min(block.size(), limit - text.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(block, 0, static_cast<std::size_t>(got));
    }
    ::close(fd);
    text.resize(BeforeNul(text).size());
    return got >= 0;
}

void FileTransmitter::showText(const std::string& text) {
    p_.window.setText(Id::TextView, p_.state.MODE != kModeAscii ? AsciiUpper(text) : text);
}

int FileTransmitter::PrintFile(const std::string& name) {
    std::string path = name.find("log/") != std::string::npos ? name : kQueueFolder + name;
    if (!name.empty() && name[0] == '$') return 0;
    p_.window.setText(Id::FileName, name);
    std::string text;
    if (!ReadTextBytes(path, kMaxTextBytes, text)) {
        std::string message = "[PrintFile :Cannot open " + path + " input file.]";
        p_.window.setText(Id::TextView, message);
        p_.log.write(message);
        return 1;
    }
    showText(text);
    return 0;
}

void FileTransmitter::TXFile(const std::string& name, int mode) {
    p_.state.transferSend = 1;
    p_.state.transferCancel = 0;
    p_.window.setText(Id::SessionState, "");
    PrintFile(name);

    std::string path = kQueueFolder + name;
    std::string text;
    if (!ReadTextBytes(path, std::string::npos, text)) {
        std::string message = "[TXFile : Cannot open " + path + " input file.]";
        p_.window.setText(Id::TextView, message);
        p_.log.write(message);
        return;
    }
    p_.log.writef("TXFile : Sending file <%s>.", name.c_str());

    // A chat line may hold the line for minutes; CANCEL and the close end the wait.
    while (p_.state.lineBusy.exchange(1)) {
        if (p_.state.transferCancel) return;
        p_.waits.PumpMessages();
    }
    int n = static_cast<int>(text.size());
    onAir_ = {name, 0, n, 0};
    for (int i = 0; i < n; ++i) {
        showProgress(name, text, i);
        if (!waitWhilePaused(mode)) break;
        sendCharacter(text[static_cast<std::size_t>(i)], mode);
        p_.waits.PumpPending();
    }
    onAir_ = {};
    p_.window.setText(Id::SendQueueCount, "");
    p_.state.lineBusy = 0;
}

// The text view holds one buffer's worth of the file; a longer file is
// shown a part at a time as sending reaches it.
void FileTransmitter::showProgress(const std::string& name, const std::string& text, int i) {
    p_.window.setText(Id::SendQueueCount, std::to_string(static_cast<int>(text.size()) - 1 - i));
    onAir_.sent = i;
    if (p_.window.text(Id::FileName) != name) return;
    int inPart = i % static_cast<int>(kMaxTextBytes);
    if (inPart == 0 && i > 0) showText(text.substr(static_cast<std::size_t>(i), kMaxTextBytes));
    onAir_.shownFrom = i - inPart;
    p_.window.setSelection(Id::TextView, inPart, inPart + 1);
}

bool FileTransmitter::waitWhilePaused(int mode) {
    while (!p_.state.transferSend) {
        p_.waits.PumpWhileBusy();
        // Idle characters keep the PSK31 carrier alive while paused.
        if (mode == kModePsk31) p_.router.SendPskIdle();
        if (p_.state.transferCancel) return false;
    }
    return !p_.state.transferCancel;
}

void FileTransmitter::sendCharacter(char c, int mode) {
    if (mode == kModeCw) {
        p_.morse.SendMorseChar(c, MorseKeyer::kTextGap);
    } else if (mode == kModeAscii || mode == kModePsk31) {
        int r = p_.macros.ExpandMacro(c, mode);
        p_.state.txHistory.record(static_cast<char>(r));
        p_.router.SendCode(r & 127);
    } else {
        char r = AsciiUpper(c);
        p_.state.txHistory.record(r);
        p_.encoder.EncodeChar(r, mode);
    }
}
