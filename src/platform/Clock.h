#pragma once
// The station's source of the current time. The program reads the system
// clock; tests fix or advance it. Local time follows TZ as the C library sees it.

#include <chrono>
#include <ctime>

class Clock {
public:
    using TimePoint = std::chrono::system_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;

    std::time_t nowSeconds() const { return std::chrono::system_clock::to_time_t(now()); }
    std::tm localNow() const;
    std::tm utcNow() const;
};

class SystemClock : public Clock {
public:
    TimePoint now() const override { return std::chrono::system_clock::now(); }
};
