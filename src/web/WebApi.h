#pragma once
// What the browser's service answers, path by path: the page, the station's
// status, the log, the held messages, the queue upload, the schedule and the
// commands. Who may ask was settled before (WebServer); commands reach the
// station as the window's own buttons and menu items do, run from the event
// loop once the answer is out. Window thread.

#include <QUrlQuery>
#include <functional>
#include <string>

#include "web/HeldMessages.h"
#include "web/QueueUpload.h"
#include "web/ScheduleText.h"
#include "web/WebReply.h"

class Station;

struct WebRequest {
    std::string method;
    // Still percent-encoded, so an encoded '/' stays inside its segment.
    std::string path;
    QUrlQuery query;
    std::string contentType;
    std::string body;
};

class WebApi {
public:
    // Runs a window command id as the window's dispatch does.
    using CommandRunner = std::function<void(int id)>;

    WebApi(Station& station, CommandRunner runCommand);

    WebReply Answer(const WebRequest& request);

private:
    WebReply get(const std::string& path, const QUrlQuery& query);
    WebReply post(const WebRequest& request);
    WebReply pageFile(const std::string& path) const;
    WebReply log(const QUrlQuery& query) const;
    WebReply command(const std::string& body);
    WebReply heldAction(const std::string& path);
    WebReply upload(const WebRequest& request);
    WebReply replaceSchedule(const std::string& body);
    // After the answer is written, from the event loop.
    void runLater(int id);

    Station& station_;
    CommandRunner runCommand_;
    HeldMessages held_;
    QueueUpload upload_;
    ScheduleText schedule_;
};
