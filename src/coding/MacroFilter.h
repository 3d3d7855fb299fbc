#pragma once
// What every character passes before the encoder codes it: the caret macro
// filter, given to the encoder by whoever assembles the station. It sends
// what a macro stands for itself. Called on the thread of the encoder's caller.

class MacroFilter {
public:
    virtual ~MacroFilter() = default;
    // The character to code: `c` itself, or '^' when the filter took it.
    virtual int ExpandMacro(int c, int mode) = 0;
    // Forgets a caret whose letter has not come yet.
    virtual void ForgetCaret() = 0;
};
