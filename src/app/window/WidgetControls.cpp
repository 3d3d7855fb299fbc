#include "app/window/WidgetControls.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTextBlock>
#include <QThread>
#include <QTreeWidget>
#include <cstring>

#include "app/window/LogListView.h"
#include "app/window/RowTextMirror.h"
#include "platform/HeadlessMessageBox.h"

namespace {

QString fromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string toBytes(const QString& text) {
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The text an edit shows for the bytes it was given, and where each byte
// lands in it: CR LF is one line end there, a lone CR or LF another.
QString shownText(const std::string& bytes, std::vector<int>& positions) {
    QString shown;
    positions.assign(bytes.size() + 1, 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        positions[i] = static_cast<int>(shown.size());
        char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            positions[++i] = static_cast<int>(shown.size());
            shown.append(QChar('\n'));
        } else if (c == '\r') {
            shown.append(QChar('\n'));
        } else {
            shown.append(QChar(static_cast<unsigned char>(c)));
        }
    }
    positions[bytes.size()] = static_cast<int>(shown.size());
    return shown;
}

// Changing the list never changes what the edit field holds: Add File takes
// that text.
template <typename Change>
void keepingEditText(QComboBox* box, Change change) {
    QString edited = box->currentText();
    change();
    box->setEditText(edited);
}

void insertKeepingEditText(QComboBox* box, int at, const QString& item) {
    keepingEditText(box, [&] { box->insertItem(at, item); });
}

int insertionPoint(QComboBox* box, const QString& text) {
    int at = 0;
    while (at < box->count() && QString::compare(box->itemText(at), text, Qt::CaseInsensitive) <= 0) ++at;
    return at;
}

int insertionPoint(QListWidget* list, const QString& text) {
    int at = 0;
    while (at < list->count() && QString::compare(list->item(at)->text(), text, Qt::CaseInsensitive) <= 0) ++at;
    return at;
}

}  // namespace

WidgetControls::WidgetControls(QWidget* window) : QObject(window), window_(window) { bind(0, window); }

WidgetControls::~WidgetControls() = default;

void WidgetControls::bind(int id, QWidget* widget) { widgets_[id] = widget; }

void WidgetControls::mirrorRows(int id) {
    if (auto* list = qobject_cast<QListWidget*>(widget(id))) mirrors_[id] = std::make_unique<RowTextMirror>(list->model());
}

void WidgetControls::bindAction(int id, QAction* action) { actions_[id] = action; }

QWidget* WidgetControls::widget(int id) const {
    auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : found->second;
}

