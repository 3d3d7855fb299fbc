#include "web/QueueUpload.h"

#include <strings.h>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "net/Latin1Text.h"
#include "net/MessageQueueing.h"
#include "net/SubjectToFileName.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace {

// The ".txt" the name takes again once made safe.
std::string withoutTxt(const std::string& name) {
    const std::string suffix = ".txt";
    if (name.size() >= suffix.size() && ::strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0)
        return name.substr(0, name.size() - suffix.size());
    return name;
}

}  // namespace

QueueUpload::Outcome QueueUpload::Store(const std::string& givenName, const std::string& bytes) {
    if (bytes.size() > kMaxBytes) return {413, "larger than " + std::to_string(kMaxBytes) + " bytes"};
    const std::string stem = withoutTxt(Latin1FromCharset(givenName, "UTF-8"));
    const std::string safeName = SubjectToFileName(AsciiTransliteration(stem));
    if (MessageFiles::IsStationFile(safeName)) {
        log_.writef("Web: upload of \"%s\" refused, a station file is not replaced", safeName.c_str());
        return {403, safeName + " is a station file and is not replaced"};
    }
    std::string path, name;
    if (!files_.WriteNew(clock_.now(), FoldLineEnds(Latin1FromCharset(bytes, "")), path, name))
        return {507, "could not be stored"};
    const std::string chosen = files_.NameAfterSubject(stem);
    if (!chosen.empty() && files_.TakeName(path, chosen)) name = chosen;
    if (!files_.Sync(state_.KOVADataPath.get()) || !messages_.QueueStoredMessage(name)) {
        RemoveFile(path);
        return {507, "could not be stored and listed"};
    }
    log_.writef("Web: \"%s\" stored and submitted to queue", name.c_str());
    return {200, name};
}
