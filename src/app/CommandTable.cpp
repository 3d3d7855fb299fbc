#include "app/CommandTable.h"

#include "app/CommandIds.h"
#include "app/Station.h"
#include "config/ConfigurationSnapshot.h"
#include "platform/ProcessStart.h"
#include "platform/Words.h"

bool CommandTable::Run(int id) {
    if (runFileCommand(id) || runButton(id)) return true;
    if (station_.controlMenus.handle(id) || station_.serialMenus.handle(id) || station_.soundMenu.handle(id))
        return true;
    if (id == Id::SystemAbout) {
        if (actions_.showAbout) actions_.showAbout();
        return true;
    }
    if (id == Id::LaunchEditor || id == Id::TarvikEditor || id == Id::SystemScheduleEditor) {
        if (actions_.showEditor) actions_.showEditor();
        return true;
    }
    if (id >= Id::RecipientFirst && id <= Id::RecipientLast) {
        station_.recipients.ChooseRecipient(id);
        return true;
    }
    if (id == Id::KillButton) {
        station_.network.chatUsers().Kill();
        return true;
    }
    return id == Id::Help;
}

void CommandTable::ChatUserListClicked(bool rightButton) {
    if (rightButton)
        station_.network.chatUsers().OnRightClick();
    else
        station_.network.chatUsers().OnLeftClick();
}

bool CommandTable::runFileCommand(int id) {
    switch (id) {
        case Id::AddFile: station_.queue.AddFile(); break;
        case Id::MoveSelectedToTop: station_.queue.MoveSelectedToTop(); break;
        case Id::SendSelectedFile: station_.cycle.OnManagequeueSendnextfile(); break;
        case Id::AddMultipleFiles:
            if (actions_.chooseFiles) station_.queue.AddMultipleFiles(actions_.chooseFiles());
            break;
        case Id::RemoveSelected: station_.queue.RemoveSelected(); break;
        case Id::ClearQueue: station_.queue.ClearQueue(); break;
        case Id::ReloadQueue: station_.schedule.OnReload(); break;
        case Id::SaveConfiguration: snapshot_.Save(); break;
        case Id::RestoreConfiguration: snapshot_.RestoreFromMenu(); break;
        case Id::EditScheduleList: OpenInTextEditor(station_.state.scheduleListPath); break;
        case Id::EditScheduleTemp: OpenInTextEditor("data/schedule_temp.lst"); break;
        case Id::EditInitializationFile: OpenInTextEditor("Tarvik.INI"); break;
        default: return false;
    }
    return true;
}

bool CommandTable::runButton(int id) {
    switch (id) {
        case Id::EnableButton: station_.session.CmEnable(); break;
        case Id::DisableButton: station_.session.CmDisable(); break;
        case Id::OnButton: station_.transmitter.CmTX(); break;
        case Id::OffButton: station_.transmitter.CmRX(); break;
        case Id::PauseButton: station_.session.CmPause(); break;
        case Id::ResumeButton: station_.session.CmResume(); break;
        case Id::CancelButton: station_.session.CmCancel(); break;
        case Id::RefillButton: station_.queue.RefillFileChooser(); break;
        default: return false;
    }
    return true;
}

// "NotePro" at its fixed path and then "notepad.exe" stand for the desktop's
// text editor here.
void CommandTable::OpenQueueEntry() {
    Controls& window = station_.platform.window;
    int selected = window.listCurrent(Id::QueueList);
    std::vector<std::string> words = SplitWords(selected >= 0 ? window.listItem(Id::QueueList, selected) : "");
    if (words.size() != 3 || words[2][0] == '$') return;
    OpenInTextEditor("data//" + words[2]);
}
