#pragma once
// A message box where nobody can answer it: the caption and text go to
// standard error and the default answer is taken (OK, or Yes for a question).

#include <string>

#include "platform/Controls.h"

MessageAnswer HeadlessMessageBox(const std::string& text, const std::string& caption,
                                 MessageButtons buttons);
