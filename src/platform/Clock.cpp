#include "platform/Clock.h"

std::tm Clock::localNow() const {
    std::time_t seconds = nowSeconds();
    std::tm broken{};
    localtime_r(&seconds, &broken);
    return broken;
}

std::tm Clock::utcNow() const {
    std::time_t seconds = nowSeconds();
    std::tm broken{};
    gmtime_r(&seconds, &broken);
    return broken;
}
