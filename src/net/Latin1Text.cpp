#include "net/Latin1Text.h"

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

// Signs ICU's Latin-ASCII leaves alone come first; German umlauts as the
// Germans write them without.
constexpr char kAsciiRules[] =
    "\\u20AC > EUR; \\u2122 > '(TM)'; \\u2022 > '*'; :: de-ASCII; :: Any-Latin; :: Latin-ASCII;";

class AsciiTransliterator {
public:
    static AsciiTransliterator& instance() {
        static AsciiTransliterator one;
        return one;
    }

    // Printable ASCII and line ends for `text`; '?' for what has no ASCII form.
    std::string toAscii(icu::UnicodeString text) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (transliterator_) transliterator_->transliterate(text);
        }
        std::string ascii;
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
            UChar32 c = text.char32At(i);
            ascii += c < 128 ? static_cast<char>(c) : '?';
        }
        return ascii;
    }

private:
    AsciiTransliterator() {
        UErrorCode error = U_ZERO_ERROR;
        UParseError where{};
        transliterator_.reset(icu::Transliterator::createFromRules(
            "station-ASCII", icu::UnicodeString::fromUTF8(kAsciiRules), UTRANS_FORWARD, where, error));
        if (U_FAILURE(error)) transliterator_.reset();
    }

    std::mutex lock_;
    std::unique_ptr<icu::Transliterator> transliterator_;
};

// Latin-1 characters as they are; every run of others transliterated.
std::string toLatin1(const icu::UnicodeString& text) {
    std::string latin1;
    icu::UnicodeString beyond;
    auto flush = [&] {
        if (beyond.isEmpty()) return;
        latin1 += AsciiTransliterator::instance().toAscii(beyond);
        beyond.remove();
    };
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        UChar32 c = text.char32At(i);
        if (c <= 0xFF) {
            flush();
            latin1 += static_cast<char>(c);
        } else {
            beyond.append(c);
        }
    }
    flush();
    return latin1;
}

constexpr int kIncomplete = -1;

// The length of the UTF-8 sequence at `at` (0 when it is not one, kIncomplete
// when the bytes end inside one that is valid so far); its code point.
int sequenceAt(std::string_view bytes, std::size_t at, char32_t& point) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char lead = byte(at);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0) return 0;
    point = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (at + static_cast<std::size_t>(k) >= bytes.size()) return kIncomplete;
        if ((byte(at + static_cast<std::size_t>(k)) & 0xC0) != 0x80) return 0;
        point = (point << 6) | (byte(at + static_cast<std::size_t>(k)) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    bool valid = point >= kSmallest[length] && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
    return valid ? length : 0;
}

bool isDeclaredAscii(std::string_view charset) {
    std::string lower;
    for (char c : charset) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower == "us-ascii" || lower == "ascii";
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    char32_t point = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        int length = sequenceAt(bytes, at, point);
        if (length <= 0) return false;
        at += static_cast<std::size_t>(length);
    }
    return true;
}

// A declared US-ASCII with 8-bit bytes in it is as good as undeclared.
std::string Latin1FromCharset(std::string_view bytes, std::string_view charset) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(bytes);
    const std::string name(charset);
    if (!name.empty() && !isDeclaredAscii(name)) {
        UErrorCode error = U_ZERO_ERROR;
        UConverter* converter = ::ucnv_open(name.c_str(), &error);
        if (U_SUCCESS(error)) {
            ::ucnv_close(converter);
            icu::UnicodeString text(bytes.data(), static_cast<int32_t>(bytes.size()), name.c_str());
            if (!text.isBogus()) return toLatin1(text);
        }
    }
    if (IsValidUtf8(bytes))
        return toLatin1(icu::UnicodeString::fromUTF8(icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size()))));
    return std::string(bytes);
}

std::string Latin1FromCodePoint(char32_t point) {
    if (point == 0 || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return "?";
    if (point <= 0xFF) return std::string(1, static_cast<char>(point));
    return toLatin1(icu::UnicodeString(static_cast<UChar32>(point)));
}

std::string AsciiTransliteration(std::string_view latin1) {
    icu::UnicodeString text;
    for (char c : latin1) text.append(static_cast<UChar32>(static_cast<unsigned char>(c)));
    return AsciiTransliterator::instance().toAscii(text);
}

std::string Utf8InputDecoder::feed(std::string_view bytes) {
    pending_.append(bytes);
    std::string latin1;
    std::size_t at = 0;
    while (at < pending_.size()) {
        char32_t point = 0;
        int length = sequenceAt(pending_, at, point);
        if (length == kIncomplete) break;
        if (length == 0) {
            latin1 += pending_[at++];
            continue;
        }
        latin1 += Latin1FromCodePoint(point);
        at += static_cast<std::size_t>(length);
    }
    pending_.erase(0, at);
    return latin1;
}
