#include "app/AboutText.h"

#include <cstdio>

#include "app/CommandIds.h"
#include "app/ProgramState.h"
#include "transmit/ScriptCommandList.h"

namespace {

const char* const kDashes = "-------------------------------------------";

std::string formatted(const char* pattern, const std::string& value) {
    char line[256];
    std::snprintf(line, sizeof line, pattern, value.c_str());
    return line;
}

const char* modeName(int mode) {
    switch (mode) {
        case kModeAscii: return "ASCII";
        case kModeIta2: return "ITA#2";
        case kModeTelex: return "TELEX";
        case kModeMilitary: return "Military";
        case kModePsk31: return "PSK31";
        case kModeCw: return "CW";
        default: return "";
    }
}

const char* txLineLine(int txLine) {
    switch (txLine) {
        case Id::TxLineDisabled: return "RTS and DTR not being used for anything";
        case Id::TxLineRts: return "Using RTS line for transmit control";
        case Id::TxLineRtsXmit: return "Using RTS line for transmit control, RTS for CW ID.";
        case Id::TxLineDtrXmit: return "Using DTR line for transmit control, RTS for CW ID.";
        default: return nullptr;
    }
}

}  // namespace

std::vector<std::string> AboutStatusLines(const ProgramState& state) {
    std::vector<std::string> lines = {
        " This application was written for the",
        formatted("%s RTTY broadcast transmitter.", state.spacedCallSign),
        kDashes,
        formatted("Comport is set to %s", state.m_CommPort),
    };
    char baud[64];
    std::snprintf(baud, sizeof baud, "Baud Rate is set to %f.", static_cast<double>(state.BAUD.load()));
    lines.push_back(baud);
    lines.push_back(state.DATABITS == 8 ? "Data Bits is set to 8 BITS." : "Data Bits is set to 5 Bits.");
    lines.push_back(formatted("Mode is set to %s.", modeName(state.MODE)));
    if (const char* keying = txLineLine(state.TxLine)) lines.push_back(keying);
    for (const char* text : {kDashes, "Command Line Parameters:", "   Tarvik [port #   ] [Xmit line]",
                             "   Tarvik [012345678] [RTS,DTR  ]", kDashes, "Available Ports",
                             "   COM0 = 0 Launches Editor ONLY", "   All other ports defined by Windows System", " ",
                             "--------- Scripted Commands  --------------"})
        lines.push_back(text);
    std::vector<std::string> scripts = ScriptCommandLines(state);
    lines.insert(lines.end(), scripts.begin(), scripts.begin() + kScriptListShown + kScriptListExtra);
    for (const char* text : {" ", "--- Macro Commands Expand in Text Files ----",
                             "^L   // Full date 'TUESDAY, MAY 12, 2001'", "^D   // Day,month,day,year 'MAY 12, 2001'",
                             "^W   // Weekday            'TUESDAY'", "^T   // Local Time         '12:35(PST)'",
                             "^U   // UTC Time           '12:35(UTC)'", "^1   // Sends BELL once",
                             "^2   // Sends Bell twice", "...  // Sends Bell 1 - 9 Times",
                             "^9   // Sends Bell nine times, annoying!", kDashes})
        lines.push_back(text);
    return lines;
}
