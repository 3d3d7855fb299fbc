#include "support/CodingFixture.h"

#include <ctime>

#include "coding/CodeTable.h"

CodingFixture::CodingFixture() {
    s.state.MODE = kModePsk31;
    s.pump.onPump = [this] { s.psk.sendOne(); };
    s.state.shiftState = L;
    s.state.lastCode = 0;
}

std::vector<int> CodingFixture::newCodes() {
    std::vector<int> all = s.psk.characters();
    std::vector<int> fresh(all.begin() + static_cast<long>(codesSeen_), all.end());
    codesSeen_ = all.size();
    return fresh;
}

std::vector<int> CodingFixture::encode(std::string_view text, int mode) {
    newCodes();
    for (char ch : text) encoder.EncodeChar(ch, mode);
    return newCodes();
}

std::vector<int> CodingFixture::sendSevenBit(std::string_view text, int mode) {
    newCodes();
    for (char ch : text) s.router.SendCode(macros.ExpandMacro(ch, mode) & 127);
    return newCodes();
}

std::vector<std::string> CodingFixture::newLogMessages() {
    std::vector<std::string> all = s.logMessages();
    std::vector<std::string> fresh(all.begin() + static_cast<long>(logSeen_), all.end());
    logSeen_ = all.size();
    return fresh;
}

void CodingFixture::writeFile(const std::string& name, const std::string& bytes) { WriteBinaryFile(name, bytes); }

namespace {
// Index = code. Letters are the same in every mode.
constexpr char kLetters[33] = "\0E\0A\0SIU\0DRJNFCKTZLWHYPQOBG\0MXV\0";
//                                 0    1    2    3    4    5    6    7    8    9   10   11   12   13   14   15
constexpr char kIta2Figures[33] = "\0" "3" "\0" "-" "\0" "'" "8" "7" "\0" "~" "4" "\a" "," "~" ":" "("
                                  "5" "+" ")" "2" "~" "6" "0" "1" "9" "?" "~" "\0" "." "/" "=" "\0";
constexpr char kUsTtyFigures[33] = "\0" "3" "\0" "-" "\0" "\a" "8" "7" "\0" "$" "4" "'" "," "!" ":" "("
                                   "5" "\"" ")" "2" "#" "6" "0" "1" "9" "?" "&" "\0" "." "/" ";" "\0";
}  // namespace

std::string DecodeCodes(const std::vector<int>& codes, int mode) {
    std::string figures = std::string(mode == kModeIta2 || mode == kModeTelex ? kIta2Figures : kUsTtyFigures, 32);
    if (mode == kModeIta2) {
        // The national positions as British machines fill them.
        figures[13] = '%';
        figures[20] = '$';
        figures[26] = '&';
    } else if (mode == kModeTelex) {
        figures[13] = '$';
        figures[17] = '"';
        figures[20] = '#';
        figures[26] = '&';
        figures[30] = ';';
    }
    bool inFigures = false;
    std::string text;
    for (int code : codes) {
        if (code == F) inFigures = true;
        else if (code == L) inFigures = false;
        else if (code == SP) text.push_back(' ');
        else if (code == CR || code == LF || code == 0) continue;
        else text.push_back(inFigures ? figures[code] : kLetters[code]);
    }
    return text;
}

ZoneGuard::ZoneGuard(const char* zone) {
    const char* previous = std::getenv("TZ");
    hadZone_ = previous != nullptr;
    if (hadZone_) previous_ = previous;
    ::setenv("TZ", zone, 1);
    ::tzset();
}

ZoneGuard::~ZoneGuard() {
    if (hadZone_)
        ::setenv("TZ", previous_.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

std::string PrintedAir(const std::string& air, int mode) {
    return DecodeCodes(std::vector<int>(air.begin(), air.end()), mode);
}

std::string WithoutIdleRuns(const std::string& air) {
    std::size_t first = air.find_first_not_of(static_cast<char>(kCodeLtrs));
    std::size_t last = air.find_last_not_of(static_cast<char>(kCodeLtrs));
    return first == std::string::npos ? std::string() : air.substr(first, last - first + 1);
}
