#include "net/HtmlText.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "net/Latin1Text.h"

namespace {

constexpr unsigned char kNoBreakSpace = 0xA0;

struct NamedEntity {
    std::string_view name;
    char32_t point;
};

constexpr NamedEntity kEntities[] = {
    {"nbsp", ' '},      {"amp", '&'},        {"lt", '<'},         {"gt", '>'},         {"quot", '"'},
    {"apos", '\''},     {"copy", 0xA9},      {"reg", 0xAE},       {"deg", 0xB0},       {"plusmn", 0xB1},
    {"micro", 0xB5},    {"middot", 0xB7},    {"laquo", 0xAB},     {"raquo", 0xBB},     {"frac12", 0xBD},
    {"times", 0xD7},    {"divide", 0xF7},    {"pound", 0xA3},     {"sect", 0xA7},      {"iexcl", 0xA1},
    {"iquest", 0xBF},   {"Agrave", 0xC0},    {"Aacute", 0xC1},    {"Acirc", 0xC2},     {"Auml", 0xC4},
    {"Aring", 0xC5},    {"AElig", 0xC6},     {"Ccedil", 0xC7},    {"Egrave", 0xC8},    {"Eacute", 0xC9},
    {"Ecirc", 0xCA},    {"Ntilde", 0xD1},    {"Ouml", 0xD6},      {"Oslash", 0xD8},    {"Uuml", 0xDC},
    {"szlig", 0xDF},    {"agrave", 0xE0},    {"aacute", 0xE1},    {"acirc", 0xE2},     {"auml", 0xE4},
    {"aring", 0xE5},    {"aelig", 0xE6},     {"ccedil", 0xE7},    {"egrave", 0xE8},    {"eacute", 0xE9},
    {"ecirc", 0xEA},    {"euml", 0xEB},      {"iacute", 0xED},    {"ntilde", 0xF1},    {"oacute", 0xF3},
    {"ocirc", 0xF4},    {"ouml", 0xF6},      {"oslash", 0xF8},    {"uacute", 0xFA},    {"uuml", 0xFC},
    {"euro", 0x20AC},   {"ndash", 0x2013},   {"mdash", 0x2014},   {"lsquo", 0x2018},   {"rsquo", 0x2019},
    {"ldquo", 0x201C},  {"rdquo", 0x201D},   {"hellip", 0x2026},  {"bull", 0x2022},    {"trade", 0x2122},
};

// Elements whose start or end is a line end.
constexpr std::string_view kBlockElements[] = {
    "p",  "div", "li",  "tr",         "h1",   "h2",      "h3",      "h4",     "h5",     "h6",
    "ul", "ol",  "dl",  "dt",         "dd",   "table",   "blockquote", "hr", "pre",    "section",
    "article", "header", "footer", "address", "center", "form", "fieldset", "nav", "main", "aside",
};

// Elements whose content is not shown.
constexpr std::string_view kHiddenElements[] = {"head", "script", "style", "title", "template"};

template <std::size_t N>
bool among(const std::string_view (&names)[N], std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A non-breaking space is shown as a blank.
std::string latin1Of(char32_t point) { return point == kNoBreakSpace ? " " : Latin1FromCodePoint(point); }

// The entity at `html` (which starts with '&') and its length; nothing when
// it is none the station knows, and the '&' stands as written.
bool decodeEntity(std::string_view html, std::string& text, std::size_t& length) {
    std::size_t end = html.find(';');
    if (end == std::string_view::npos || end > 12) return false;
    std::string_view name = html.substr(1, end - 1);
    length = end + 1;
    if (name.size() > 1 && name[0] == '#') {
        bool hex = name[1] == 'x' || name[1] == 'X';
        std::string digits(name.substr(hex ? 2 : 1));
        char* stop = nullptr;
        unsigned long point = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
        if (digits.empty() || *stop != '\0') return false;
        text = latin1Of(static_cast<char32_t>(std::min<unsigned long>(point, 0x110000)));
        return true;
    }
    for (const NamedEntity& entity : kEntities) {
        if (entity.name == name) {
            text = latin1Of(entity.point);
            return true;
        }
    }
    return false;
}

class HtmlReader {
public:
    explicit HtmlReader(std::string_view html) : html_(html) {}

    std::string text() {
        while (at_ < html_.size()) {
            if (html_[at_] == '<') tag();
            else if (html_[at_] == '&') entity();
            else character(html_[at_++]);
        }
        return tidy(out_);
    }

private:
    void tag() {
        if (html_.compare(at_, 4, "<!--") == 0) {
            std::size_t end = html_.find("-->", at_ + 4);
            at_ = end == std::string_view::npos ? html_.size() : end + 3;
            return;
        }
        std::size_t end = html_.find('>', at_);
        if (end == std::string_view::npos) {
            at_ = html_.size();
            return;
        }
        std::string_view inside = html_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        bool closing = !inside.empty() && inside.front() == '/';
        if (closing) inside.remove_prefix(1);
        std::size_t nameEnd = inside.find_first_of(" \t\r\n/");
        std::string name = lowerCase(inside.substr(0, nameEnd));
        if (!closing && among(kHiddenElements, name)) skipContent(name);
        else if (name == "br") out_ += '\n';
        else if (name == "td" || name == "th") blank();
        else if (among(kBlockElements, name)) lineEnd();
        if (name == "pre") preformatted_ = !closing;
    }

    void skipContent(const std::string& name) {
        const std::string end = "</" + name;
        for (std::size_t at = html_.find('<', at_); at != std::string_view::npos; at = html_.find('<', at + 1)) {
            if (lowerCase(html_.substr(at, end.size())) != end) continue;
            std::size_t close = html_.find('>', at);
            at_ = close == std::string_view::npos ? html_.size() : close + 1;
            return;
        }
        at_ = html_.size();
    }

    void entity() {
        std::string text;
        std::size_t length = 0;
        if (!decodeEntity(html_.substr(at_), text, length)) {
            character(html_[at_++]);
            return;
        }
        at_ += length;
        for (char c : text) character(c, true);
    }

    // An entity's blank (&nbsp;) is kept as written; the markup's own blanks collapse.
    void character(char c, bool fromEntity = false) {
        bool white = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (static_cast<unsigned char>(c) == kNoBreakSpace) {
            out_ += ' ';
        } else if (preformatted_ || fromEntity || !white) {
            out_ += c;
        } else {
            blank();
        }
    }

    void blank() {
        if (!out_.empty() && out_.back() != ' ' && out_.back() != '\n') out_ += ' ';
    }

    void lineEnd() {
        if (!out_.empty() && out_.back() != '\n') out_ += '\n';
    }

    // Lines without trailing blanks, no more than one empty line in a row,
    // none at the start or the end.
    static std::string tidy(const std::string& text) {
        std::string out;
        int emptyLines = 0;
        std::size_t from = 0;
        while (from <= text.size()) {
            std::size_t end = std::min(text.find('\n', from), text.size());
            std::string line = text.substr(from, end - from);
            from = end + 1;
            line.erase(line.find_last_not_of(' ') + 1);
            if (line.empty()) {
                if (!out.empty() && ++emptyLines == 1) out += '\n';
                continue;
            }
            emptyLines = 0;
            out += line + '\n';
        }
        while (out.size() >= 2 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n') out.pop_back();
        return out;
    }

    std::string_view html_;
    std::size_t at_ = 0;
    std::string out_;
    bool preformatted_ = false;
};

}  // namespace

std::string HtmlToText(std::string_view html) { return HtmlReader(html).text(); }
