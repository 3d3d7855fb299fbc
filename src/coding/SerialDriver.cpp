#include "coding/SerialDriver.h"

#include <cstdlib>

LineSettings ComputeLineSettings(float baud, int parity, int byteSize, int stopBitsCode) {
    LineSettings settings;
    settings.speed = baud > 0 ? static_cast<unsigned>(baud) : 0;
    settings.dataBits = byteSize;
    settings.twoStopBits = stopBitsCode != 0;
    settings.parity = parity;
    return settings;
}

std::string DevicePathForPort(const std::string& portName) {
    if (portName.size() == 4 && portName.compare(0, 3, "COM") == 0 && portName[3] >= '1' &&
        portName[3] <= '8') {
        std::string variable = "TARVIK_" + portName;
        if (const char* override = std::getenv(variable.c_str())) return override;
        return "/dev/ttyS" + std::to_string(portName[3] - '1');
    }
    return portName;
}
