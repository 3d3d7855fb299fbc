#include "coding/PskStartReport.h"

#include <cstdio>
#include <map>

#include "app/EventLog.h"
#include "platform/Controls.h"

namespace {

const std::map<int, const char*>& errorTexts() {
    static const std::map<int, const char*> texts = {
        {10, "Tried to read and soundcard is not open"},
        {12, "Input buffers over-flowed"},
        {13, "Timed out waiting for input buffers"},
        {14, "Tried to write and soundcard is not open"},
        {15, "Output buffers under-flowed"},
        {16, "Timed out waiting for output buffers"},
        {17, "Card doesn't support 16bit, 8000Hz, Mono format"},
        {18, "Still something playing on soundcard"},
        {19, "Header not prepared"},
        {20, "Device is synchronous"},
        {21, "Bad Device ID, Soundcard Not Present"},
        {22, "Driver failed to enable"},
        {23, "Device already allocated"},
        {24, "Device handle is invalid"},
        {25, "No device driver present"},
        {26, "Function isn't supported"},
        {27, "Error value out of range"},
        {28, "Invalid flag passed"},
        {29, "Invalid parameter passed"},
        {30, "Handle being used"},
        {31, "Driver does not call DriverCallback"},
        {32, "Registry error"},
        {33, "Unknown Error"},
        {34, "Can't open wave file for input"},
        {35, "File is not a RIFF wave type"},
        {36, "Invalid wave file"},
        {37, "No data in file"},
        {38, "Not a supported data type"},
        {39, "Error reading data from file"},
        {40, "Tried to read and file is not open"},
        {41, "Can't open wave file for output"},
    };
    return texts;
}

}  // namespace

std::string PskStartErrorText(int code) {
    auto found = errorTexts().find(code);
    return found != errorTexts().end() ? found->second : "Really Bad Undefined Error";
}

void ReportPskStart(int status, EventLog& log, Controls& window) {
    if (status == 0) {
        log.write("No error in starting sound card process");
        return;
    }
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "(%3i) ", status);
    window.messageBox(prefix + PskStartErrorText(status), "FATAL - Sound Card", MessageButtons::Ok,
                      MessageIcon::Error);
}
