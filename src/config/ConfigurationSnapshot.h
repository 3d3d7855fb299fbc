#pragma once
// Tarvik.cfg: the settings record saved on the operator's command and read
// back on command and at start-up, overriding the initialization file. One
// field a line, value padded to 15 characters, a tab and its label; only the
// first word of a line is read back, so the order is what counts. Window thread.

#include <functional>

class Controls;
class EventLog;
class SoundCardMenu;
struct ProgramState;

class ConfigurationSnapshot {
public:
    static constexpr const char* kFileName = "Tarvik.cfg";
    static constexpr int kLinesRead = 34;

    ConfigurationSnapshot(ProgramState& state, EventLog& log, Controls& window, SoundCardMenu& soundMenu,
                          std::function<void()> syncRecipientMenu)
        : state_(state), log_(log), window_(window), soundMenu_(soundMenu), syncRecipientMenu_(std::move(syncRecipientMenu)) {}

    // 32834 "Save Configuration in Tarvik.CFG".
    void Save();
    // Start-up: the fields only, the sound card left in its stored form.
    void RestoreAtStartUp();
    // 32839 "Restore Configuration from Tarvik.CFG ": the card checked and in its running form.
    void RestoreFromMenu();

private:
    bool restoreFields();

    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    SoundCardMenu& soundMenu_;
    std::function<void()> syncRecipientMenu_;
};
