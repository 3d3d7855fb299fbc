#include "web/WebApi.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "app/CommandIds.h"
#include "app/Station.h"
#include "platform/CallPoster.h"
#include "web/FormParts.h"
#include "web/LogTail.h"
#include "web/StationStatus.h"
#include "web/WebCommands.h"

namespace {

// What the page shows of the log at first.
constexpr std::size_t kLogLinesAtMost = 500;

struct PageFile {
    const char* path;
    const char* resource;
    const char* type;
};
constexpr PageFile kPageFiles[] = {
    {"/", ":/web/index.html", "text/html; charset=utf-8"},
    {"/station.css", ":/web/station.css", "text/css; charset=utf-8"},
    {"/station.js", ":/web/station.js", "text/javascript; charset=utf-8"},
};

std::optional<QJsonObject> jsonObject(const std::string& body) {
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(body), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    return document.object();
}

std::vector<std::string> segments(const std::string& path) {
    std::vector<std::string> parts;
    for (const QString& part : QString::fromStdString(path).split('/', Qt::SkipEmptyParts))
        parts.push_back(QUrl::fromPercentEncoding(part.toUtf8()).toLatin1().toStdString());
    return parts;
}

}  // namespace

WebApi::WebApi(Station& station, CommandRunner runCommand)
    : station_(station),
      runCommand_(std::move(runCommand)),
      held_(station.state, station.log),
      upload_(station.state, station.log, station.platform.clock, station.messages),
      schedule_(station.log) {}

WebReply WebApi::Answer(const WebRequest& request) {
    if (request.method == "GET") return get(request.path, request.query);
    if (request.method == "POST" || request.method == "PUT") return post(request);
    return WebReply::Error(405, "method not allowed");
}

WebReply WebApi::get(const std::string& path, const QUrlQuery& query) {
    if (path == "/api/status") return WebReply::Json(StationStatus::Status(station_));
    if (path == "/api/current") return WebReply::Json(StationStatus::OnAirText(station_));
    if (path == "/api/log") return log(query);
    if (path == "/api/held") return WebReply::Json(held_.List());
    if (path == "/api/schedule") {
        std::optional<std::string> text = schedule_.Read(station_.state.scheduleListPath.get());
        if (!text) return WebReply::Error(404, "the schedule list cannot be read");
        return WebReply::Json(QJsonObject{{"text", QString::fromLatin1(*text)}});
    }
    return pageFile(path);
}

WebReply WebApi::post(const WebRequest& request) {
    const std::string& path = request.path;
    if (request.method == "PUT")
        return path == "/api/schedule" ? replaceSchedule(request.body) : WebReply::Error(405, "method not allowed");
    if (path == "/api/command") return command(request.body);
    if (path == "/api/queue") return upload(request);
    if (path.rfind("/api/held/", 0) == 0) return heldAction(path);
    return WebReply::Error(405, "method not allowed");
}

WebReply WebApi::pageFile(const std::string& path) const {
    for (const PageFile& file : kPageFiles) {
        if (path != file.path) continue;
        QFile resource(QString::fromLatin1(file.resource));
        if (!resource.open(QIODevice::ReadOnly)) return WebReply::Error(500, "page missing from the program");
        return {200, resource.readAll(), file.type};
    }
    return WebReply::Error(404, "not found");
}

WebReply WebApi::log(const QUrlQuery& query) const {
    bool isNumber = false;
    long long after = query.queryItemValue(QStringLiteral("after")).toLongLong(&isNumber);
    if (!isNumber || after < 0) after = 0;
    LogLines found = ReadLogAfter(station_.log.todaysFileName(), after, kLogLinesAtMost);
    QJsonArray lines;
    for (const std::string& line : found.lines) lines.append(QString::fromLatin1(line));
    return WebReply::Json(QJsonObject{{"lines", lines}, {"next", found.next}});
}

WebReply WebApi::command(const std::string& body) {
    std::optional<QJsonObject> request = jsonObject(body);
    const std::string name = request ? (*request)["command"].toString().toStdString() : "";
    std::optional<int> id = WebCommandId(name);
    if (!id) return WebReply::Error(400, "unknown command \"" + name.substr(0, 64) + "\"");
    station_.log.writef("Web: command %s", name.c_str());
    runLater(*id);
    return WebReply::Json(QJsonObject{{"ok", true}});
}

WebReply WebApi::heldAction(const std::string& path) {
    std::vector<std::string> parts = segments(path);
    if (parts.size() != 4 || (parts[3] != "approve" && parts[3] != "delete"))
        return WebReply::Error(404, "not found");
    HeldMessages::Outcome outcome = parts[3] == "approve" ? held_.Approve(parts[2]) : held_.Delete(parts[2]);
    if (outcome == HeldMessages::Outcome::NotHeld) return WebReply::Error(404, "no such held message");
    if (outcome == HeldMessages::Outcome::Failed) return WebReply::Error(500, "the file could not be moved");
    return WebReply::Json(QJsonObject{{"ok", true}});
}

WebReply WebApi::upload(const WebRequest& request) {
    std::string name = request.query.queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded).toStdString();
    std::string text = request.body;
    if (request.contentType.rfind("multipart/", 0) == 0) {
        std::optional<std::vector<FormPart>> parts = ReadFormParts(request.contentType, request.body);
        if (!parts) return WebReply::Error(400, "not a multipart form");
        auto file = std::find_if(parts->begin(), parts->end(), [](const FormPart& part) { return part.name == "file"; });
        if (file == parts->end()) return WebReply::Error(400, "no file in the form");
        text = file->body;
        name = file->fileName;
        for (const FormPart& part : *parts)
            if (part.name == "name" && !part.body.empty()) name = part.body;
    }
    QueueUpload::Outcome outcome = upload_.Store(name, text);
    if (outcome.httpStatus != 200) return WebReply::Error(outcome.httpStatus, outcome.text);
    return WebReply::Json(QJsonObject{{"ok", true}, {"name", QString::fromLatin1(outcome.text)}});
}

WebReply WebApi::replaceSchedule(const std::string& body) {
    std::optional<QJsonObject> request = jsonObject(body);
    if (!request || !(*request)["text"].isString()) return WebReply::Error(400, "give the list as {\"text\": ...}");
    const std::string text = (*request)["text"].toString().toLatin1().toStdString();
    if (std::optional<ScheduleText::Problem> problem = ScheduleText::Check(text)) {
        QJsonObject answer{{"error", QString::fromLatin1("Line " + std::to_string(problem->line) + ": " + problem->text)},
                           {"line", problem->line}};
        return WebReply::Json(answer, 400);
    }
    if (!schedule_.Replace(station_.state.scheduleListPath.get(), text))
        return WebReply::Error(507, "the schedule list could not be written");
    runLater(Id::ReloadQueue);
    return WebReply::Json(QJsonObject{{"ok", true}});
}

void WebApi::runLater(int id) {
    station_.platform.poster.post([run = runCommand_, id] { run(id); });
}
