// A chat user's bytes, whatever they are: the name dialogue, then lines for the air.

#include <atomic>

#include "FuzzStation.h"
#include "net/ChatSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    Station& station = fuzz.fixture.station;
    static const std::atomic<bool> stopping{false};
    TelnetParts parts{fuzz.fixture.state, station.log,   fuzz.fixture.window,          fuzz.fixture.clock,
                      station.waits,      station.encoder, station.router,             station.transmitter,
                      station.line,       station.queue,   station.network.chatUsers(),
                      fuzz.fixture.limits, stopping};
    fuzz.serve(InputBytes(data, size),
               [&](SessionSocket& socket) { ChatSession(parts, socket, "127.000.000.001").Run(); });
    fuzz.tidy();
    return 0;
}
