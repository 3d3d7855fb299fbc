#include "editor/FileChoices.h"

#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "editor/EditorIds.h"
#include "platform/Controls.h"
#include "platform/FolderListing.h"
#include "platform/NewestFirstKey.h"
#include "transmit/ScriptCommandList.h"

void FileChoices::RebuildFileChoices() {
    using namespace EditorId;
    window_.listReset(FileChoice);
    std::vector<FolderEntry> found = ListFolder(state_.KOVADataPath.get() + window_.text(Filter));
    bool byDate = window_.menuItemChecked(SortByDate);
    for (const FolderEntry& entry : found) {
        // Folders that match are offered too, as the folder listing gives them.
        if (entry.name.empty() || entry.name[0] == '.') continue;
        window_.listAdd(FileChoice, byDate ? NewestFirstKeyed(entry) : entry.name);
    }
    if (byDate) {
        for (int i = 0; i < window_.listCount(FileChoice); ++i)
            window_.listSetItem(FileChoice, i, WithoutNewestFirstKey(window_.listItem(FileChoice, i)));
    }
    if (found.empty()) window_.setText(FileChoice, kNoFilesText);

    std::vector<std::string> commands = ScriptCommandLines(state_);
    for (int i = 0; i < kScriptListShown + kScriptListExtra; ++i) window_.listInsert(FileChoice, -1, commands[i]);
}
