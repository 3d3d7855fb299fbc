#pragma once
// The transmit queue, list box 1002 of the window: one QueueEntry a line,
// kept in the order entries were added (only the first is ever due), and the
// File menu commands that edit it, with the file box 1060 from which files
// are added. Window thread; session threads reach it through the window.

#include <ctime>
#include <string>
#include <vector>

class Clock;
class Controls;
class EventLog;
struct ProgramState;

class TransmitQueue {
public:
    static constexpr int kChooserScriptLines = 34;
    static constexpr int kAddFileLeadSeconds = 10;
    static constexpr std::size_t kCopyBlockBytes = 512;

    TransmitQueue(ProgramState& state, EventLog& log, Controls& window, const Clock& clock)
        : state_(state), log_(log), window_(window), clock_(clock) {}

    int count();
    std::string entry(int index);
    void append(const std::string& line);
    void insert(int index, const std::string& line);
    void remove(int index);

    // 32771: the file box's text, timed 10 seconds before the selected entry.
    void AddFile();
    // 32772: copies the chosen files into the data folder and adds each.
    void AddMultipleFiles(const std::vector<std::string>& chosenPaths);
    void RemoveSelected();
    void ClearQueue();
    void MoveSelectedToTop();
    // Button "R": the data folder's names newest first, then script commands.
    void RefillFileChooser();

private:
    std::time_t addFileTime(int selected);
    bool copyIntoDataFolder(const std::string& source, const std::string& target);

    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    const Clock& clock_;
};
