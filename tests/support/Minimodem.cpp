#include "support/Minimodem.h"

#include <cstdio>

std::string MinimodemRtty(const std::string& wavPath, double baud, double mark, double space) {
    char command[512];
    std::snprintf(command, sizeof command,
                  "minimodem --rx --quiet --baudot --stopbits 1.5 -M %.2f -S %.2f -f '%s' %.2f 2>/dev/null", mark,
                  space, wavPath.c_str(), baud);
    std::string text;
    FILE* output = ::popen(command, "r");
    if (output == nullptr) return text;
    char block[256];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, output)) > 0;) text.append(block, got);
    ::pclose(output);
    return text;
}
