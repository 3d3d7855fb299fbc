#pragma once
// The report of the PSK31 library's sound card start: a log line on success,
// otherwise the "FATAL - Sound Card" box with the code and its text.

#include <string>

class Controls;
class EventLog;

// "Really Bad Undefined Error" for codes outside the table.
std::string PskStartErrorText(int code);

void ReportPskStart(int status, EventLog& log, Controls& window);
