#pragma once
// The messages screening held back, for the operator in a browser: those in
// moderatedwords (waiting for approval) and in badwords (set aside). Approve
// moves one to approvedmoderatedwords, from where the next sweep queues it;
// delete removes it. A name is only ever looked up in a folder's listing,
// never joined into a path as given. Window thread.

#include <QJsonArray>
#include <string>

class EventLog;
struct ProgramState;

class HeldMessages {
public:
    enum class Outcome { Done, NotHeld, Failed };

    HeldMessages(ProgramState& state, EventLog& log) : state_(state), log_(log) {}

    // [{folder, name, text}], moderatedwords first.
    QJsonArray List() const;
    Outcome Approve(const std::string& name);
    Outcome Delete(const std::string& name);

private:
    // The folder (of `folders`) whose listing holds a file of exactly that name.
    const char* folderHolding(const std::string& name, std::initializer_list<const char*> folders) const;
    std::string pathOf(const char* folder, const std::string& name) const;

    ProgramState& state_;
    EventLog& log_;
};
