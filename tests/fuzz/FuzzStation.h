#pragma once
// The station as a fuzz target meets it: one station for the whole run (a
// fresh working directory, simulated time, the serial line on a
// pseudo-terminal, network limits short enough that no input can hold a
// session for long), and the two ways an input reaches it: as the bytes of a
// client on a socket pair that one session serves, or as a file in the
// working directory.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "support/NetFixture.h"

class SessionSocket;

class FuzzStation {
public:
    static FuzzStation& get();

    // Where the client's input begins: commands, or a message after "354".
    enum class ClientStart { Dialogue, InMessage };

    // A client sends all of `input`, closes its side and reads every reply,
    // while `session` serves the other end on a thread of its own; this
    // thread is the window thread meanwhile. Returns when the session ended.
    void serve(std::string_view input, const std::function<void(SessionSocket&)>& session,
               ClientStart start = ClientStart::Dialogue);

    // Clears what an input left: message files, queue entries, log files.
    void tidy();

    NetFixture fixture;

private:
    FuzzStation();
    void removeMessageFiles();
};

inline std::string_view InputBytes(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
