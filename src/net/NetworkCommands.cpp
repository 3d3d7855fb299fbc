#include "net/NetworkCommands.h"

#include "app/CommandIds.h"
#include "net/NetworkServices.h"
#include "net/RecipientMenu.h"

bool RunNetworkCommand(NetworkServices& network, RecipientMenu& recipients, int id) {
    if (id >= Id::RecipientFirst && id <= Id::RecipientLast) {
        recipients.ChooseRecipient(id);
        return true;
    }
    if (id == Id::KillButton) {
        network.chatUsers().Kill();
        return true;
    }
    if (id == Id::ChatUserList) {
        network.chatUsers().OnLeftClick();
        return true;
    }
    return false;
}
