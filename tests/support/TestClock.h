#pragma once
// A clock that stands where a test puts it.

#include <atomic>
#include <ctime>

#include "platform/Clock.h"

// The calendar time of a local date and time, as the C library reads it under TZ.
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second);

class TestClock : public Clock {
public:
    TimePoint now() const override { return TimePoint(std::chrono::microseconds(micros_.load())); }
    void set(TimePoint at) {
        micros_ = std::chrono::duration_cast<std::chrono::microseconds>(at.time_since_epoch()).count();
    }
    // Local wall-clock time as the C library reads it under the current TZ.
    void setLocal(int year, int month, int day, int hour, int minute, int second);
    void advance(std::chrono::microseconds by) { micros_ += by.count(); }

private:
    std::atomic<long long> micros_{0};
};
