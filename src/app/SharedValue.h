#pragma once
// A value of the program state that is replaced whole on one thread while others
// read it: readers take a copy under a small lock (for shared_ptr values, a
// reference to the version they started with).

#include <mutex>
#include <utility>

template <typename T>
class SharedValue {
public:
    SharedValue() = default;
    explicit SharedValue(T initial) : value_(std::move(initial)) {}
    SharedValue(const SharedValue&) = delete;
    SharedValue& operator=(const SharedValue&) = delete;

    T get() const {
        std::lock_guard<std::mutex> hold(lock_);
        return value_;
    }

    void set(T value) {
        std::lock_guard<std::mutex> hold(lock_);
        value_ = std::move(value);
    }

private:
    mutable std::mutex lock_;
    T value_{};
};
