#pragma once
// TXFile: one text file of the data folder put on the line character by
// character in the current line mode, shown in the text view with the
// character on the air selected and the count of those still to go. Pause
// and CANCEL take effect between characters; the line is shared with the chat
// sessions through lineBusy. A file longer than the text view's buffer is
// sent whole. PrintFile shows a file without sending it. Runs on the window
// thread.

#include <string>

class CharacterEncoder;
class Controls;
class EventLog;
class MacroExpander;
class MorseKeyer;
class OutputRouter;
class Waits;
struct ProgramState;

class FileTransmitter {
public:
    static constexpr std::size_t kBufferBytes = 32000;
    static constexpr std::size_t kMaxTextBytes = 31998;

    struct Parts {
        ProgramState& state;
        EventLog& log;
        Controls& window;
        Waits& waits;
        OutputRouter& router;
        CharacterEncoder& encoder;
        MacroExpander& macros;
        MorseKeyer& morse;
    };

    // The file on the air as the text view shows it: its name (empty when
    // none is being sent), the characters already sent, its size, and where
    // in the file the shown text begins.
    struct OnAir {
        std::string file;
        int sent = 0;
        int size = 0;
        int shownFrom = 0;
    };

    explicit FileTransmitter(const Parts& parts) : p_(parts) {}

    const OnAir& onAir() const { return onAir_; }

    void TXFile(const std::string& name, int mode);
    // 0 shown (or nothing to show), 1 when the file could not be read.
    int PrintFile(const std::string& name);

private:
    // In upper case unless the line mode is ASCII.
    void showText(const std::string& text);
    void showProgress(const std::string& name, const std::string& text, int i);
    // False when CANCEL ended the session during the pause.
    bool waitWhilePaused(int mode);
    void sendCharacter(char c, int mode);

    Parts p_;
    OnAir onAir_;
};

// Up to `limit` bytes of the file (npos: all of it), cut at its first NUL;
// false when it is not a regular file or cannot be read.
bool ReadTextBytes(const std::string& path, std::size_t limit, std::string& text);
