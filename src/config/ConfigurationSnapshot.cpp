#include "config/ConfigurationSnapshot.h"

#include <string>
#include <vector>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "config/SnapshotFields.h"
#include "platform/Controls.h"
#include "platform/TextFile.h"
#include "sound/SoundCardMenu.h"

namespace {

constexpr std::size_t kLineBuffer = 256;
const std::string kDashes(76, '-');

std::string firstWord(const std::string& line) {
    std::size_t start = line.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return {};
    return line.substr(start, line.find_first_of(" \t\r\n", start) - start);
}

}  // namespace

void ConfigurationSnapshot::Save() {
    TextFileWriter file;
    if (!file.open(kFileName, TextFileWriter::Mode::Truncate)) return;
    for (const SnapshotField& field : SnapshotFields(state_)) file.write(SnapshotLine(field));
    file.close(true);
}

void ConfigurationSnapshot::RestoreAtStartUp() { restoreFields(); }

void ConfigurationSnapshot::RestoreFromMenu() {
    if (!restoreFields()) return;
    soundMenu_.RestoreStoredCard(state_.soundCardID);
}

bool ConfigurationSnapshot::restoreFields() {
    TextFileReader file;
    if (!file.open(kFileName)) return false;
    log_.write(kDashes);
    log_.write("CONFIG FILE \"Tarvik.cfg\" WILL BE REPLACING \"Tarvik.ini\" Settings");

    std::vector<SnapshotField> fields = SnapshotFields(state_);
    // The admin port, last, is saved but not read back.
    fields.resize(kLinesRead);
    std::string line;
    for (const SnapshotField& field : fields) {
        if (!file.readLine(line, kLineBuffer)) break;  // a short snapshot stops at its end
        if (field.apply) field.apply(firstWord(line));
        log_.write(line);
    }
    window_.checkMenuItem(Id::Autostart, state_.KOVAAutoStart != 0);
    window_.checkMenuItem(Id::Header, state_.headerEnable != 0);
    if (syncRecipientMenu_) syncRecipientMenu_();
    log_.write(kDashes);
    return true;
}
