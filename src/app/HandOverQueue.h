#pragma once
// The hand-over of codes from the sending thread (window or session) to the
// modulator thread: a count 0..99 and code slots 1..99. The sender appends, the
// modulator takes from slot 1; each step is whole with respect to the other.

#include <array>
#include <mutex>

class HandOverQueue {
public:
    static constexpr int kSlots = 99;

    int count() const;
    // n = count + 1, at most 99; slot n receives the code (a full queue replaces slot 99).
    void append(int code);
    // Slot 1, the rest moving down one place; 0 (an idle frame) when empty.
    int takeFirst();
    void clear();

private:
    mutable std::mutex lock_;
    int count_ = 0;
    std::array<int, kSlots + 1> slots_{};  // index 0 unused, as the station numbers slots from 1
};
