// Tarvik: the station's program. Its only arguments of its own are --version
// and --help; it works in its current directory.

#include <QApplication>
#include <clocale>
#include <csignal>
#include <cstdio>

#include "app/OwnOptions.h"
#include "app/window/CTarvikApp.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so they need no display.
    if (std::optional<std::string> text = OwnOptionText(argc, argv)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Qt set the C library's locale from the environment; numbers and
    // character classes stay "C" so the snapshot and the tones read right.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    CTarvikApp program;
    return program.Run();
}
