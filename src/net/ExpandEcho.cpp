#include "net/ExpandEcho.h"

#include <string>

#include "app/ProgramState.h"
#include "net/SessionSocket.h"
#include "transmit/MacroTexts.h"

int ExpandEcho(int c, SessionSocket& socket, ProgramState& state, const Clock& clock) {
    if (c == '^') {
        state.echoMacroPending = 1;
        return kEchoTaken;
    }
    if (state.echoMacroPending.exchange(0) == 0) return c;
    if (c >= '1' && c <= '9') {
        socket.send(std::string(static_cast<std::size_t>(c - '0'), '\a'));
        return kEchoTaken;
    }
    std::string text;
    if (!MacroText(c, clock, text)) return c;
    socket.send(text);
    return kEchoTaken;
}
