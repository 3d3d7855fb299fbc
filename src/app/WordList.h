#pragma once
// A screening word list: rebuilt aside by the initialization file reader and
// swapped in whole, so a screening pass on a session thread never sees it half built.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class WordList {
public:
    static constexpr int kMaxWords = 500;
    using Words = std::vector<std::string>;

    std::shared_ptr<const Words> words() const;
    int count() const;
    void replace(Words words);

private:
    mutable std::mutex lock_;
    std::shared_ptr<const Words> words_ = std::make_shared<const Words>();
};
