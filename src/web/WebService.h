#pragma once
// The browser's service of the station: started after the network services
// on the address and port Tarvik.ini names (none when the port is 0; none,
// with a log line, on an address beyond this machine without a password),
// stopped before the station goes. Everything it does runs on the window
// thread, between the window's own events. Window thread.

#include <functional>
#include <memory>

class BoundedTcpServer;
class EventFeed;
class Station;
class WebApi;
class WebServer;

class WebService {
public:
    WebService(Station& station, std::function<void(int id)> runCommand);
    ~WebService();

    // False, with a log line, when the service is off or could not listen.
    bool Start();
    void Stop();
    // The port listened on; 0 when the service is not running.
    int port() const;

private:
    Station& station_;
    std::function<void(int id)> runCommand_;
    std::unique_ptr<WebApi> api_;
    std::unique_ptr<EventFeed> feed_;
    std::unique_ptr<WebServer> server_;
    BoundedTcpServer* listener_ = nullptr;
};
