#include "coding/IntCharDict.h"

#include <climits>

#include "platform/TextFile.h"

namespace {

// White space as the C library's isspace() sees it in the "C" locale.
bool isWhite(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

std::string_view skipWhite(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isWhite(text[start])) ++start;
    return text.substr(start);
}

// Leading decimal digits; none gives 0. A number too large for an int
// stays at the largest int, which is never looked up.
int leadingNumber(std::string_view text) {
    long long value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        value = value * 10 + (ch - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

}  // namespace

bool IntCharDict::ParseLine(std::string_view line, int& key, std::string& text) {
    // The line is a C text: it ends at a NUL.
    line = line.substr(0, line.find('\0'));
    line = skipWhite(line);
    if (line.empty() || line.substr(0, 2) == "//") return false;
    line = line.substr(0, line.find("//"));
    line = line.substr(0, line.find('\n'));
    std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return false;
    std::string_view rest = skipWhite(line.substr(blank + 1));
    if (rest.empty()) return false;
    key = leadingNumber(line.substr(0, blank));
    text.assign(rest);
    return true;
}

std::shared_ptr<const IntCharDict> IntCharDict::FromFile(const std::string& path) {
    TextFileReader file;
    if (!file.open(path)) return nullptr;
    auto dict = std::make_shared<IntCharDict>();
    std::string line;
    while (file.readLine(line, kLineBuffer)) {
        int key = 0;
        std::string text;
        if (ParseLine(line, key, text)) dict->insert(key, std::move(text));
    }
    file.close();
    return dict;
}

void IntCharDict::insert(int key, std::string text) { entries_[key] = std::move(text); }

bool IntCharDict::lookup(int key, std::string& text) const {
    auto found = entries_.find(key);
    if (found == entries_.end()) return false;
    text = found->second;
    return true;
}
