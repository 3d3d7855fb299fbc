// A character dictionary with any bytes in it, loaded and then used to code
// every character in every line mode.

#include "FuzzStation.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    CharacterEncoder& encoder = fuzz.fixture.station.encoder;
    WriteBinaryFile("IntCharDict.txt", std::string(InputBytes(data, size)));
    if (encoder.LoadIntCharDict("IntCharDict.txt"))
        for (int mode : {kModeIta2, kModeTelex, kModeMilitary})
            for (int character = -128; character < 128; ++character) encoder.EncodeChar(character, mode);
    fuzz.tidy();
    return 0;
}
