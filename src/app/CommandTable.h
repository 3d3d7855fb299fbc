#pragma once
// Every menu command and button of the main window bound to its station
// operation by id, so the window only forwards ids and tests call the same
// operations without a window. What needs the window itself (the editor, the
// About box, the file dialog) comes in as actions. Window thread.

#include <functional>
#include <string>
#include <vector>

class ConfigurationSnapshot;
class Station;

class CommandTable {
public:
    struct WindowActions {
        std::function<void()> showEditor = {};
        std::function<void()> showAbout = {};
        // The files chosen in the "Add Multiple Files" dialog.
        std::function<std::vector<std::string>()> chooseFiles = {};
    };
    // Commands of subsystems the table does not know (the network's menus).
    using ExtraCommands = std::function<bool(int id)>;

    CommandTable(Station& station, ConfigurationSnapshot& snapshot, WindowActions actions, ExtraCommands extra = {})
        : station_(station), snapshot_(snapshot), actions_(std::move(actions)), extra_(std::move(extra)) {}

    // False for an id that is no command.
    bool Run(int id);
    // A double click on the queue list: the entry's file in the text editor.
    void OpenQueueEntry();

private:
    bool runFileCommand(int id);
    bool runButton(int id);

    Station& station_;
    ConfigurationSnapshot& snapshot_;
    WindowActions actions_;
    ExtraCommands extra_;
};
