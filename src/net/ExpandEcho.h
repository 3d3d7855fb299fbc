#pragma once
// ExpandEcho: the caret macros as a chat user sees them. A caret and the
// macro letter after it are echoed as DEL (127); the macro's bells or date
// and time text go to that user's socket alone. The pending caret is one
// flag for all chat sessions, as the station has always kept it. Runs on
// the session's thread.

class Clock;
class SessionSocket;
struct ProgramState;

constexpr int kEchoTaken = 127;

int ExpandEcho(int c, SessionSocket& socket, ProgramState& state, const Clock& clock);
