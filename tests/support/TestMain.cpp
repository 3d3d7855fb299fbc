// Test entry: a Qt core application for the pump and the timers, with the C
// library's numeric and character locale kept at "C" as the program keeps it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <clocale>
#include <csignal>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_CTYPE, "C");
    std::signal(SIGPIPE, SIG_IGN);
    return RUN_ALL_TESTS();
}
