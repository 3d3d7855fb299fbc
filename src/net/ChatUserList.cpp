#include "net/ChatUserList.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/CommandIds.h"
#include "app/EventLog.h"
#include "net/SessionRegistry.h"
#include "platform/Controls.h"

namespace {
constexpr int kNameColumn = 0;
constexpr int kSocketColumn = 2;

std::string column(const std::vector<std::string>& row, int index) {
    return index < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(index)] : std::string();
}
}  // namespace

std::string ChatUserList::LoginTimeText(const std::tm& local) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec);
    return text;
}

void ChatUserList::addUser(const std::string& name, const std::tm& loginTime, int socket, const std::string& address) {
    window_.rowInsert(Id::ChatUserList, -1, {name, LoginTimeText(loginTime), std::to_string(socket), address});
}

void ChatUserList::removeUser(int socket) {
    window_.rowDeleteWith(Id::ChatUserList, kSocketColumn, std::to_string(socket));
}

void ChatUserList::showDisabled(const char* text) {
    window_.enableControl(Id::ChatUserList, false);
    window_.rowInsert(Id::ChatUserList, -1, {text});
}

void ChatUserList::Kill() {
    int selected = window_.rowSelected(Id::ChatUserList);
    std::vector<std::string> row = selected >= 0 ? window_.row(Id::ChatUserList, selected) : std::vector<std::string>();
    std::string name = column(row, kNameColumn);
    int socket = std::atoi(column(row, kSocketColumn).c_str());
    if (socket != 0 && sessions_.shutdownSocket(socket)) {
        window_.rowDelete(Id::ChatUserList, selected);
        log_.writef("Deleted Chat user %s", name.c_str());
    } else {
        log_.writef("Failed to delete chat user %s", name.c_str());
    }
    window_.enableControl(Id::KillButton, false);
}

void ChatUserList::OnLeftClick() { window_.enableControl(Id::KillButton, window_.rowSelected(Id::ChatUserList) >= 0); }

void ChatUserList::OnRightClick() {
    if (window_.rowCount(Id::ChatUserList) == 0) return;
    window_.listSetCurrent(Id::ChatUserList, -1);
    window_.enableControl(Id::KillButton, false);
}
