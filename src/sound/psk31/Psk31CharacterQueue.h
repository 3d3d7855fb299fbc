#pragma once
// The PSK31 library's queue of characters and control requests: filled by
// the sending thread (window or session), emptied by the output thread, which
// takes an entry when it begins to send it. Every operation is whole.

#include <deque>
#include <mutex>
#include <optional>

struct Psk31Entry {
    int code;
    int control;  // 0 a character, 1 a control request
};

class Psk31CharacterQueue {
public:
    void push(Psk31Entry entry);
    std::optional<Psk31Entry> take();
    int size() const;
    // Drops every waiting entry; returns how many there were.
    int clear();

private:
    mutable std::mutex lock_;
    std::deque<Psk31Entry> entries_;
};
