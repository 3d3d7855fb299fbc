#include "transmit/FileTransmitter.h"

#include <cstdio>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "coding/CharacterEncoder.h"
#include "coding/OutputRouter.h"
#include "coding/Psk31Library.h"
#include "platform/Controls.h"
#include "platform/PathMap.h"
#include "platform/Waits.h"
#include "transmit/MorseKeyer.h"

namespace {

constexpr const char* kQueueFolder = "data/";

char upperCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool ReadTextBytes(const std::string& path, std::size_t limit, std::string& text) {
    std::FILE* file = std::fopen(ResolvePath(path).c_str(), "rb");
    if (file == nullptr) return false;
    text.assign(limit, '\0');
    std::size_t got = std::fread(text.data(), 1, limit, file);
    std::fclose(file);
    text.resize(got);
    text = text.substr(0, text.find('\0'));
    return true;
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
    if (p_.state.MODE != kModeAscii)
        for (char& c : text) c = upperCase(c);
    p_.window.setText(Id::TextView, text);
    return 0;
}

void FileTransmitter::TXFile(const std::string& name, int mode) {
    p_.state.transferSend = 1;
    p_.state.transferCancel = 0;
    p_.window.setText(Id::SessionState, "");
    PrintFile(name);

    std::string path = kQueueFolder + name;
    std::string text;
    if (!ReadTextBytes(path, kMaxTextBytes, text)) {
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
    for (int i = 0; i < n; ++i) {
        p_.window.setText(Id::SendQueueCount, std::to_string(n - 1 - i));
        if (p_.window.text(Id::FileName) == name) p_.window.setSelection(Id::TextView, i, i + 1);
        if (!waitWhilePaused(mode)) break;
        sendCharacter(text[static_cast<std::size_t>(i)], mode);
        p_.waits.PumpMessages();
    }
    p_.window.setText(Id::SendQueueCount, "");
    p_.state.lineBusy = 0;
}

bool FileTransmitter::waitWhilePaused(int mode) {
    while (!p_.state.transferSend) {
        p_.waits.PumpWhileBusy();
        if (mode == kModePsk31) {
            // Idle characters keep the PSK31 carrier alive while paused.
            p_.psk.QueueCharacter(0, 0);
            while (p_.psk.PendingCharacters() > OutputRouter::kPskQueueLimit) p_.waits.PumpWhileBusy();
        }
        if (p_.state.transferCancel) return false;
    }
    return !p_.state.transferCancel;
}

void FileTransmitter::sendCharacter(char c, int mode) {
    if (mode == kModeCw) {
        p_.morse.SendMorseChar(c, MorseKeyer::kTextGap);
    } else if (mode == kModeAscii || mode == kModePsk31) {
        int r = p_.encoder.ExpandMacro(c, mode);
        p_.state.txHistory.record(static_cast<char>(r));
        p_.router.SendCode(r & 127);
    } else {
        char r = upperCase(c);
        p_.state.txHistory.record(r);
        p_.encoder.EncodeChar(r, mode);
    }
}
