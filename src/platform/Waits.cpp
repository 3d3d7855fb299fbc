#include "platform/Waits.h"

void Waits::WaitSeconds(int n) { waitOn(timerTick_, n); }

void Waits::WaitTicks(int n) { waitOn(morseTick_, n); }

void Waits::waitOn(std::atomic<int32_t>& counter, int n) {
    counter = 0;
    while (counter < n && !closingDown_) pump_.pumpUntilEvent();
}
