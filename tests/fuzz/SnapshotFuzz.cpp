// Tarvik.cfg with any bytes in it, restored from the menu.

#include "FuzzStation.h"
#include "config/ConfigurationSnapshot.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    Station& station = fuzz.fixture.station;
    WriteBinaryFile(ConfigurationSnapshot::kFileName, std::string(InputBytes(data, size)));
    ConfigurationSnapshot(fuzz.fixture.state, station.log, fuzz.fixture.window, station.soundMenu,
                          [&] { station.recipients.SyncRecipientMenu(); })
        .RestoreFromMenu();
    fuzz.tidy();
    return 0;
}
