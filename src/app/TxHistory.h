#pragma once
// The last 256 characters put on the line, shared by the file transmitter and the
// chat sessions (which show it to every user). The write index is 16-bit, kept
// modulo 256.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

class TxHistory {
public:
    static constexpr int kSize = 256;

    void record(char ch);
    uint16_t index() const;
    // Every slot in ring order starting at the write index: the oldest first.
    std::string inOrder() const;
    char at(int slot) const;

private:
    mutable std::mutex lock_;
    std::array<char, kSize> ring_{};
    uint16_t index_ = 0;
};
