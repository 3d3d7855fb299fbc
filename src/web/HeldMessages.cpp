#include "web/HeldMessages.h"

#include <QJsonObject>
#include <cerrno>
#include <cstring>

#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/TextFile.h"

namespace {

constexpr const char* kModerated = "moderatedwords";
constexpr const char* kBad = "badwords";
constexpr const char* kApproved = "approvedmoderatedwords";
// What the page shows of a held message; the file keeps it all.
constexpr std::size_t kShownBytes = 64 * 1024;

std::vector<std::string> heldNames(const std::string& folderPattern) {
    std::vector<std::string> names;
    for (const FolderEntry& entry : ListFolder(folderPattern))
        if (!entry.isFolder) names.push_back(entry.name);
    return names;
}

}  // namespace

std::string HeldMessages::pathOf(const char* folder, const std::string& name) const {
    return state_.KOVADataPath.get() + folder + "\\" + name;
}

QJsonArray HeldMessages::List() const {
    QJsonArray held;
    for (const char* folder : {kModerated, kBad}) {
        for (const std::string& name : heldNames(pathOf(folder, "*"))) {
            std::string text;
            ReadTextFile(pathOf(folder, name), text);
            text.resize(std::min(text.size(), kShownBytes));
            held.append(QJsonObject{{"folder", folder},
                                    {"name", QString::fromLatin1(name)},
                                    {"text", QString::fromLatin1(text)}});
        }
    }
    return held;
}

const char* HeldMessages::folderHolding(const std::string& name, std::initializer_list<const char*> folders) const {
    for (const char* folder : folders)
        for (const std::string& held : heldNames(pathOf(folder, "*")))
            if (held == name) return folder;
    return nullptr;
}

HeldMessages::Outcome HeldMessages::Approve(const std::string& name) {
    const char* folder = folderHolding(name, {kModerated});
    if (folder == nullptr) return Outcome::NotHeld;
    if (!MoveWithoutReplace(pathOf(folder, name), pathOf(kApproved, name))) {
        log_.writef("Web: approving %s failed: %s", name.c_str(), std::strerror(errno));
        return Outcome::Failed;
    }
    log_.writef("Web: %s approved, moved to %s", name.c_str(), kApproved);
    return Outcome::Done;
}

HeldMessages::Outcome HeldMessages::Delete(const std::string& name) {
    const char* folder = folderHolding(name, {kModerated, kBad});
    if (folder == nullptr) return Outcome::NotHeld;
    if (!RemoveFile(pathOf(folder, name))) {
        log_.writef("Web: deleting %s from %s failed: %s", name.c_str(), folder, std::strerror(errno));
        return Outcome::Failed;
    }
    log_.writef("Web: %s deleted from %s", name.c_str(), folder);
    return Outcome::Done;
}
