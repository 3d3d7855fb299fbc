#pragma once
// The fields of a multipart/form-data body, as a browser's upload form sends
// them: each field's name, the file name it carries (if any) and its bytes.
// Pure.

#include <optional>
#include <string>
#include <vector>

struct FormPart {
    std::string name;
    std::string fileName;
    std::string body;
};

// Nothing when the body is not the multipart form its content type announces.
std::optional<std::vector<FormPart>> ReadFormParts(const std::string& contentType, const std::string& body);
