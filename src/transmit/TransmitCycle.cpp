#include "transmit/TransmitCycle.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/CallPoster.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/EnglishTime.h"
#include "platform/FileSystem.h"
#include "platform/Words.h"
#include "transmit/CwIdentification.h"
#include "transmit/StandaloneTransmission.h"
#include "transmit/QueueFileSender.h"
#include "transmit/ScriptCommands.h"
#include "transmit/SessionControl.h"
#include "transmit/TimeTag.h"
#include "transmit/TransmitQueue.h"
#include "transmit/TransmitterControl.h"

namespace {
constexpr int kEmptyQueueWait = 10;
}

std::string TransmitCycle::ClockText(const std::tm& local) { return FormatEnglishTime("%a %b %d %H:%M:%S %Y", local); }

void TransmitCycle::ClockTick() {
    ++p_.state.timerTick;
    p_.window.setText(Id::ClockText, ClockText(p_.clock.localNow()));
    p_.poster.post([this] { CycleStep(); });
}

void TransmitCycle::CycleStep() {
    if (stopped_) return;
    if (p_.state.scheduleEnable) QueueTick(p_.clock.nowSeconds());
    if (!p_.state.KOVAAutoStart) return;
    if (p_.queue.count() > 0 && !p_.state.scheduleEnable) {
        p_.session.CmEnable();
        p_.window.setText(Id::SchedulerState, "AutoStart");
    } else {
        p_.window.setText(Id::SchedulerState, "AutoWait");
    }
}

void TransmitCycle::QueueTick(int64_t now) {
    p_.cwid.CountStep();
    if (p_.queue.count() == 0) {
        p_.session.CmDisable();
        p_.log.write("Queue Empty: Nothing to Send.");
        p_.state.secondsUntilDue = kEmptyQueueWait;
        return;
    }
    std::string entry = p_.queue.entry(0);
    int64_t diff = 0;
    if (!p_.state.checkNoTimer) diff = ParseTimeTag(entry).value_or(0) - now;
    p_.state.secondsUntilDue = static_cast<int32_t>(diff);
    std::vector<std::string> words = SplitWords(entry);

    // No session ever starts inside another, not even one asked for with sendNow.
    bool due = !p_.state.localLock && ((words.size() == 3 && diff <= 0) || p_.state.sendNow);
    if (!due) {
        p_.window.setText(Id::CountDown, std::to_string(diff));
        return;
    }
    p_.queue.remove(0);
    std::string name = words.size() == 3 ? words[2] : words.empty() ? std::string() : words.back();
    if (!name.empty() && name[0] == '$') {
        p_.scripts.RunScriptCommand(name.substr(1));
        p_.state.sendNow = 0;
        return;
    }
    sendQueueFile(name);
}

void TransmitCycle::sendQueueFile(const std::string& name) {
    p_.state.localLock = 1;
    p_.state.notSending = 0;
    p_.state.sendNow = 0;
    p_.log.writef("File <%s> in TRANSMIT Queue.", name.c_str());
    if (!p_.state.transferCancel) {
        // A folder or a file that cannot be read is refused before anything is keyed.
        if (IsReadableFile("data/" + name))
            p_.framing.SendFramed(name);
        else
            p_.log.writef("SendAbort : File <%s> could not be opened.", name.c_str());
    }
    if (p_.state.secondsUntilDue > 0 || p_.state.KOVAAutoStart) p_.transmitter.CmRX();
    if (p_.state.transferCancel) {
        p_.log.writef("ABORTED sending <%s>.", name.c_str());
        p_.session.CmDisable();
    } else {
        p_.log.writef("Completed sending <%s>.", name.c_str());
    }
    endSession();
}

void TransmitCycle::endSession() {
    p_.state.notSending = 1;
    p_.state.localLock = 0;
    p_.cwid.SendDeferred();
}

void TransmitCycle::OnManagequeueSendnextfile() {
    int selected = p_.window.listCurrent(Id::QueueList);
    std::string entry = selected >= 0 ? p_.queue.entry(selected) : std::string();
    std::vector<std::string> words = SplitWords(entry);
    if (words.size() != 3) {
        p_.log.write("OnManagequeueSendnextfile: No file selected, please select a file");
        return;
    }
    if (!p_.state.notSending || p_.state.localLock) return;
    const std::string& name = words[2];
    if (!p_.state.scheduleEnable) {
        if (p_.state.MODE == kModeCw) return;
        p_.log.writef("OnManagequeueSendnextfile: Starting TX and Sending \"%s\n", name.c_str());
        p_.standalone.Send(name);
        return;
    }
    p_.log.writef("OnManagequeueSendnextfile: Moving \"%s\n to front of stack and sending now", name.c_str());
    p_.queue.insert(0, entry);
    p_.state.sendNow = 1;
    p_.state.transferCancel = 0;
    p_.window.setText(Id::SessionState, "");
    p_.state.transferSend = 1;
    p_.log.write("OnManagequeueSendnextfile: Manual Enabling of next in queue.");
}
