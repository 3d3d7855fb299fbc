#include "app/OwnOptions.h"

#include <string_view>

#include "app/Version.h"

namespace {

std::string versionText() { return std::string("tarvik ") + kTarvikVersion + "\n"; }

// The form suits help2man, which makes the manual page from it.
std::string helpText() {
    return "Usage: tarvik [--version | --help] [Qt options]\n"
           "Run an unattended radioteletype (RTTY) broadcast station: a transmit queue fed by\n"
           "a schedule, mail and telnet, sent on a serial line or a sound card, with Morse\n"
           "identification and a daily event log.\n"
           "\n"
           "The station works in its current directory: Tarvik.ini, data/, log/. Without a\n"
           "display it runs headless with QT_QPA_PLATFORM=offscreen or -platform offscreen.\n"
           "\n"
           "  --version    print the version and exit\n"
           "  --help       print this text and exit\n"
           "\n"
           "Environment:\n"
           "  TARVIK_COM1 ... TARVIK_COM8\n"
           "               the device of each serial port (else /dev/ttyS0 ... /dev/ttyS7)\n"
           "  TARVIK_SOUND the sound output of KOVASOUNDCARDID -1 (else ALSA's \"default\");\n"
           "               wav:PATH writes the audio into a WAV file instead\n"
           "  TARVIK_SOUND1 ... TARVIK_SOUND4\n"
           "               the sound outputs 1 to 4 (else plughw:0 ... plughw:3)\n"
           "  JOURNAL_STREAM\n"
           "               set by systemd: each log line then goes to standard error too\n"
           "\n"
           "The Debian package runs the station as the service tarvik in /var/lib/tarvik,\n"
           "with the environment of /etc/default/tarvik.\n";
}

}  // namespace

std::optional<std::string> OwnOptionText(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--version") return versionText();
        if (argument == "--help") return helpText();
    }
    return std::nullopt;
}
