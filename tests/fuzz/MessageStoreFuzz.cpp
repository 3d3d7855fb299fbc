// The bytes after "354 Send Data", whatever they are, stored as a message.

#include "FuzzStation.h"
#include "net/MessageStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    fuzz.serve(
        InputBytes(data, size),
        [&](SessionSocket& socket) {
            std::string name;
            fuzz.fixture.station.network.store().StoreDataMessage(socket, name);
        },
        FuzzStation::ClientStart::InMessage);
    fuzz.tidy();
    return 0;
}
