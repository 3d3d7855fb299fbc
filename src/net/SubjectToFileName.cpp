#include "net/SubjectToFileName.h"

#include <string_view>

namespace {
constexpr std::size_t kSubjectNameLength = 58;
constexpr std::string_view kReplacedBySign = "/\\:*?\"<>|[]=!%^&*()+=|}{;?/><`~";
}  // namespace

std::string SubjectToFileName(std::string text) {
    if (text.size() > kSubjectNameLength) text.resize(kSubjectNameLength);
    for (char& c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == ' ') c = '_';
        else if (kReplacedBySign.find(c) != std::string_view::npos || u < 32 || u > 126) c = '$';
    }
    // A leading '$' would make the queue run the name as a script command.
    if (!text.empty() && text.front() == '$') text.front() = '_';
    return text + ".txt";
}
