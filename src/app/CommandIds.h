#pragma once
// Control and menu command ids of the main window. They are the station's
// names for its controls and commands (and TxLine holds one of them), so the
// numbers are fixed.

namespace Id {

// Controls of the main window.
constexpr int WindowTitle = 0;
constexpr int FileBox = 1060;
constexpr int RefillButton = 1062;
constexpr int QueueList = 1002;
constexpr int CwIdCount = 1091;
constexpr int SendQueueCount = 1003;
constexpr int CountDown = 1004;
constexpr int ChatUserList = 1124;
constexpr int KillButton = 1125;
constexpr int SchedulerState = 1038;
constexpr int EnableButton = 1037;
constexpr int DisableButton = 1036;
constexpr int TransmitState = 1041;
constexpr int OnButton = 1040;
constexpr int OffButton = 1039;
constexpr int SessionState = 1042;
constexpr int PauseButton = 1043;
constexpr int ResumeButton = 1044;
constexpr int CancelButton = 1045;
constexpr int ClockText = 1046;
constexpr int FileName = 1031;
constexpr int TextView = 1047;
constexpr int LogList = 1121;

// File menu.
constexpr int ReloadQueue = 32769;
constexpr int SendSelectedFile = 32770;
constexpr int AddFile = 32771;
constexpr int AddMultipleFiles = 32772;
constexpr int RemoveSelected = 32773;
constexpr int ClearQueue = 32774;
constexpr int LaunchEditor = 32779;
constexpr int MoveSelectedToTop = 32825;
constexpr int SaveConfiguration = 32834;
constexpr int RestoreConfiguration = 32839;

// Edit menu.
constexpr int TarvikEditor = 32826;
constexpr int EditScheduleList = 32827;
constexpr int EditScheduleTemp = 32828;
constexpr int EditInitializationFile = 32829;

// Control menu.
constexpr int Diddle = 32794;
constexpr int Header = 32795;
constexpr int Autostart = 32796;
constexpr int NoTimer = 32820;
constexpr int AutoCwIdTimer = 32830;
constexpr int SendCwIdNow = 32831;
constexpr int InternetLink = 32833;
constexpr int RecipientFirst = 40001;
constexpr int RecipientLast = 40005;

// Mode menu.
constexpr int ModeMilitary = 32787;
constexpr int ModeIta2 = 32788;
constexpr int ModeTelex = 32789;
constexpr int ModeAscii = 32790;
constexpr int ModePsk31 = 32791;
constexpr int ModeCw = 32792;
constexpr int ModeFirst = ModeMilitary;
constexpr int ModeLast = ModeCw;

// ComPort menu: Disabled, then COM1..COM8.
constexpr int ComDisabled = 32797;
constexpr int Com1 = 32798;
constexpr int Com8 = 32805;

// TU_Setup menu: the values of TxLine.
constexpr int TxLineDisabled = 32806;
constexpr int TxLineRts = 32807;
constexpr int TxLineDtr = 32808;
constexpr int TxLineRtsXmit = 32809;
constexpr int TxLineDtrXmit = 32810;

// Dovetron menu.
constexpr int DovetronComputer = 32818;
constexpr int DovetronTeletype = 32819;

// SoundCard menu.
constexpr int SoundNone = 32811;
constexpr int SoundAuto = 32812;
constexpr int SoundCard1 = 32813;
constexpr int SoundCard4 = 32816;
constexpr int SoundSetup = 32832;
constexpr int SoundNote = 32840;

// BAUD_Rate menu.
constexpr int BaudFirst = 32865;
constexpr int BaudLast = 32879;

// Test menu.
constexpr int SendCwId = 32775;
constexpr int SendRyRy = 32776;
constexpr int SendQuickBrownFox = 32777;
constexpr int ViewLog = 32778;
constexpr int SendBreakSignal = 32824;

// Help (menu bar) and the two system-menu commands, which live under Help here.
constexpr int Help = 32817;
constexpr int SystemAbout = 16;
constexpr int SystemScheduleEditor = 32;

}  // namespace Id
