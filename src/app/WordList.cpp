#include "app/WordList.h"

std::shared_ptr<const WordList::Words> WordList::words() const {
    std::lock_guard<std::mutex> hold(lock_);
    return words_;
}

int WordList::count() const { return static_cast<int>(words()->size()); }

void WordList::replace(Words words) {
    auto fresh = std::make_shared<const Words>(std::move(words));
    std::lock_guard<std::mutex> hold(lock_);
    words_ = std::move(fresh);
}
