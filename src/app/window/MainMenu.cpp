#include "app/window/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/CommandIds.h"
#include "app/window/WidgetControls.h"
#include "coding/LineTables.h"
#include "sound/SoundCardMenu.h"

namespace {

struct Item {
    int id;  // 0: separator
    const char* text;
};

class MenuBuilder {
public:
    MenuBuilder(WidgetControls& controls, std::function<void(int)> dispatch)
        : controls_(controls), dispatch_(std::move(dispatch)) {}

    void add(QMenu* menu, int id, const QString& text) {
        if (id == 0) {
            menu->addSeparator();
            return;
        }
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(false);
        // The station sets every check mark itself; Qt's own flip is undone.
        QObject::connect(action, &QAction::triggered, action, [dispatch = dispatch_, action, id](bool checked) {
            action->setChecked(!checked);
            dispatch(id);
        });
        controls_.bindAction(id, action);
    }
    void addAll(QMenu* menu, std::initializer_list<Item> items) {
        for (const Item& item : items) add(menu, item.id, QString::fromLatin1(item.text));
    }

private:
    WidgetControls& controls_;
    std::function<void(int)> dispatch_;
};

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
                                        {32839, "Restore Configuration from Tarvik.CFG "}});
    build.addAll(bar->addMenu("Edit"), {{32826, "Tarvik Editor"},
                                        {32827, "Schedule.lst"},
                                        {32828, "Schedule_temp.lst"},
                                        {32829, "Initialization File"}});
    QMenu* control = bar->addMenu("Control");
    build.addAll(control, {{32794, "Diddle"}, {32795, "Header"}, {32830, "Auto CW ID TImer"},
                           {32831, "Send CW ID Now"}, {32796, "Autostart"}, {32820, "No Timer"}});
    build.addAll(control->addMenu("Recipient Email Address . . ."),
                 {{40001, "KOVA@"}, {40002, "AUTOSTART@"}, {40003, "100@"}, {40004, "PODIUM@"}, {0, ""}, {40005, "OTHER@"}});
    build.addAll(control, {{32833, "Internet Link"}});
    QMenu* mode = bar->addMenu("Mode");
    for (const LineModeInfo& info : kLineModes) build.add(mode, info.menuId, QString::fromLatin1(info.itemText));
    bar->addSeparator();
    bar->addSeparator();
    QMenu* port = bar->addMenu("ComPort");
    build.add(port, Id::ComDisabled, "Disabled");
    for (int n = 1; n <= 8; ++n) build.add(port, Id::Com1 + n - 1, QString("COM%1").arg(n));
    QMenu* baud = bar->addMenu("BAUD_Rate");
    for (const BaudRate& rate : kBaudRates) build.add(baud, rate.menuId, QString::fromLatin1(rate.itemText));
    build.addAll(bar->addMenu("TU_Setup"), {{32806, "Disabled"},
                                            {32807, "RTS Xmit"},
                                            {32808, "DTR Xmit"},
                                            {32809, "RTS Xmit / DTR CWID"},
                                            {32810, "DTR Xmit / RTS CWID"}});
    build.addAll(bar->addMenu("Dovetron"),
                 {{32818, "Computer source (default DTR off)"}, {32819, "Teletype source"}});
    QMenu* sound = bar->addMenu("SoundCard");
    for (const SoundMenuItem& item : kSoundMenuItems) build.add(sound, item.commandId, QString::fromLatin1(item.text));
    build.addAll(bar->addMenu("Test"), {{32775, "Send CWID"},
                                        {32776, "Send RYRYRY"},
                                        {32777, "Send QuickBrownFox"},
                                        {32778, "View Log"},
                                        {32824, "Send Break Signal"}});
    // The two items the original put in the window's system menu.
    QMenu* help = bar->addMenu("Help");
    controls.bindAction(Id::Help, help->menuAction());
    build.addAll(help, {{Id::SystemAbout, "&About Tarvik..."}, {Id::SystemScheduleEditor, "Schedule Editor"}});
    for (int id : {32820, 32797, 32818, 32811}) controls.checkMenuItem(id, true);
}
