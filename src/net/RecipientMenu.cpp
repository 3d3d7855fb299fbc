#include "net/RecipientMenu.h"

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "app/ProgramState.h"
#include "platform/Controls.h"

namespace {

constexpr int kOther = Id::RecipientLast;

struct FixedRecipient {
    int command;
    const char* word;
    const char* address;
};

// In the order SyncRecipientMenu tries them.
constexpr FixedRecipient kFixedRecipients[] = {
    {40001, "KOVA", "KOVA@"},
    {40002, "AUTOSTART", "AUTOSTART@"},
    {40003, "100", "100@"},
    {40004, "PODIUM", "PODIUM@"},
};

}  // namespace

void RecipientMenu::ChooseRecipient(int command) {
    if (command < Id::RecipientFirst || command > Id::RecipientLast) return;
    std::string address;
    for (const FixedRecipient& fixed : kFixedRecipients)
        if (fixed.command == command) address = fixed.address;
    if (command == kOther) {
        address = otherText_.substr(0, decltype(state_.KOVAEmailAddress)::capacity - 1);
        if (address.find("OTHER@") != std::string::npos)
            log_.write("KOVAEmailAddress default is \"OTHER@\", modify Tarvik.ini file and restart");
    }
    state_.KOVAEmailAddress = address;
    log_.writef("KOVAEmailAddress overridden and changed to \"%s\"", address.c_str());
    window_.checkMenuRadio(Id::RecipientFirst, Id::RecipientLast, command);
}

void RecipientMenu::SyncRecipientMenu() {
    std::string address = state_.KOVAEmailAddress.get();
    for (const FixedRecipient& fixed : kFixedRecipients) {
        if (address.find(fixed.word) != std::string::npos) {
            ChooseRecipient(fixed.command);
            return;
        }
    }
    otherText_ = address;
    window_.setMenuItemText(kOther, address);
    ChooseRecipient(kOther);
}