QAction* WidgetControls::action(int id) const {
    auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

bool WidgetControls::Headless() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

void WidgetControls::onWindowThread(const std::function<void()>& work) {
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

void WidgetControls::setText(int id, const std::string& text) {
    onWindowThread([&] {
        QWidget* target = widget(id);
        if (id == 0 && target) target->setWindowTitle(fromBytes(text));
        else if (auto* line = qobject_cast<QLineEdit*>(target)) line->setText(fromBytes(text));
        else if (auto* edit = qobject_cast<QPlainTextEdit*>(target)) edit->setPlainText(shownText(text, bytePositions_[id]));
        else if (auto* combo = qobject_cast<QComboBox*>(target)) combo->setEditText(fromBytes(text));
        else if (auto* label = qobject_cast<QLabel*>(target)) label->setText(fromBytes(text));
        else if (auto* button = qobject_cast<QAbstractButton*>(target)) button->setText(fromBytes(text));
    });
}

std::string WidgetControls::text(int id) {
    return onWindowThreadReturning<std::string>([&]() -> std::string {
        QWidget* target = widget(id);
        if (id == 0 && target) return toBytes(target->windowTitle());
        if (auto* line = qobject_cast<QLineEdit*>(target)) return toBytes(line->text());
        if (auto* edit = qobject_cast<QPlainTextEdit*>(target)) {
            // Edits hold their line ends as CR LF, as the station wrote them.
            return toBytes(edit->toPlainText().replace(QChar('\n'), QLatin1String("\r\n")));
        }
        if (auto* combo = qobject_cast<QComboBox*>(target)) return toBytes(combo->currentText());
        if (auto* label = qobject_cast<QLabel*>(target)) return toBytes(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(target)) return toBytes(button->text());
        return {};
    });
}

void WidgetControls::setSelection(int id, int start, int end) {
    onWindowThread([&] {
        auto* edit = qobject_cast<QPlainTextEdit*>(widget(id));
        if (edit == nullptr) return;
        const std::vector<int>& positions = bytePositions_[id];
        auto position = [&](int byte) {
            if (positions.empty()) return byte;
            return positions[static_cast<std::size_t>(std::clamp<int>(byte, 0, static_cast<int>(positions.size()) - 1))];
        };
        QTextCursor cursor = edit->textCursor();
        int length = static_cast<int>(edit->document()->characterCount()) - 1;
        cursor.setPosition(std::clamp(position(start), 0, length));
        cursor.setPosition(std::clamp(position(end), 0, length), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        edit->ensureCursorVisible();
    });
}

void WidgetControls::enableControl(int id, bool enabled) {
    onWindowThread([&] {
        if (QWidget* target = widget(id)) target->setEnabled(enabled);
    });
}

int WidgetControls::listCount(int id) {
    return onWindowThreadReturning<int>([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) return list->count();
        if (auto* log = dynamic_cast<LogListView*>(target)) return log->count();
        if (auto* combo = qobject_cast<QComboBox*>(target)) return combo->count();
        return 0;
    });
}

std::string WidgetControls::listItem(int id, int index) {
    return onWindowThreadReturning<std::string>([&]() -> std::string {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) {
            QListWidgetItem* item = list->item(index);
            return item ? toBytes(item->text()) : std::string();
        }
        if (auto* log = dynamic_cast<LogListView*>(target)) return toBytes(log->item(index));
        if (auto* combo = qobject_cast<QComboBox*>(target))
            return index >= 0 && index < combo->count() ? toBytes(combo->itemText(index)) : std::string();
        return {};
    });
}

std::vector<std::string> WidgetControls::listItems(int id) {
    return onWindowThreadReturning<std::vector<std::string>>([&] {
        std::vector<std::string> items;
        if (auto* list = qobject_cast<QListWidget*>(widget(id))) {
            items.reserve(static_cast<std::size_t>(list->count()));
            for (int i = 0; i < list->count(); ++i) items.push_back(toBytes(list->item(i)->text()));
            return items;
        }
        for (int i = 0, count = listCount(id); i < count; ++i) items.push_back(listItem(id, i));
        return items;
    });
}

bool WidgetControls::listHasItemContaining(int id, const std::string& text) {
    if (auto mirror = mirrors_.find(id); mirror != mirrors_.end()) return mirror->second->anyRowContains(text);
    return onWindowThreadReturning<bool>([&] {
        for (int i = 0, count = listCount(id); i < count; ++i)
            if (::strcasestr(listItem(id, i).c_str(), text.c_str()) != nullptr) return true;
        return false;
    });
}

int WidgetControls::listAdd(int id, const std::string& text) {
    return onWindowThreadReturning<int>([&] {
        QWidget* target = widget(id);
        QString item = fromBytes(text);
        bool sorted = sorted_.count(id) > 0;
        if (auto* list = qobject_cast<QListWidget*>(target)) {
            int at = sorted ? insertionPoint(list, item) : list->count();
            list->insertItem(at, item);
            return at;
        }
        if (auto* combo = qobject_cast<QComboBox*>(target)) {
            int at = sorted ? insertionPoint(combo, item) : combo->count();
            insertKeepingEditText(combo, at, item);
            return at;
        }
        return -1;
    });
}

void WidgetControls::listInsert(int id, int index, const std::string& text) {
    onWindowThread([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target))
            list->insertItem(index < 0 || index > list->count() ? list->count() : index, fromBytes(text));
        else if (auto* combo = qobject_cast<QComboBox*>(target))
            insertKeepingEditText(combo, index < 0 || index > combo->count() ? combo->count() : index, fromBytes(text));
    });
}

void WidgetControls::listSetItem(int id, int index, const std::string& text) {
    onWindowThread([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) {
            if (QListWidgetItem* item = list->item(index)) item->setText(fromBytes(text));
        } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
            if (index >= 0 && index < combo->count())
                keepingEditText(combo, [&] { combo->setItemText(index, fromBytes(text)); });
        }
    });
}

void WidgetControls::listDelete(int id, int index) {
    onWindowThread([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) delete list->takeItem(index);
        else if (auto* combo = qobject_cast<QComboBox*>(target))
            keepingEditText(combo, [&] { combo->removeItem(index); });
    });
}

void WidgetControls::listReset(int id) {
    onWindowThread([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) list->clear();
        else if (auto* log = dynamic_cast<LogListView*>(target)) log->clear();
        else if (auto* combo = qobject_cast<QComboBox*>(target))
            keepingEditText(combo, [&] { combo->clear(); });
    });
}

int WidgetControls::listCurrent(int id) {
    return onWindowThreadReturning<int>([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) return list->currentRow();
        if (auto* log = dynamic_cast<LogListView*>(target)) return log->currentRow();
        if (auto* combo = qobject_cast<QComboBox*>(target)) return combo->currentIndex();
        return -1;
    });
}

// The log list takes the line from any thread as it is; nothing waits.
void WidgetControls::listAppendNewest(int id, const std::string& text, int keep) {
    if (auto* log = dynamic_cast<LogListView*>(widget(id))) log->append(text, keep);
}

void WidgetControls::listSetCurrent(int id, int index) {
    onWindowThread([&] {
        QWidget* target = widget(id);
        if (auto* list = qobject_cast<QListWidget*>(target)) {
            // The row alone becomes the selection: Qt's own setCurrentRow adds
            // it to an extended selection, so every message queued would stay
            // selected for the next "Remove Selected Items".
            list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
            if (QListWidgetItem* item = list->item(index)) list->scrollToItem(item);
        } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
            combo->setCurrentIndex(index);
        } else if (auto* rows = qobject_cast<QTreeWidget*>(target)) {
            rows->clearSelection();
            rows->setCurrentItem(index >= 0 ? rows->topLevelItem(index) : nullptr);
        }
    });
}

