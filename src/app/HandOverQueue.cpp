#include "app/HandOverQueue.h"

int HandOverQueue::count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return count_;
}

void HandOverQueue::append(int code) {
    std::lock_guard<std::mutex> hold(lock_);
    int n = count_ + 1;
    if (n > kSlots) n = kSlots;
    count_ = n;
    slots_[n] = code;
}

int HandOverQueue::takeFirst() {
    std::lock_guard<std::mutex> hold(lock_);
    if (count_ <= 0) {
        count_ = 0;
        return 0;
    }
    int code = slots_[1];
    for (int i = 1; i < count_; ++i) slots_[i] = slots_[i + 1];
    --count_;
    if (count_ == 0) slots_[1] = 0;
    return code;
}

void HandOverQueue::clear() {
    std::lock_guard<std::mutex> hold(lock_);
    count_ = 0;
}
