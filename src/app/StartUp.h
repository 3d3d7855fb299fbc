#pragma once
// The order in which the station comes alive, and its end. Start-up runs on
// the window thread once the window's controls exist and before it is shown:
// settings, folders and tables, the window's state, the serial port, the
// sound modem and finally the network services and the scheduler. Shutdown
// switches the transmitter off, stops the clock with one last tick and logs
// the end.

#include <functional>

class Controls;
class Station;
class ConfigurationSnapshot;

class StartUp {
public:
    struct Hooks {
        // The network services; none in a station without them.
        std::function<void()> startNetworkServices = {};
        // The Recipient Email Address menu in step with the mailbox.
        std::function<void()> syncRecipientMenu = {};
    };

    StartUp(Station& station, ConfigurationSnapshot& snapshot, Controls& window, Hooks hooks)
        : station_(station), snapshot_(snapshot), window_(window), hooks_(std::move(hooks)) {}

    void Run();
    void ShutDown();

private:
    void setDefaults();
    void readSettings();
    void makeFolders();
    void buildIdentity();
    void setCheckMarks();
    void openSerialPort();
    void restoreSoundCard();

    Station& station_;
    ConfigurationSnapshot& snapshot_;
    Controls& window_;
    Hooks hooks_;
};
