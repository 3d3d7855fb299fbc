#include "web/FormParts.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A parameter of a header value ("boundary=x", "name=\"file\""), quoted or not.
std::optional<std::string> parameter(const std::string& header, const std::string& key) {
    const std::string lower = lowerCase(header);
    std::size_t at = 0;
    while ((at = lower.find(key + "=", at)) != std::string::npos) {
        bool startsWord = at == 0 || lower[at - 1] == ';' || lower[at - 1] == ' ';
        at += key.size() + 1;
        if (!startsWord) continue;
        if (at < header.size() && header[at] == '"') {
            std::size_t end = header.find('"', at + 1);
            if (end == std::string::npos) return std::nullopt;
            return header.substr(at + 1, end - at - 1);
        }
        return header.substr(at, header.find(';', at) - at);
    }
    return std::nullopt;
}

std::optional<FormPart> readPart(const std::string& part) {
    std::size_t headersEnd = part.find("\r\n\r\n");
    if (headersEnd == std::string::npos) return std::nullopt;
    FormPart field;
    std::size_t lineStart = 0;
    while (lineStart < headersEnd) {
        std::size_t lineEnd = part.find("\r\n", lineStart);
        std::string line = part.substr(lineStart, lineEnd - lineStart);
        if (lowerCase(line).rfind("content-disposition:", 0) == 0) {
            field.name = parameter(line, "name").value_or("");
            field.fileName = parameter(line, "filename").value_or("");
        }
        lineStart = lineEnd + 2;
    }
    field.body = part.substr(headersEnd + 4);
    return field;
}

}  // namespace

std::optional<std::vector<FormPart>> ReadFormParts(const std::string& contentType, const std::string& body) {
    std::optional<std::string> boundary = parameter(contentType, "boundary");
    if (!boundary || boundary->empty()) return std::nullopt;
    const std::string delimiter = "--" + *boundary;
    if (body.rfind(delimiter + "\r\n", 0) != 0) return std::nullopt;
    std::vector<FormPart> parts;
    std::size_t start = delimiter.size() + 2;
    for (;;) {
        std::size_t end = body.find("\r\n" + delimiter, start);
        if (end == std::string::npos) return std::nullopt;
        std::optional<FormPart> part = readPart(body.substr(start, end - start));
        if (!part) return std::nullopt;
        parts.push_back(std::move(*part));
        start = end + 2 + delimiter.size();
        if (body.compare(start, 2, "--") == 0) return parts;
        if (body.compare(start, 2, "\r\n") != 0) return std::nullopt;
        start += 2;
    }
}
