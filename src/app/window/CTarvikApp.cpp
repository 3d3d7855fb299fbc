#include "app/window/CTarvikApp.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/AboutText.h"
#include "app/window/CAboutDlg.h"
#include "coding/Psk31Library.h"
#include "editor/RTTYSchedule.h"
#include "sound/SoundCardSetupDialog.h"

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int number) {
    unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

CTarvikApp::CTarvikApp()
    : station_(state_, {window_.controls(), clock_, pump_, timers_, poster_, serial_,
                        [](int code) { std::exit(code); },
                        [this] { RunSoundCardSetup(state_, &window_); }}),
      snapshot_(state_, station_.log, window_.controls(), station_.soundMenu,
                [this] { station_.recipients.SyncRecipientMenu(); }),
      commands_(station_, snapshot_,
                {[this] { showEditor(); }, [this] { showAbout(); }, [this] { return chooseFiles(); }}),
      startUp_(station_, snapshot_, window_.controls(),
               {[this] { station_.network.StartNetworkServices(); },
                [this] { station_.recipients.SyncRecipientMenu(); }}),
      web_(station_, [this](int id) { window_.dispatch(id); }) {
    window_.setCommands(&commands_);
    window_.setOnCloseConfirmed([this] { cancelWorkForClose(); });
    // Nobody sees a headless station's text cursor; blinking, it would
    // repaint the window twice a second for weeks.
    if (WidgetControls::Headless()) QApplication::setCursorFlashTime(0);
}

CTarvikApp::~CTarvikApp() { editor_.reset(); }

int CTarvikApp::Run() {
    Start();
    window_.exec();
    Stop();
    return 0;
}

void CTarvikApp::Start() {
    watchSignals();
    startUp_.Run();
    web_.Start();
    window_.show();
}

void CTarvikApp::Stop() {
    web_.Stop();
    startUp_.ShutDown();
}

void CTarvikApp::watchSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    signalNotifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(signalNotifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte;
        while (::read(signalPipe[0], &byte, 1) == 1) {
        }
        window_.closeConfirmed();
    });
}

// What runs when the window is to go: every loop in hand ends at its next
// check, so the stack unwinds before the window is destroyed.
void CTarvikApp::cancelWorkForClose() {
    state_.transferCancel = 1;
    state_.transferSend = 1;
    state_.sendBreakSignal = 0;
    state_.diddleEnable = 0;
    station_.waits.closeDown();
    if (state_.MODE == kModePsk31) station_.psk.AbandonTransmit();
}

void CTarvikApp::showAbout() {
    CAboutDlg about(AboutStatusLines(state_), &window_);
    if (WidgetControls::Headless()) return;
    about.exec();
}

std::vector<std::string> CTarvikApp::chooseFiles() {
    if (WidgetControls::Headless()) {
        std::fprintf(stderr, "[Open - Tarvik Controller Files to Load] no display to choose files on\n");
        return {};
    }
    QStringList chosen = QFileDialog::getOpenFileNames(
        &window_, QStringLiteral("Open - Tarvik Controller Files to Load"), QString(),
        QStringLiteral("TXT Files (*.txt);;DOC Files (*.doc);;Pictures (*.pix);;All Files (*)"));
    std::vector<std::string> paths;
    for (const QString& path : chosen) paths.push_back(path.toLocal8Bit().toStdString());
    return paths;
}

void CTarvikApp::showEditor() {
    if (!editor_) editor_ = std::make_unique<RTTYSchedule>(state_, station_.log, clock_, &window_);
    editor_->showEditor();
}
