#include "web/WebService.h"

#include <QHostAddress>

#include "app/Station.h"
#include "web/BoundedTcpServer.h"
#include "web/EventFeed.h"
#include "web/WebAccess.h"
#include "web/WebApi.h"
#include "web/WebServer.h"

WebService::WebService(Station& station, std::function<void(int id)> runCommand)
    : station_(station), runCommand_(std::move(runCommand)) {}

WebService::~WebService() { Stop(); }

bool WebService::Start() {
    const int port = station_.state.KOVAWebPort;
    const std::string address = station_.state.KOVAWebAddress.get();
    const std::string password = station_.state.KOVAWebPassword.get();
    if (port <= 0 || port > 65535) {
        station_.log.writef("Web service off (KOVAWebPort %d)", port);
        return false;
    }
    if (std::optional<std::string> refusal = WebAccess::ListenRefusal(address, password)) {
        station_.log.writef("Web service not started: %s", refusal->c_str());
        return false;
    }
    api_ = std::make_unique<WebApi>(station_, runCommand_);
    feed_ = std::make_unique<EventFeed>(station_);
    server_ = std::make_unique<WebServer>(*api_, *feed_, station_.log, password);
    listener_ = new BoundedTcpServer(server_.get());
    if (!listener_->listen(QHostAddress(QString::fromStdString(address)), static_cast<quint16>(port))) {
        station_.log.writef("Web service could not listen on %s:%d: %s", address.c_str(), port,
                            listener_->errorString().toLatin1().constData());
        Stop();
        return false;
    }
    server_->bind(listener_);
    station_.log.writef("Web service listening on http://%s:%d/ (%s)", address.c_str(), port,
                        password.empty() ? "no password, this machine only" : "password required");
    return true;
}

void WebService::Stop() {
    server_.reset();
    listener_ = nullptr;
    feed_.reset();
    api_.reset();
}

int WebService::port() const { return listener_ ? listener_->serverPort() : 0; }
