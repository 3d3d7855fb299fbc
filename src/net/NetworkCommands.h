#pragma once
// The window commands of the network intake, by id, for the window's command
// table: the Recipient Email Address menu, Kill and a click on the chat-user
// list. Window thread.

class NetworkServices;
class RecipientMenu;

// False for an id that is none of these.
bool RunNetworkCommand(NetworkServices& network, RecipientMenu& recipients, int id);
