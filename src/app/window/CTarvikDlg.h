#pragma once
// The station's one window: the queue, the file box, the counters and state
// texts, the text on the air, the log and the chat users, with menu 133 and
// the buttons. It binds every id to its widget and forwards every command to
// the command table; the station code behind it never sees a widget.
// Closing asks first; a close that arrives inside a running transmission
// cancels the work and completes once it has unwound.

#include <QDialog>
#include <functional>
#include <memory>

#include "app/window/WidgetControls.h"

class CommandTable;
class PaintPacer;
class QComboBox;
class QKeyEvent;
class QListWidget;
class QMouseEvent;

class CTarvikDlg : public QDialog {
public:
    explicit CTarvikDlg(QWidget* parent = nullptr);
    ~CTarvikDlg() override;

    WidgetControls& controls() { return *controls_; }
    const PaintPacer& paintPacer() const { return *paintPacer_; }
    void setCommands(CommandTable* commands) { commands_ = commands; }
    // What a confirmed close runs before the window goes (cancelling the work in hand).
    void setOnCloseConfirmed(std::function<void()> cancelWork) { cancelWork_ = std::move(cancelWork); }

    // Forwards a command id; a close confirmed meanwhile completes afterwards.
    void dispatch(int id);
    // A close as confirmed by the operator (also SIGTERM and SIGINT).
    void closeConfirmed();
    bool closing() const { return closePending_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void accept() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void watchControls();
    bool cancelKeyTaken(QObject* watched, QKeyEvent* key);
    bool doubleClickTaken(QObject* watched, QMouseEvent* click);
    void finishCloseWhenUnwound();

    std::unique_ptr<WidgetControls> controls_;
    CommandTable* commands_ = nullptr;
    std::function<void()> cancelWork_;
    QComboBox* fileBox_ = nullptr;
    QListWidget* queue_ = nullptr;
    PaintPacer* paintPacer_ = nullptr;
    int depth_ = 0;
    bool closePending_ = false;
    bool closeAllowed_ = false;
};
