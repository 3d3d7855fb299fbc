#include "net/FlowedText.h"

#include <vector>

namespace {

struct FlowedLine {
    std::size_t depth = 0;
    std::string text;
    bool soft = false;
};

FlowedLine parseLine(std::string_view line, bool deleteSpace) {
    FlowedLine parsed;
    while (parsed.depth < line.size() && line[parsed.depth] == '>') ++parsed.depth;
    line.remove_prefix(parsed.depth);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    // The signature separator "-- " is never a soft break.
    parsed.soft = !line.empty() && line.back() == ' ' && line != "-- ";
    if (parsed.soft && deleteSpace) line.remove_suffix(1);
    parsed.text = std::string(line);
    return parsed;
}

std::string quoted(std::size_t depth, const std::string& text) {
    if (depth == 0) return text;
    return std::string(depth, '>') + " " + text;
}

}  // namespace

std::string UnflowText(std::string_view text, bool deleteSpace) {
    std::string out;
    std::string paragraph;
    std::size_t depth = 0;
    bool open = false;
    auto close = [&] {
        if (open) out += quoted(depth, paragraph) + "\n";
        paragraph.clear();
        open = false;
    };
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        FlowedLine line = parseLine(raw, deleteSpace);
        // A soft break followed by another quote depth is a hard one after all.
        if (open && line.depth != depth) close();
        depth = line.depth;
        paragraph += line.text;
        open = true;
        if (!line.soft) close();
    }
    close();
    return out;
}
