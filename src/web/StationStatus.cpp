#include "web/StationStatus.h"

#include <QJsonArray>
#include <cmath>

#include "app/CommandIds.h"
#include "app/Station.h"
#include "app/Version.h"

namespace StationStatus {

namespace {

const char* modeName(int mode) {
    switch (mode) {
        case kModeAscii: return "ASCII";
        case kModeIta2: return "ITA2";
        case kModeTelex: return "TELEX";
        case kModeMilitary: return "MILITARY";
        case kModePsk31: return "PSK31";
        case kModeCw: return "CW";
        default: return "";
    }
}

QString soundCardName(int id) {
    if (id == kSoundCardNone) return QStringLiteral("None");
    if (id == kSoundCardAuto) return QStringLiteral("Auto");
    return QString::number(id + 1);
}

QJsonArray texts(const std::vector<std::string>& lines) {
    QJsonArray array;
    for (const std::string& line : lines) array.append(QString::fromLatin1(line));
    return array;
}

QJsonArray chatUserNames(Controls& window) {
    QJsonArray names;
    for (int row = 0; row < window.rowCount(Id::ChatUserList); ++row) {
        std::vector<std::string> columns = window.row(Id::ChatUserList, row);
        if (!columns.empty()) names.append(QString::fromLatin1(columns[0]));
    }
    return names;
}

QJsonValue current(const FileTransmitter::OnAir& onAir) {
    if (onAir.file.empty()) return QJsonValue::Null;
    return QJsonObject{{"file", QString::fromLatin1(onAir.file)}, {"sent", onAir.sent}, {"size", onAir.size}};
}

QJsonValue countdown(const std::string& text) {
    bool isNumber = false;
    int seconds = QString::fromStdString(text).trimmed().toInt(&isNumber);
    return isNumber ? QJsonValue(seconds) : QJsonValue::Null;
}

}  // namespace

QJsonObject Status(Station& station) {
    ProgramState& state = station.state;
    Controls& window = station.platform.window;
    return {
        {"transmitter", state.transmitOn != 0},
        {"scheduler", state.scheduleEnable != 0},
        {"paused", state.transferSend == 0},
        {"mode", modeName(state.MODE)},
        // As the menus name the speeds: 45.45, not the float's 45.450000762.
        {"baud", std::round(static_cast<double>(state.BAUD.load()) * 100.0) / 100.0},
        {"port", QString::fromLatin1(state.m_CommPort.get())},
        {"soundCard", soundCardName(state.soundCardID)},
        {"current", current(station.files.onAir())},
        {"countdown", countdown(window.text(Id::CountDown))},
        {"queue", texts(window.listItems(Id::QueueList))},
        {"chatUsers", chatUserNames(window)},
        {"version", kTarvikVersion},
    };
}

QJsonObject OnAirText(Station& station) {
    const FileTransmitter::OnAir& onAir = station.files.onAir();
    Controls& window = station.platform.window;
    if (onAir.file.empty()) return {{"file", ""}, {"text", ""}, {"start", 0}};
    return {{"file", QString::fromLatin1(onAir.file)},
            {"text", QString::fromLatin1(window.text(Id::TextView))},
            {"start", onAir.shownFrom}};
}

}  // namespace StationStatus
