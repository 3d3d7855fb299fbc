#pragma once
// The program: the platform parts on Qt, termios and ALSA, the station on
// them, its window, start-up and shutdown. SIGTERM and SIGINT close the
// window as a confirmed close would.

#include <QObject>
#include <memory>

#include "app/CommandTable.h"
#include "app/ProgramState.h"
#include "app/StartUp.h"
#include "app/Station.h"
#include "app/window/CTarvikDlg.h"
#include "coding/TermiosSerialDriver.h"
#include "config/ConfigurationSnapshot.h"
#include "platform/CallPoster.h"
#include "platform/Clock.h"
#include "platform/QtEventPump.h"
#include "platform/QtWindowTimers.h"
#include "web/WebService.h"

class QSocketNotifier;
class RTTYSchedule;

class CTarvikApp : public QObject {
public:
    CTarvikApp();
    ~CTarvikApp() override;

    // Start-up, the window's life, shutdown; the program's exit code.
    int Run();
    // The three apart, for tests.
    void Start();
    void Stop();
    CTarvikDlg& window() { return window_; }
    Station& station() { return station_; }
    WebService& web() { return web_; }

private:
    void watchSignals();
    void showAbout();
    std::vector<std::string> chooseFiles();
    void showEditor();
    void cancelWorkForClose();

    ProgramState state_;
    SystemClock clock_;
    QtEventPump pump_;
    QtWindowTimers timers_;
    QtCallPoster poster_;
    TermiosSerialDriver serial_;
    CTarvikDlg window_;
    Station station_;
    ConfigurationSnapshot snapshot_;
    CommandTable commands_;
    StartUp startUp_;
    WebService web_;
    // Made on first use and kept to the end of the program.
    std::unique_ptr<RTTYSchedule> editor_;
    QSocketNotifier* signalNotifier_ = nullptr;
};
