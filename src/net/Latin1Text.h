#pragma once
// Text from today's clients in the station's own 8-bit form: Latin-1, so that
// the character dictionary goes on treating 128..255 as it always has.
// Characters beyond Latin-1 are transliterated to ASCII ("€" as "EUR",
// curly quotes as '"', dashes as '-', Cyrillic and other scripts in Latin
// letters); what has no ASCII form is written '?', never dropped silently
// and never sent as the bytes of its encoding. Thread-safe.

#include <string>
#include <string_view>

// `bytes` in `charset` (any name ICU knows: UTF-8, ISO-8859-x, Windows-1252
// ...). An empty or unknown charset: UTF-8 when the bytes are valid UTF-8,
// else Latin-1 as they stand.
std::string Latin1FromCharset(std::string_view bytes, std::string_view charset);

bool IsValidUtf8(std::string_view bytes);

// One Unicode character: its Latin-1 byte, or its transliteration; '?' for
// what is no character (0, surrogates, beyond U+10FFFF).
std::string Latin1FromCodePoint(char32_t point);

// Latin-1 text transliterated to printable ASCII the German way ("Grüße aus
// Köln" gives "Gruesse aus Koeln"), for names a file system takes.
std::string AsciiTransliteration(std::string_view latin1);

// UTF-8 as it arrives on a telnet session, in receives that may split a
// character: complete characters come out in Latin-1, a split one waits for
// its rest, and a byte that cannot start or continue UTF-8 passes as the
// Latin-1 character it is (a Latin-1 terminal keeps working).
class Utf8InputDecoder {
public:
    std::string feed(std::string_view bytes);

private:
    std::string pending_;
};
