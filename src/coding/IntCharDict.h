#pragma once
// The character dictionary: replacement texts for the characters 128..255,
// read from a text file such as "IntCharDict.txt". A dictionary never changes
// once built; a reload builds a new one aside and the program state's pointer
// is swapped to it whole, so an encoder on any thread reads one consistent
// version for as long as it holds it.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

class IntCharDict {
public:
    // Each line read with a buffer of this size (longer lines come in pieces).
    static constexpr std::size_t kLineBuffer = 512;

    // The dictionary of the file at `path`; null when it cannot be opened.
    static std::shared_ptr<const IntCharDict> FromFile(const std::string& path);

    // One line of the file: "KEY TEXT", "//" comments, the first blank
    // separating. False when the line holds no entry.
    static bool ParseLine(std::string_view line, int& key, std::string& text);

    // A key seen before gets the new text.
    void insert(int key, std::string text);
    // True and the replacement text when `key` is in the dictionary.
    bool lookup(int key, std::string& text) const;
    std::size_t size() const { return entries_.size(); }

private:
    std::unordered_map<int, std::string> entries_;
};
