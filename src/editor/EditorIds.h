#pragma once
// Control ids of the schedule editor window. Some repeat the main window's
// (1002, 1031, 1060, 1062), so the editor has a Controls of its own.

namespace EditorId {

constexpr int WindowTitle = 0;
constexpr int SaveAndExit = 1;
constexpr int Cancel = 2;
constexpr int EntryList = 1002;
constexpr int Delete = 1006;
constexpr int FileName = 1031;
constexpr int SaveText = 1032;
constexpr int Date = 1055;
constexpr int Time = 1056;
constexpr int FileChoice = 1060;
constexpr int ApplyWidth = 1062;
constexpr int Insert = 1065;
constexpr int Replace = 1068;
constexpr int AutoTime = 1073;
constexpr int TextView = 1074;
constexpr int SaveList = 1075;
constexpr int Filter = 1078;
constexpr int Duration = 1080;
constexpr int ClearText = 1083;
constexpr int SortByDate = 1088;
constexpr int WidthSlider = 1093;
constexpr int EditText = 1094;

}  // namespace EditorId
