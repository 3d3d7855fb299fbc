#include "sound/SoundDeviceName.h"

#include <cstdlib>

#include "sound/AlsaOutput.h"
#include "sound/WavFileOutput.h"

namespace {
constexpr const char kWavPrefix[] = "wav:";
}

std::string SoundDeviceName(int deviceId) {
    std::string variable = "TARVIK_SOUND";
    if (deviceId >= 0) variable += std::to_string(deviceId + 1);
    if (const char* chosen = std::getenv(variable.c_str()); chosen != nullptr && *chosen != '\0')
        return chosen;
    return deviceId < 0 ? "default" : "plughw:" + std::to_string(deviceId);
}

std::unique_ptr<AudioOutput> MakeAudioOutput(const std::string& name) {
    if (name.rfind(kWavPrefix, 0) == 0)
        return std::make_unique<WavFileOutput>(name.substr(sizeof kWavPrefix - 1));
    return std::make_unique<AlsaOutput>(name);
}
