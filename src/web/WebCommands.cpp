#include "web/WebCommands.h"

#include <utility>

#include "app/CommandIds.h"

std::optional<int> WebCommandId(const std::string& name) {
    static constexpr std::pair<const char*, int> kCommands[] = {
        {"enable", Id::EnableButton},       {"disable", Id::DisableButton},   {"transmitter-on", Id::OnButton},
        {"transmitter-off", Id::OffButton}, {"pause", Id::PauseButton},       {"resume", Id::ResumeButton},
        {"cancel", Id::CancelButton},       {"reload", Id::ReloadQueue},      {"send-next", Id::SendSelectedFile},
        {"send-cwid", Id::SendCwIdNow},
    };
    for (const auto& [command, id] : kCommands)
        if (name == command) return id;
    return std::nullopt;
}
