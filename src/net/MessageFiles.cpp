#include "net/MessageFiles.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "net/Latin1Text.h"
#include "net/SubjectToFileName.h"
#include "platform/FileSystem.h"
#include "platform/PathMap.h"
#include "platform/TextFile.h"

namespace {

// Only a subject name longer than this replaces the date-time name.
constexpr std::size_t kShortestSubjectName = 3;
// Two messages that start in the same millisecond: the later one moves on.
constexpr int kNameAttempts = 1000;
// Files the station frames or keys every transmission with; a message never takes their place.
constexpr const char* kStationFiles[] = {"header.txt", "footer.txt", "cwid.txt", "RYRYRYRY.txt", "thefox.txt"};

// Creates the file only if no file of that name exists, so a name is never
// taken twice. A date-time name is the station's own: no other spelling of it
// is looked for (that would read the whole data folder for each message).
bool claimName(const std::string& path) {
    int fd = ::open(ResolveFolderOf(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace

std::string MessageFiles::DateTimeName(Clock::TimePoint at) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    long long millis = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count() % 1000;
    if (millis < 0) millis += 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char name[64];
    std::snprintf(name, sizeof name, "E_%04d%02d%02d_%02d%02d%02d.%03lld.txt", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
    return name;
}

bool MessageFiles::IsStationFile(const std::string& name) {
    for (const char* own : kStationFiles)
        if (::strcasecmp(own, name.c_str()) == 0) return true;
    return false;
}

bool MessageFiles::WriteNew(Clock::TimePoint started, const std::string& text, std::string& path, std::string& name,
                            bool sync) {
    const std::string dataPath = state_.KOVADataPath.get();
    bool claimed = false;
    for (int attempt = 0; attempt < kNameAttempts && !claimed; ++attempt) {
        name = DateTimeName(started + std::chrono::milliseconds(attempt));
        path = dataPath + name;
        claimed = claimName(path);
        if (!claimed && errno != EEXIST) break;
    }
    TextFileWriter file;
    if (!claimed || !file.open(path, TextFileWriter::Mode::Truncate)) {
        log_.writef("Unable to write %s output file", path.c_str());
        if (claimed) RemoveFile(path);
        return false;
    }
    bool written = file.write(text);
    if (!file.close(sync) || !written) {
        log_.writef("Unable to write %s output file", path.c_str());
        RemoveFile(path);
        return false;
    }
    return true;
}

std::string MessageFiles::NameAfterSubject(const std::string& subject) {
    std::string subjectName = SubjectToFileName(AsciiTransliteration(subject));
    if (subjectName.size() <= kShortestSubjectName) return "";
    if (IsStationFile(subjectName)) {
        log_.writef("Error: \"%s\" is a station file, using the date-time name.", subjectName.c_str());
        return "";
    }
    const std::string folder = ResolvePath(state_.KOVADataPath.get());
    const std::string spelling = dataNames_.Spelling(folder, subjectName);
    if (const int error = dataNames_.WatchError(); error != 0 && !unwatchedTold_.exchange(true))
        log_.writef("The data folder %s cannot be watched (%s): it is read for each message", folder.c_str(),
                    std::strerror(error));
    return spelling;
}

bool MessageFiles::TakeName(std::string& path, const std::string& name) {
    std::string newPath = state_.KOVADataPath.get() + name;
    // `name` is spelt as the folder spells it already (NameAfterSubject).
    if (::rename(ResolvePath(path).c_str(), ResolveFolderOf(newPath).c_str()) != 0) {
        log_.writef("Error: Creating new file \"%s\" failed, using \"%s\".", newPath.c_str(), path.c_str());
        return false;
    }
    path = newPath;
    return true;
}

bool MessageFiles::Sync(const std::string& folder) {
    if (SyncFolder(folder)) return true;
    log_.writef("Unable to sync folder %s", folder.c_str());
    return false;
}
