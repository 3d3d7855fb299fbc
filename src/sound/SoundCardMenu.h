#pragma once
// The SoundCard menu: the radio group No Sound, Auto Mode and Card 1..4 that
// sets soundCardID, the Setup item that opens the frequency dialog, and the
// graying of the card items while the transmitter is on. The choice is only
// recorded; transmitter-on and the PSK31 mode act on it. Window thread only.

#include <functional>

class Controls;
struct ProgramState;

struct SoundMenuItem {
    int commandId;  // 0 for a separator
    const char* text;
};

// Top to bottom, as the window builds the menu.
extern const SoundMenuItem kSoundMenuItems[10];

class SoundCardMenu {
public:
    // `runSetup` shows the frequency dialog modally (window code).
    SoundCardMenu(ProgramState& state, Controls& window, std::function<void()> runSetup)
        : state_(state), window_(window), runSetup_(std::move(runSetup)) {}

    // A command of this menu; false for any other id (and for the note item,
    // which has no handler).
    bool handle(int commandId);
    void ChooseCard(int commandId);
    // Grays (false) or enables the six card items: transmitter-on and -off.
    void EnableCardItems(bool enabled);
    // Start-up: the card as the initialization file stored it (-1, 1..4;
    // anything else keeps its value with No Sound checked), or none stored.
    void RestoreStoredCard(int storedValue);
    void RestoreNoStoredCard();

private:
    ProgramState& state_;
    Controls& window_;
    std::function<void()> runSetup_;
};
