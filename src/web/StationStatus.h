#pragma once
// The station as the browser sees it: the state texts and switches of the
// window, the file on the air and the queue, as JSON. Window thread.

#include <QJsonObject>

class Station;

namespace StationStatus {

// transmitter, scheduler, paused, mode, baud, port, soundCard, current
// ({file, sent, size} or null), countdown, queue, chatUsers, version.
QJsonObject Status(Station& station);
// The file on the air and the text the window shows of it: {file, text, start}.
QJsonObject OnAirText(Station& station);

}  // namespace StationStatus
