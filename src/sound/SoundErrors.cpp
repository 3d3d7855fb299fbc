#include "sound/SoundErrors.h"

#include <map>

namespace {

const std::map<int, const char*>& errorTexts() {
    static const std::map<int, const char*> texts = {
        {0, ""},
        {2, "Device ID out of range"},
        {3, "Driver failed enable"},
        {4, "Device already allocated"},
        {5, "Device handle is invalid"},
        {6, "No device driver present"},
        {7, "mmsystem memory allocation error"},
        {8, "Function isn't supported"},
        {9, "Error value out of range"},
        {10, "Invalid flag passed"},
        {11, "Invalid parameter passed"},
        {12, "Handle being used"},
        {100, "Memory Allocation error"},
        {101, "Can't open wave file for input"},
        {102, "File is not a RIFF wave type"},
        {103, "Invalid wave file"},
        {104, "No data in file"},
        {105, "Not a supported data type"},
        {106, "Error reading data from file"},
        {107, "Tried to read and file is not open"},
        {108, "Can't open wave file for input"},
        {109, "Error writing to wave file"},
        {110, "Tried to write and file is not open"},
        {111, "Tried to read and soundcard is not open"},
        {112, "Input buffers overflowed"},
        {113, "Timed out waiting for input buffers"},
        {114, "Tried to write and soundcard is not open"},
        {115, "Output buffers Underflowed"},
        {116, "Timed out waiting for output buffers"},
    };
    return texts;
}

}  // namespace

std::string SoundErrorText(int code) {
    auto found = errorTexts().find(code);
    return found != errorTexts().end() ? found->second : "??? Maybe Input being used at\n a different sample rate";
}
