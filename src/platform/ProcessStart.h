#pragma once
// Starting outside programs without waiting for them. "notepad.exe" and the
// fixed-path editor of the station stand for the desktop's text editor here.

#include <string>

// Opens `path` in the desktop's text editor (xdg-open), detached. False when
// the editor could not be started; callers stay silent about it.
bool OpenInTextEditor(const std::string& path);
