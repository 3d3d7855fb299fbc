#include "app/TxHistory.h"

void TxHistory::record(char ch) {
    std::lock_guard<std::mutex> hold(lock_);
    ring_[index_] = ch;
    index_ = static_cast<uint16_t>((index_ + 1) % kSize);
}

uint16_t TxHistory::index() const {
    std::lock_guard<std::mutex> hold(lock_);
    return index_;
}

std::string TxHistory::inOrder() const {
    std::lock_guard<std::mutex> hold(lock_);
    std::string out;
    out.reserve(kSize);
    for (int i = 0; i < kSize; ++i) out.push_back(ring_[(index_ + i) % kSize]);
    return out;
}

char TxHistory::at(int slot) const {
    std::lock_guard<std::mutex> hold(lock_);
    return ring_[static_cast<unsigned>(slot) % kSize];
}
