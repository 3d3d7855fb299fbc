#pragma once
// The Recipient Email Address menu (40001..40005): chooses the mailbox
// prefix that an SMTP recipient must contain. The fifth item shows an address
// that matches none of the four fixed ones. Window thread; sessions only read
// KOVAEmailAddress.

#include <string>

class Controls;
class EventLog;
struct ProgramState;

class RecipientMenu {
public:
    RecipientMenu(ProgramState& state, EventLog& log, Controls& window) : state_(state), log_(log), window_(window) {}

    // Menu commands 40001..40005.
    void ChooseRecipient(int command);
    // Makes the menu agree with KOVAEmailAddress (start-up, a restored snapshot).
    void SyncRecipientMenu();

private:
    ProgramState& state_;
    EventLog& log_;
    Controls& window_;
    // The fifth item's text, as the menu shows it.
    std::string otherText_ = "OTHER@";
};
