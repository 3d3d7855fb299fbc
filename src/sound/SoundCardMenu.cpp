#include "sound/SoundCardMenu.h"

#include "app/CommandIds.h"
#include "app/ProgramState.h"
#include "platform/Controls.h"

const SoundMenuItem kSoundMenuItems[10] = {
    {Id::SoundSetup, "Setup"},
    {0, nullptr},
    {Id::SoundNone, "No Sound (use RS-232 for data)"},
    {0, nullptr},
    {Id::SoundNote, "NOTE: Sound card disables RS-232 data transmission"},
    {Id::SoundAuto, "Auto Mode"},
    {Id::SoundCard1, "Card 1"},
    {Id::SoundCard1 + 1, "Card 2"},
    {Id::SoundCard1 + 2, "Card 3"},
    {Id::SoundCard4, "Card 4"},
};

namespace {

// The soundCardID each card item selects.
int cardIdFor(int commandId) {
    if (commandId == Id::SoundNone) return kSoundCardNone;
    if (commandId == Id::SoundAuto) return kSoundCardAuto;
    return commandId - Id::SoundCard1;
}

}  // namespace

bool SoundCardMenu::handle(int commandId) {
    if (commandId >= Id::SoundNone && commandId <= Id::SoundCard4) {
        ChooseCard(commandId);
        return true;
    }
    if (commandId == Id::SoundSetup) {
        if (runSetup_) runSetup_();
        return true;
    }
    return false;
}

void SoundCardMenu::ChooseCard(int commandId) {
    window_.checkMenuRadio(Id::SoundNone, Id::SoundCard4, commandId);
    state_.soundCardID = cardIdFor(commandId);
}

void SoundCardMenu::EnableCardItems(bool enabled) {
    for (int item = Id::SoundNone; item <= Id::SoundCard4; ++item) window_.enableMenuItem(item, enabled);
}

void SoundCardMenu::RestoreStoredCard(int storedValue) {
    if (storedValue == kSoundCardAuto || (storedValue >= 1 && storedValue <= 4)) {
        int item = storedValue == kSoundCardAuto ? Id::SoundAuto : Id::SoundCard1 + storedValue - 1;
        ChooseCard(item);
        return;
    }
    window_.checkMenuRadio(Id::SoundNone, Id::SoundCard4, Id::SoundNone);
    state_.soundCardID = storedValue;
}

void SoundCardMenu::RestoreNoStoredCard() { ChooseCard(Id::SoundNone); }
