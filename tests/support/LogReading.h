#pragma once
// The log as a test reads it back from the window's log list: the message
// part of each line, after its time and " > ".

#include <string>
#include <vector>

class FakeControls;

std::vector<std::string> LogMessages(FakeControls& window);
// From the first message equal to `first` on; empty when there is none.
std::vector<std::string> LogMessagesFrom(FakeControls& window, const std::string& first);
bool Logged(FakeControls& window, const std::string& message);
int TimesLogged(FakeControls& window, const std::string& message);
