#include "app/StartUp.h"

#include <cstdio>
#include <cstdlib>

#include "app/CommandIds.h"
#include "app/Station.h"
#include "config/ConfigurationSnapshot.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"

namespace {
constexpr int kBaud4545 = 32865;
}

void StartUp::Run() {
    // Made before the first line is logged, so a fresh working directory
    // keeps the initialization file's lines.
    MakeFolder("log");
    setDefaults();
    window_.checkMenuRadio(Id::BaudFirst, Id::BaudLast, kBaud4545);
    window_.checkMenuRadio(Id::ModeFirst, Id::ModeLast, Id::ModeMilitary);
    readSettings();
    makeFolders();
    station_.encoder.LoadIntCharDict("IntCharDict.txt");
    station_.log.write("***** Tarvik has been STARTED *****");
    station_.log.write("Initialization");
    window_.setText(Id::SessionState, "");
    station_.queue.RefillFileChooser();
    station_.transmitter.CmRX();
    station_.session.CmDisable();
    station_.ini.ReloadModeratedWords();
    station_.encoder.LoadIntCharDict("IntCharDict.txt");
    station_.schedule.OnReload();
    station_.timerControl.OnTimer(TimerControl::kStartClock);
    buildIdentity();
    setCheckMarks();
    if (hooks_.syncRecipientMenu) hooks_.syncRecipientMenu();
    station_.line.ProbeCommPorts();
    station_.line.EnableSerialMenus(false);
    window_.checkMenuRadio(Id::TxLineDisabled, Id::TxLineDtrXmit, station_.state.TxLine);
    openSerialPort();
    restoreSoundCard();
    station_.state.mainDialog = &window_;
    if (hooks_.startNetworkServices) hooks_.startNetworkServices();
    ProgramState& state = station_.state;
    if (state.KOVASchedulerStartEnabled && state.schedulerEnableSetting && !state.KOVAAutoStart)
        station_.session.CmEnable();
}

void StartUp::setDefaults() {
    ProgramState& s = station_.state;
    s.m_CommPort = "NULL";
    s.KOVADataPath = "data\\";
    s.checkNoTimer = 1;
    s.TxLine = Id::TxLineDisabled;
    s.soundCardID = kSoundCardNone;
    s.scheduleEnable = 0;
    s.transferSend = 1;
    s.transferCancel = 0;
    s.localLock = 0;
    s.DATABITS = 5;
    s.MODE = kModeMilitary;
    s.BAUD = 45.45f;
    s.stopBits = 1;
    s.KOVACallsign = "None";
}

void StartUp::readSettings() {
    station_.ini.Read(false);
    snapshot_.RestoreAtStartUp();
    ProgramState& s = station_.state;
    std::string dataPath = s.KOVADataPath;
    s.scheduleListPath = dataPath + "schedule.lst";
    s.scheduleTempPath = dataPath + "schedule_temp.lst";
}

void StartUp::makeFolders() {
    std::string dataPath = station_.state.KOVADataPath;
    for (const std::string& folder : {dataPath, std::string("log"), dataPath + "badwords", dataPath + "moderatedwords",
                                      dataPath + "approvedmoderatedwords"})
        MakeFolder(folder);
}

void StartUp::buildIdentity() {
    ProgramState& s = station_.state;
    std::string call = s.KOVACallsign;
    std::string spaced;
    for (char c : call) {
        spaced.push_back(c);
        spaced.push_back(' ');
    }
    s.spacedCallSign = spaced;
    s.cwIdText = "de " + call + " " + call + " ";
    s.cwIdScriptLine = "$CWID     // " + s.cwIdText.get();
    window_.setText(Id::WindowTitle, "Tarvik/Chat/ADMIN" + std::string(37, ' ') + s.spacedCallSign.get());
}

void StartUp::setCheckMarks() {
    ProgramState& s = station_.state;
    window_.checkMenuItem(Id::Autostart, s.KOVAAutoStart != 0);
    window_.checkMenuItem(Id::Header, s.headerEnable != 0);
    window_.checkMenuItem(Id::NoTimer, s.checkNoTimer != 0);
}

void StartUp::openSerialPort() {
    ProgramState& s = station_.state;
    std::string name = s.m_CommPort;
    int n = name.size() > 3 ? std::atoi(name.c_str() + 3) : 0;
    if (n >= 1 && n <= kCommPortCount && s.commPortAvailable[n]) {
        station_.serialMenus.ChooseComPort(Id::Com1 + n - 1);
        return;
    }
    station_.log.writef("Invalid Comport \"%s\" requested and is not available", name.c_str());
}

// The card as the initialization file or the snapshot stored it: -1, or 1..4.
void StartUp::restoreSoundCard() { station_.soundMenu.RestoreStoredCard(station_.state.soundCardID); }

// The sessions end first, while the clock still runs, so that none switches
// the transmitter on again and their last lines come before TERMINATED.
void StartUp::ShutDown() {
    station_.cycle.Stop();
    station_.network.Stop();
    station_.transmitter.CmRX();
    station_.timerControl.OnTimer(TimerControl::kStopClock);
    station_.log.write("***** Tarvik has been TERMINATED *****");
}
