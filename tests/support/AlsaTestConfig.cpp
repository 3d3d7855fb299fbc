#include "support/AlsaTestConfig.h"

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

AlsaTestConfig::AlsaTestConfig(const std::string& wavPath) {
    std::string path = (std::filesystem::current_path() / "asoundrc").string();
    WriteBinaryFile(path,
                    "pcm.!default {\n"
                    "  type file\n"
                    "  slave.pcm { type null }\n"
                    "  file \"" + std::filesystem::absolute(wavPath).string() + "\"\n"
                    "  format \"wav\"\n"
                    "}\n"
                    "pcm.mulawonly {\n"
                    "  type mulaw\n"
                    "  slave { pcm { type null } format S16_LE }\n"
                    "}\n");
    if (const char* previous = std::getenv("ALSA_CONFIG_PATH")) {
        previous_ = previous;
        hadPrevious_ = true;
    }
    ::setenv("ALSA_CONFIG_PATH", path.c_str(), 1);
}

AlsaTestConfig::~AlsaTestConfig() {
    if (hadPrevious_) ::setenv("ALSA_CONFIG_PATH", previous_.c_str(), 1);
    else ::unsetenv("ALSA_CONFIG_PATH");
}
