// Tarvik.ini with any bytes in it, read as at start-up.

#include "FuzzStation.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    WriteBinaryFile("Tarvik.ini", std::string(InputBytes(data, size)));
    fuzz.fixture.station.ini.Read(false);
    fuzz.tidy();
    return 0;
}
