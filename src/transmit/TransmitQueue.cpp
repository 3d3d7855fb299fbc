#include "transmit/TransmitQueue.h"

#include <algorithm>
#include <cstdio>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/NewestFirstKey.h"
#include "platform/PathMap.h"
#include "platform/Words.h"
#include "transmit/ScriptCommandList.h"
#include "transmit/TimeTag.h"

int TransmitQueue::count() { return window_.listCount(Id::QueueList); }
std::string TransmitQueue::entry(int index) { return window_.listItem(Id::QueueList, index); }
void TransmitQueue::append(const std::string& line) { window_.listInsert(Id::QueueList, -1, line); }
void TransmitQueue::insert(int index, const std::string& line) { window_.listInsert(Id::QueueList, index, line); }
void TransmitQueue::remove(int index) { window_.listDelete(Id::QueueList, index); }

std::time_t TransmitQueue::addFileTime(int selected) {
    std::time_t now = clock_.nowSeconds();
    std::string line = entry(selected);
    if (SplitWords(line).size() != 3) return now;
    std::optional<int64_t> tag = ParseTimeTag(line);
    if (!tag) return now;
    std::time_t earlier = static_cast<std::time_t>(*tag) - kAddFileLeadSeconds;
    return earlier < 0 ? now + kAddFileLeadSeconds : earlier;
}

void TransmitQueue::AddFile() {
    std::string name = window_.text(Id::FileBox);
    if (name.empty()) {
        RefillFileChooser();
        return;
    }
    int selected = std::max(window_.listCurrent(Id::QueueList), 0);
    std::string line = FormatQueueEntry(addFileTime(selected), name);
    if (state_.KOVAAutoStart)
        append(line);
    else
        insert(selected, line);
    window_.setText(Id::FileBox, "");
}

void TransmitQueue::RemoveSelected() {
    for (int i = count() - 1; i >= 0; --i)
        if (window_.listIsSelected(Id::QueueList, i)) remove(i);
}

void TransmitQueue::ClearQueue() { window_.listReset(Id::QueueList); }

void TransmitQueue::MoveSelectedToTop() {
    std::vector<std::string> moved, kept;
    int total = count();
    for (int i = 0; i < total; ++i) (window_.listIsSelected(Id::QueueList, i) ? moved : kept).push_back(entry(i));
    if (moved.empty()) return;
    window_.listReset(Id::QueueList);
    for (const std::string& line : moved) append(line);
    for (const std::string& line : kept) append(line);
}

void TransmitQueue::RefillFileChooser() {
    window_.listReset(Id::FileBox);
    for (const FolderEntry& found : ListFolder("data/*.*")) {
        if (found.name.empty() || found.name[0] == '.') continue;
        window_.listAdd(Id::FileBox, NewestFirstKeyed(found));
    }
    int listed = window_.listCount(Id::FileBox);
    for (int i = 0; i < listed; ++i)
        window_.listSetItem(Id::FileBox, i, WithoutNewestFirstKey(window_.listItem(Id::FileBox, i)));
    std::vector<std::string> scripts = ScriptCommandLines(state_);
    for (int i = 0; i < kScriptListShown; ++i) window_.listInsert(Id::FileBox, -1, scripts[static_cast<std::size_t>(i)]);
}

void TransmitQueue::AddMultipleFiles(const std::vector<std::string>& chosenPaths) {
    for (const std::string& source : chosenPaths) {
        std::string name = source.substr(source.find_last_of('/') + 1);
        std::replace(name.begin(), name.end(), ' ', '_');
        window_.setText(Id::FileBox, name);
        if (copyIntoDataFolder(source, state_.KOVADataPath.get() + name)) AddFile();
    }
}

bool TransmitQueue::copyIntoDataFolder(const std::string& source, const std::string& target) {
    if (FileExists(target)) {
        log_.writef("Filename %s already exists, won't copy", target.c_str());
        return false;
    }
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (in == nullptr) {
        log_.writef("Filename %s can't open read", source.c_str());
        return false;
    }
    std::FILE* out = std::fopen(ResolvePath(target).c_str(), "wbx");
    if (out == nullptr) {
        std::fclose(in);
        log_.writef("Filename %s can't open write", target.c_str());
        return false;
    }
    char block[kCopyBlockBytes];
    bool whole = true;
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;)
        if (std::fwrite(block, 1, got, out) != got) whole = false;
    if (std::ferror(in)) whole = false;
    std::fclose(in);
    if (std::fclose(out) != 0) whole = false;
    if (!whole) {
        RemoveFile(target);
        log_.writef("Filename %s can't open write", target.c_str());
    }
    return whole;
}
