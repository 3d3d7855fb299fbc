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
    CommandTable(Station& station, ConfigurationSnapshot& snapshot, WindowActions actions)
        : station_(station), snapshot_(snapshot), actions_(std::move(actions)) {}

    // False for an id that is no command.
    bool Run(int id);
    // A double click on the queue list: the entry's file in the text editor.
    void OpenQueueEntry();
    // A click on the chat-user list enables Kill, a right click disables it.
    void ChatUserListClicked(bool rightButton);

private:
    bool runFileCommand(int id);
    bool runButton(int id);

    Station& station_;
    ConfigurationSnapshot& snapshot_;
    WindowActions actions_;
};
