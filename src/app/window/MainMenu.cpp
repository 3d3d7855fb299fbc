#include "app/window/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/CommandIds.h"
#include "app/window/WidgetControls.h"
#include "coding/LineTables.h"
#include "sound/SoundCardMenu.h"

namespace {

// Toggles and choices carry the station's check mark; commands have none.
enum class Mark { None, Check };

struct Item {
    int id;  // 0: separator
    const char* text;
};

class MenuBuilder {
public:
    MenuBuilder(WidgetControls& controls, std::function<void(int)> dispatch)
        : controls_(controls), dispatch_(std::move(dispatch)) {}

    void add(QMenu* menu, int id, const QString& text, Mark mark) {
        if (id == 0) {
            menu->addSeparator();
            return;
        }
        QAction* action = menu->addAction(text);
        if (mark == Mark::Check) {
            action->setCheckable(true);
            // The station sets every check mark itself; Qt's own flip is undone.
            QObject::connect(action, &QAction::triggered, action, [dispatch = dispatch_, action, id](bool checked) {
                action->setChecked(!checked);
                dispatch(id);
            });
        } else {
            QObject::connect(action, &QAction::triggered, action, [dispatch = dispatch_, id] { dispatch(id); });
        }
        controls_.bindAction(id, action);
    }
    void addAll(QMenu* menu, std::initializer_list<Item> items, Mark mark) {
        for (const Item& item : items) add(menu, item.id, QString::fromLatin1(item.text), mark);
    }

private:
    WidgetControls& controls_;
    std::function<void(int)> dispatch_;
};

Mark SoundItemMark(int id) { return id == Id::SoundSetup || id == Id::SoundNote ? Mark::None : Mark::Check; }

}  // namespace

void BuildMainMenu(QMenuBar* bar, WidgetControls& controls, const std::function<void(int id)>& dispatch) {
    MenuBuilder build(controls, dispatch);
    build.addAll(bar->addMenu("File"), {{32771, "Add File"},
                                        {32825, "Move Selected Items to Top of Queue"},
                                        {32770, "Send Selected  File"},
                                        {32772, "Add Multiple Files from Anywhere . . ."},
                                        {0, ""},
                                        {32773, "Remove Selected Items"},
                                        {32774, "Clear Entire Queue"},
                                        {32769, "Reload Queue"},
                                        {0, ""},
                                        {32779, "Launch Editor"},
                                        {0, ""},
                                        {32834, "Save Configuration in Tarvik.CFG"},
                                        {32839, "Restore Configuration from Tarvik.CFG "}},
                Mark::None);
    build.addAll(bar->addMenu("Edit"), {{32826, "Tarvik Editor"},
                                        {32827, "Schedule.lst"},
                                        {32828, "Schedule_temp.lst"},
                                        {32829, "Initialization File"}},
                Mark::None);
    QMenu* control = bar->addMenu("Control");
    build.addAll(control, {{32794, "Diddle"}, {32795, "Header"}, {32830, "Auto CW ID TImer"}}, Mark::Check);
    build.addAll(control, {{32831, "Send CW ID Now"}}, Mark::None);
    build.addAll(control, {{32796, "Autostart"}, {32820, "No Timer"}}, Mark::Check);
    build.addAll(control->addMenu("Recipient Email Address . . ."),
                 {{40001, "KOVA@"}, {40002, "AUTOSTART@"}, {40003, "100@"}, {40004, "PODIUM@"}, {0, ""}, {40005, "OTHER@"}},
                 Mark::Check);
    build.addAll(control, {{32833, "Internet Link"}}, Mark::Check);
    QMenu* mode = bar->addMenu("Mode");
    for (const LineModeInfo& info : kLineModes) build.add(mode, info.menuId, QString::fromLatin1(info.itemText), Mark::Check);
    bar->addSeparator();
    bar->addSeparator();
    QMenu* port = bar->addMenu("ComPort");
    build.add(port, Id::ComDisabled, "Disabled", Mark::Check);
    for (int n = 1; n <= 8; ++n) build.add(port, Id::Com1 + n - 1, QString("COM%1").arg(n), Mark::Check);
    QMenu* baud = bar->addMenu("BAUD_Rate");
    for (const BaudRate& rate : kBaudRates) build.add(baud, rate.menuId, QString::fromLatin1(rate.itemText), Mark::Check);
    build.addAll(bar->addMenu("TU_Setup"), {{32806, "Disabled"},
                                            {32807, "RTS Xmit"},
                                            {32808, "DTR Xmit"},
                                            {32809, "RTS Xmit / DTR CWID"},
                                            {32810, "DTR Xmit / RTS CWID"}},
                 Mark::Check);
    build.addAll(bar->addMenu("Dovetron"),
                 {{32818, "Computer source (default DTR off)"}, {32819, "Teletype source"}}, Mark::Check);
    QMenu* sound = bar->addMenu("SoundCard");
    for (const SoundMenuItem& item : kSoundMenuItems)
        build.add(sound, item.commandId, QString::fromLatin1(item.text), SoundItemMark(item.commandId));
    QMenu* test = bar->addMenu("Test");
    build.addAll(test, {{32775, "Send CWID"}, {32776, "Send RYRYRY"}, {32777, "Send QuickBrownFox"}, {32778, "View Log"}},
                 Mark::None);
    build.addAll(test, {{32824, "Send Break Signal"}}, Mark::Check);
    // The two items the original put in the window's system menu.
    QMenu* help = bar->addMenu("Help");
    controls.bindAction(Id::Help, help->menuAction());
    build.addAll(help, {{Id::SystemAbout, "&About Tarvik..."}, {Id::SystemScheduleEditor, "Schedule Editor"}}, Mark::None);
    for (int id : {32820, 32797, 32818, 32811}) controls.checkMenuItem(id, true);
}
