#include "editor/ScheduleEditor.h"

#include <optional>
#include <vector>

#include "app/ProgramState.h"
#include "editor/EditorIds.h"
#include "editor/EditorSurface.h"
#include "editor/ScheduleLineForm.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Words.h"
#include "transmit/TimeTag.h"

using namespace EditorId;

namespace {

constexpr const char* kTitle = "Tarvik Editor                                            ";
constexpr char kTimeMarker = 't';
// A reference line must show date, time and name (or name, size and duration).
constexpr std::size_t kReferenceWords = 3;

}  // namespace

ScheduleEditor::ScheduleEditor(ProgramState& state, Controls& window, EditorSurface& surface, const Clock& clock)
    : state_(state),
      window_(window),
      surface_(surface),
      clock_(clock),
      choices_(state, window),
      list_(state, window, clock, choices_),
      view_(state, window, surface, choices_) {}

void ScheduleEditor::SetTitle() { window_.setText(WindowTitle, kTitle + state_.spacedCallSign.get()); }

void ScheduleEditor::OnShownOrHidden() {
    if (!state_.editorReload) return;
    state_.editorReload = 0;
    workPath_ = state_.KOVADataPath.get() + kWorkFileName;
    // The Filter first, so the load's own refill already uses it.
    window_.setText(Filter, kDefaultFilter);
    list_.LoadList(state_.scheduleListPath.get());
    choices_.RebuildFileChoices();
    surface_.restoreWindow();
    view_.ResetForReload();
}

int ScheduleEditor::selectedLine() {
    int current = window_.listCurrent(EntryList);
    return current >= 0 && window_.listIsSelected(EntryList, current) ? current : -1;
}

void ScheduleEditor::OnListChoice() {
    int chosen = selectedLine();
    if (chosen < 0) return;
    std::string line = window_.listItem(EntryList, chosen);
    std::vector<std::string> words = SplitWords(line, 3);
    words.resize(3);
    std::string name;
    if (line.empty() || line[0] == ' ') {
        name = words[0];
        window_.setText(Date, "");
        window_.setText(Time, "");
    } else {
        name = words[2];
        if (words[1].find(kTimeMarker) != std::string::npos) {
            window_.setText(Date, words[0]);
            window_.setText(Time, words[1]);
        }
    }
    window_.setText(FileChoice, name);
    view_.LeaveEditing();
    view_.ShowFile(name);
}

void ScheduleEditor::OnFileChoice() {
    std::string name = window_.text(FileChoice);
    if (name.empty()) return;
    view_.LeaveEditingAtThisWidth();
    view_.ShowFile(name);
}

bool ScheduleEditor::referenceTime(int reference, std::string& timeText) {
    std::string date = window_.text(Date), time = window_.text(Time);
    bool typed = !date.empty() && !time.empty();
    if (typed) timeText = date + " " + time;
    // An empty list takes the first entry without a reference line.
    if (window_.listCount(EntryList) == 0) return true;
    std::vector<std::string> words = SplitWords(window_.listItem(EntryList, reference), kReferenceWords);
    if (!typed && words.size() >= 2) timeText = words[0] + " " + words[1];
    return words.size() == kReferenceWords;
}

void ScheduleEditor::OnInsert() {
    std::string name = window_.text(FileChoice);
    int reference = std::max(selectedLine(), 0);
    std::string timeText;
    if (name.empty())
        choices_.RebuildFileChoices();
    else if (referenceTime(reference, timeText))  // a reference line of fewer words inserts nothing
        insertBefore(reference, name, timeText);
    saveAndReloadWork();
}

void ScheduleEditor::insertBefore(int reference, const std::string& name, const std::string& timeText) {
    std::optional<std::string> entry;
    if (state_.autoTimeShown) {
        std::optional<int64_t> tag = ParseTimeTag(timeText);
        int64_t start = tag && *tag > 0 ? *tag : clock_.nowSeconds() + ScheduleList::kFirstEntryDelaySeconds;
        entry = StartedEntry(static_cast<std::time_t>(start), name);
    } else {
        entry = TypedEntry(window_.text(Date), window_.text(Time), name);
    }
    // A Date or Time the schedule could not keep: the name stays for another try.
    if (!entry) return window_.beep();
    window_.listInsert(EntryList, reference, *entry);
    window_.setText(FileChoice, "");
}

void ScheduleEditor::OnReplace() {
    std::optional<std::string> entry = TypedEntry(window_.text(Date), window_.text(Time), window_.text(FileChoice));
    // A refused entry leaves the line it would have replaced.
    if (!entry) return window_.beep();
    int chosen = selectedLine();
    if (chosen >= 0) window_.listDelete(EntryList, chosen);
    window_.listInsert(EntryList, chosen, *entry);
    saveAndReloadWork();
}

void ScheduleEditor::OnDelete() {
    int chosen = selectedLine();
    if (chosen < 0) return;
    window_.listDelete(EntryList, chosen);
    window_.listSetCurrent(EntryList, -1);
}

void ScheduleEditor::OnSave() { list_.SaveList(state_.scheduleListPath.get()); }

void ScheduleEditor::OnSaveAndExit() {
    OnSave();
    OnCancel();
}

void ScheduleEditor::OnCancel() {
    state_.editorReload = 1;
    surface_.hideWindow();
}

void ScheduleEditor::OnEnterInFileName() {
    if (view_.ShowFile(window_.text(FileName))) window_.beep();
}

void ScheduleEditor::OnEnter() {
    if (view_.ShowFile(window_.text(FileChoice))) return window_.beep();
    OnFileChoice();
}

void ScheduleEditor::saveAndReloadWork() {
    list_.SaveList(workPath_);
    list_.LoadList(workPath_);
}