bool WidgetControls::listIsSelected(int id, int index) {
    return onWindowThreadReturning<bool>([&] {
        auto* list = qobject_cast<QListWidget*>(widget(id));
        QListWidgetItem* item = list ? list->item(index) : nullptr;
        return item != nullptr && item->isSelected();
    });
}

void WidgetControls::listSetSelected(int id, int index, bool selected) {
    onWindowThread([&] {
        auto* list = qobject_cast<QListWidget*>(widget(id));
        if (QListWidgetItem* item = list ? list->item(index) : nullptr) item->setSelected(selected);
    });
}

int WidgetControls::rowCount(int id) {
    return onWindowThreadReturning<int>([&] {
        auto* rows = qobject_cast<QTreeWidget*>(widget(id));
        return rows ? rows->topLevelItemCount() : 0;
    });
}

std::vector<std::string> WidgetControls::row(int id, int index) {
    return onWindowThreadReturning<std::vector<std::string>>([&] {
        std::vector<std::string> columns;
        auto* rows = qobject_cast<QTreeWidget*>(widget(id));
        QTreeWidgetItem* item = rows ? rows->topLevelItem(index) : nullptr;
        if (item)
            for (int column = 0; column < item->columnCount(); ++column) columns.push_back(toBytes(item->text(column)));
        return columns;
    });
}

void WidgetControls::rowInsert(int id, int index, const std::vector<std::string>& columns) {
    onWindowThread([&] {
        auto* rows = qobject_cast<QTreeWidget*>(widget(id));
        if (rows == nullptr) return;
        QStringList texts;
        for (const std::string& column : columns) texts << fromBytes(column);
        int at = index < 0 || index > rows->topLevelItemCount() ? rows->topLevelItemCount() : index;
        rows->insertTopLevelItem(at, new QTreeWidgetItem(texts));
    });
}

void WidgetControls::rowDelete(int id, int index) {
    onWindowThread([&] {
        auto* rows = qobject_cast<QTreeWidget*>(widget(id));
        if (rows) delete rows->takeTopLevelItem(index);
    });
}

bool WidgetControls::rowDeleteWith(int id, int column, const std::string& text) {
    return onWindowThreadReturning<bool>([&] {
        auto* rows = qobject_cast<QTreeWidget*>(widget(id));
        const QString wanted = fromBytes(text);
        for (int index = 0; rows && index < rows->topLevelItemCount(); ++index) {
            if (rows->topLevelItem(index)->text(column) != wanted) continue;
            delete rows->takeTopLevelItem(index);
            return true;
        }
        return false;
    });
}

int WidgetControls::rowSelected(int id) {
    return onWindowThreadReturning<int>([&] {
        // Several rows may be selected: the first of them.
        auto* rows = qobject_cast<QTreeWidget*>(widget(id));
        for (int row = 0; rows && row < rows->topLevelItemCount(); ++row)
            if (rows->topLevelItem(row)->isSelected()) return row;
        return -1;
    });
}

void WidgetControls::checkMenuItem(int id, bool checked) {
    onWindowThread([&] {
        if (QAction* item = action(id)) {
            item->setChecked(checked);  // a command, not checkable, stays unmarked
        } else if (auto* box = qobject_cast<QAbstractButton*>(widget(id))) {
            box->setChecked(checked);
        }
    });
}

bool WidgetControls::menuItemChecked(int id) {
    return onWindowThreadReturning<bool>([&] {
        if (QAction* item = action(id)) return item->isChecked();
        auto* box = qobject_cast<QAbstractButton*>(widget(id));
        return box != nullptr && box->isChecked();
    });
}

void WidgetControls::enableMenuItem(int id, bool enabled) {
    onWindowThread([&] {
        if (QAction* item = action(id)) item->setEnabled(enabled);
    });
}

bool WidgetControls::menuItemEnabled(int id) {
    return onWindowThreadReturning<bool>([&] {
        QAction* item = action(id);
        return item != nullptr && item->isEnabled();
    });
}

void WidgetControls::setMenuItemText(int id, const std::string& text) {
    onWindowThread([&] {
        if (QAction* item = action(id)) item->setText(fromBytes(text));
    });
}

MessageAnswer WidgetControls::messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                         MessageIcon icon) {
    if (Headless()) {
        MessageAnswer taken = HeadlessMessageBox(text, caption, buttons);
        return answerScripted_ ? headlessAnswer_ : taken;
    }
    return onWindowThreadReturning<MessageAnswer>([&] {
        QMessageBox box(window_);
        box.setWindowTitle(fromBytes(caption));
        box.setText(fromBytes(text));
        box.setIcon(icon == MessageIcon::Error         ? QMessageBox::Critical
                    : icon == MessageIcon::Warning     ? QMessageBox::Warning
                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                       : QMessageBox::NoIcon);
        if (buttons == MessageButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    });
}

void WidgetControls::beep() {
    ++beeps_;
    onWindowThread([] { QApplication::beep(); });
}
