#include "editor/FileChoices.h"

#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "editor/EditorIds.h"
#include "platform/Controls.h"
#include "platform/FolderListing.h"
#include "transmit/ScriptCommandList.h"
#include "transmit/TimeTag.h"

namespace {

// The sorted box orders these keys numerically: they have the same number of digits.
std::string sortKeyed(const FolderEntry& entry) {
    long long key = FileChoices::kSortKeyBase - static_cast<long long>(entry.fileTime >> 32);
    return std::to_string(key) + " " + entry.name;
}

// The second word: a name with a blank keeps only its first part, as listed.
std::string withoutSortKey(const std::string& keyed) {
    std::vector<std::string> words = SplitWords(keyed);
    return words.size() > 1 ? words[1] : keyed;
}

}  // namespace

void FileChoices::RebuildFileChoices() {
    using namespace EditorId;
    window_.listReset(FileChoice);
    std::vector<FolderEntry> found = ListFolder(state_.KOVADataPath.get() + window_.text(Filter));
    bool byDate = window_.menuItemChecked(SortByDate);
    for (const FolderEntry& entry : found) {
        // Folders that match are offered too, as the folder listing gives them.
        if (entry.name.empty() || entry.name[0] == '.') continue;
        window_.listAdd(FileChoice, byDate ? sortKeyed(entry) : entry.name);
    }
    if (byDate) {
        for (int i = 0; i < window_.listCount(FileChoice); ++i)
            window_.listSetItem(FileChoice, i, withoutSortKey(window_.listItem(FileChoice, i)));
    }
    if (found.empty()) window_.setText(FileChoice, kNoFilesText);

    std::vector<std::string> commands = ScriptCommandLines(state_);
    for (int i = 0; i < kScriptListShown + kScriptListExtra; ++i) window_.listInsert(FileChoice, -1, commands[i]);
}
