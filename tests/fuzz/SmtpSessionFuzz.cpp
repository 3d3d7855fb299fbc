// An SMTP client's bytes, whatever they are, served by one session. The
// first byte picks the port: '2' the secondary, anything else the primary.

#include "FuzzStation.h"
#include "net/SmtpSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    Station& station = fuzz.fixture.station;
    std::string_view input = InputBytes(data, size);
    const int variant = !input.empty() && input[0] == '2' ? SmtpSession::kSecondary : SmtpSession::kPrimary;
    if (!input.empty()) input.remove_prefix(1);
    fuzz.serve(input, [&](SessionSocket& socket) {
        SmtpSession({fuzz.fixture.state, station.log, station.network.store(), fuzz.fixture.limits,
                     station.network.hostName()},
                    socket, variant)
            .Run();
    });
    fuzz.tidy();
    return 0;
}
