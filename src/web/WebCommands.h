#pragma once
// The commands a browser may give, by name, and the window's button or menu
// item each stands for; the window runs them as it runs its own. Pure.

#include <optional>
#include <string>

// enable, disable, transmitter-on, transmitter-off, pause, resume, cancel,
// reload, send-next, send-cwid; nothing for any other name.
std::optional<int> WebCommandId(const std::string& name);
