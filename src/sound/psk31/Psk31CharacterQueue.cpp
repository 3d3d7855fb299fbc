#include "sound/psk31/Psk31CharacterQueue.h"

void Psk31CharacterQueue::push(Psk31Entry entry) {
    std::lock_guard<std::mutex> hold(lock_);
    entries_.push_back(entry);
}

std::optional<Psk31Entry> Psk31CharacterQueue::take() {
    std::lock_guard<std::mutex> hold(lock_);
    if (entries_.empty()) return std::nullopt;
    Psk31Entry entry = entries_.front();
    entries_.pop_front();
    return entry;
}

int Psk31CharacterQueue::size() const {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(entries_.size());
}

int Psk31CharacterQueue::clear() {
    std::lock_guard<std::mutex> hold(lock_);
    int dropped = static_cast<int>(entries_.size());
    entries_.clear();
    return dropped;
}
