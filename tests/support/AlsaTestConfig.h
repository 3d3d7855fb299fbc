#pragma once
// ALSA for a test: a configuration file in the current directory in which
// "default" is a file PCM writing a WAV file on a null slave (which takes
// samples as fast as they come), and "mulawonly" a device that refuses
// 16-bit samples. ALSA_CONFIG_PATH points at it until the object goes.

#include <string>

class AlsaTestConfig {
public:
    explicit AlsaTestConfig(const std::string& wavPath);
    ~AlsaTestConfig();
    AlsaTestConfig(const AlsaTestConfig&) = delete;
    AlsaTestConfig& operator=(const AlsaTestConfig&) = delete;

    static constexpr const char* kRefusingDevice = "mulawonly";

private:
    std::string previous_;
    bool hadPrevious_ = false;
};
