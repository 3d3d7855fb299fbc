#pragma once
// The window's chat-user list (1124) and its Kill button (1125): a row per
// logged-in chat or admin user (name, login time, socket number, address),
// found again by its socket number. Kill shuts the chosen user's socket down
// and deletes the row at once; the session notices and ends. A session keeps
// its socket number until its own removal has run, so a removal never finds
// another session's row, and finds none after Kill. Rows are added and removed
// from session threads through the window, each in one step; Kill and the
// clicks run on the window thread.

#include <ctime>
#include <string>

class Controls;
class EventLog;
class SessionRegistry;

class ChatUserList {
public:
    ChatUserList(EventLog& log, Controls& window, SessionRegistry& sessions)
        : log_(log), window_(window), sessions_(sessions) {}

    void addUser(const std::string& name, const std::tm& loginTime, int socket, const std::string& address);
    // The first row of that socket number, if any: none once Kill has deleted it.
    void removeUser(int socket);
    // A service that is not offered: the list is disabled and says so.
    void showDisabled(const char* text);

    // Button 1125.
    void Kill();
    // Notifications of list 1124.
    void OnLeftClick();
    void OnRightClick();

    static std::string LoginTimeText(const std::tm& local);

private:
    EventLog& log_;
    Controls& window_;
    SessionRegistry& sessions_;
};
