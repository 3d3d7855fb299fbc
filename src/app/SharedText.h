#pragma once
// A text field of the program state that several threads read while the window
// thread may change it. Stored whole under a small lock and cut to its array size
// less one, as the fixed character arrays of the station were.

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

template <std::size_t Capacity>
class SharedText {
public:
    static constexpr std::size_t capacity = Capacity;

    SharedText() = default;
    SharedText(std::string_view initial) { set(initial); }
    SharedText(const SharedText&) = delete;
    SharedText& operator=(const SharedText&) = delete;

    SharedText& operator=(std::string_view text) {
        set(text);
        return *this;
    }

    void set(std::string_view text) {
        std::lock_guard<std::mutex> hold(lock_);
        value_.assign(text.substr(0, Capacity - 1));
    }

    std::string get() const {
        std::lock_guard<std::mutex> hold(lock_);
        return value_;
    }

    operator std::string() const { return get(); }
    bool operator==(std::string_view other) const { return get() == other; }

private:
    mutable std::mutex lock_;
    std::string value_;
};
