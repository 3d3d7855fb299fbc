#pragma once
// Words of a line as the schedule, the queue and the file boxes read them:
// runs of characters between blanks, tabs and line ends.

#include <cstddef>
#include <string_view>
#include <string>
#include <vector>

// The first `limit` words of a text.
std::vector<std::string> SplitWords(std::string_view text, std::size_t limit = 3);
