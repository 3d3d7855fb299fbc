#include "platform/HeadlessMessageBox.h"

#include <cstdio>

MessageAnswer HeadlessMessageBox(const std::string& text, const std::string& caption,
                                 MessageButtons buttons) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}
