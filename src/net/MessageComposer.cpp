#include "net/MessageComposer.h"

#include <algorithm>

#include "platform/AsciiText.h"

namespace {

constexpr std::size_t kSubjectLineLength = 70;
constexpr std::size_t kSubjectTextLength = 256;
// Wrapping looks for a blank no earlier than this; without one it cuts here.
constexpr std::size_t kLowestBreak = 46;
constexpr std::size_t kHardCut = 45;
constexpr std::string_view kHeaderEnd = "\r\n";
constexpr std::string_view kEndMark = "\r\nNNNN\r\n";

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string blanksForUnderscores(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '_', ' ');
    return out;
}

// A recipient written as person!mailbox names the person on the air.
std::string rewriteTo(std::string_view line) {
    std::size_t bang = line.find('!');
    std::size_t at = line.find('@');
    if (bang == std::string_view::npos || at == std::string_view::npos || bang > at) return "To: General Delivery\n";
    return blanksForUnderscores(line.substr(0, bang)) + "\n";
}

std::string rewriteSubject(std::string_view line) {
    std::string copy = blanksForUnderscores(line);
    if (copy.size() > kSubjectLineLength) copy = copy.substr(0, kSubjectLineLength) + "\n";
    return copy;
}

// Lines with their line feeds; the last one may have none.
template <typename Each>
void forEachLine(std::string_view text, std::size_t from, Each each) {
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        end = end == std::string_view::npos ? text.size() : end + 1;
        if (!each(text.substr(from, end - from), end)) return;
        from = end;
    }
}

}  // namespace

std::optional<std::string> RewriteHeaderLine(std::string_view line) {
    if (startsWith(line, "From:")) return blanksForUnderscores(line);
    if (startsWith(line, "To:")) return rewriteTo(line);
    if (startsWith(line, "Subject:")) return rewriteSubject(line);
    if (startsWith(line, "Date:")) return std::string(line);
    return std::nullopt;
}

std::string SubjectText(std::string_view line) {
    std::size_t colon = line.find(':');
    std::size_t start = colon == std::string_view::npos ? line.size() : std::min(colon + 2, line.size());
    std::string_view text = line.substr(start);
    text = text.substr(0, LengthWithoutLineEnd(text));
    return std::string(text.substr(0, kSubjectTextLength));
}

std::string WrapBodyLine(std::string_view line, int limit) {
    if (limit <= 0 || line.find("\r\r") != std::string_view::npos ||
        LengthWithoutLineEnd(line) <= static_cast<std::size_t>(limit))
        return std::string(line);
    const std::size_t max = static_cast<std::size_t>(limit);
    std::string out;
    std::string_view rest = line;
    while (LengthWithoutLineEnd(rest) > max) {
        std::size_t blank = std::string_view::npos;
        for (std::size_t i = max; i >= kLowestBreak; --i) {
            if (rest[i] == ' ') {
                blank = i;
                break;
            }
        }
        if (blank != std::string_view::npos) {
            out.append(rest.substr(0, blank)).push_back('\n');
            rest.remove_prefix(blank + 1);
        } else {
            std::size_t cut = std::min(kHardCut, rest.size());
            out.append(rest.substr(0, cut)).push_back('\n');
            rest.remove_prefix(cut);
        }
    }
    out.append(rest);
    return out;
}

ComposedMessage ComposeMessageFile(std::string_view received, int lineLimit) {
    ComposedMessage message;
    forEachLine(received, 0, [&](std::string_view line, std::size_t next) {
        if (startsWith(line, "\n")) {
            message.text += kHeaderEnd;
            forEachLine(received, next, [&](std::string_view body, std::size_t) {
                message.text += WrapBodyLine(body, lineLimit);
                return true;
            });
            message.text += kEndMark;
            return false;
        }
        if (std::optional<std::string> kept = RewriteHeaderLine(line)) message.text += *kept;
        if (startsWith(line, "Subject:")) message.subject = SubjectText(line);
        return true;
    });
    return message;
}
