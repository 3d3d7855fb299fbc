#include "transmit/MorseKeyer.h"

#include "coding/SerialLine.h"
#include "platform/AsciiText.h"
#include "platform/Waits.h"

namespace {

constexpr const char* kWordSpace = "3";

// Characters 32..102, by code - 32.
constexpr const char* kPatterns[] = {
    /*   */ "3",      /* ! */ "3",      /* " */ "3",      /* # */ "3",
    /* $ */ "3",      /* % */ "3",      /* & */ "3",      /* ' */ "3",
    /* ( */ "212212", /* ) */ "212212", /* * */ "3",      /* + */ "3",
    /* , */ "221122", /* - */ "22122",  /* . */ "121212", /* / */ "21121",
    /* 0 */ "22222",  /* 1 */ "12222",  /* 2 */ "11222",  /* 3 */ "11122",
    /* 4 */ "11112",  /* 5 */ "11111",  /* 6 */ "21111",  /* 7 */ "22111",
    /* 8 */ "22211",  /* 9 */ "22221",  /* : */ "111222", /* ; */ "212121",
    /* < */ "3",      /* = */ "3",      /* > */ "3",      /* ? */ "112211",
    /* @ */ "3",      /* A */ "12",     /* B */ "2111",   /* C */ "2121",
    /* D */ "211",    /* E */ "1",      /* F */ "1121",   /* G */ "221",
    /* H */ "1111",   /* I */ "11",     /* J */ "1222",   /* K */ "212",
    /* L */ "1211",   /* M */ "22",     /* N */ "21",     /* O */ "222",
    /* P */ "1221",   /* Q */ "2212",   /* R */ "121",    /* S */ "111",
    /* T */ "2",      /* U */ "112",    /* V */ "1112",   /* W */ "122",
    /* X */ "2112",   /* Y */ "2122",   /* Z */ "2211",   /* [ */ "3",
    /* \ */ "3",      /* ] */ "3",      /* ^ */ "3",      /* _ */ "3",
    /* ` */ "3",      /* a */ "3",      /* b */ "3",      /* c */ "3",
    /* d */ "3",      /* e */ "3",      /* f */ "3",
};
static_assert(sizeof kPatterns / sizeof kPatterns[0] == 71);

}  // namespace

// Characters past the table (123..127) key a word space, like every other
// character without a pattern.
std::string_view MorseKeyer::PatternFor(int character) {
    int c = static_cast<signed char>(AsciiUpper(static_cast<char>(character)));
    int index = c < 32 ? 0 : c - 32;
    if (index >= static_cast<int>(sizeof kPatterns / sizeof kPatterns[0])) return kWordSpace;
    return kPatterns[index];
}

void MorseKeyer::SendMorseChar(int character, int characterGap) {
    std::string_view pattern = PatternFor(character);
    if (pattern == kWordSpace) {
        waits_.WaitTicks(kWordSpaceTicks);
        return;
    }
    for (char element : pattern) {
        line_.KeyTransmitLine(true);
        waits_.WaitTicks(element == '1' ? kDotTicks : kDashTicks);
        line_.KeyTransmitLine(false);
        waits_.WaitTicks(kElementGapTicks);
    }
    waits_.WaitTicks(characterGap);
}
