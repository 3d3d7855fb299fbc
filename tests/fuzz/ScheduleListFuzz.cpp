// A schedule list with any bytes in it, read into the queue. The first byte
// picks the list: 't' schedule_temp.lst, anything else schedule.lst.

#include "FuzzStation.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzStation& fuzz = FuzzStation::get();
    std::string_view input = InputBytes(data, size);
    const bool temporary = !input.empty() && input[0] == 't';
    if (!input.empty()) input.remove_prefix(1);
    const std::string path = temporary ? fuzz.fixture.state.scheduleTempPath.get() : fuzz.fixture.state.scheduleListPath.get();
    WriteBinaryFile("data/" + path.substr(path.find('\\') + 1), std::string(input));
    fuzz.fixture.station.schedule.GetSchedule(path);
    fuzz.tidy();
    return 0;
}
