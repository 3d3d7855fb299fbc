// Tarvik: the station's program. It reads no arguments of its own and works
// in its current directory.

#include <QApplication>
#include <clocale>
#include <csignal>

#include "app/window/CTarvikApp.h"

int main(int argc, char** argv) {
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
