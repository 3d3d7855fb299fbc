#include "editor/EditorTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

constexpr char kHardBreak[] = "\r\n";
constexpr char kSoftBreak[] = "\r\r\n";

std::string latin1(QString text) {
    text.remove(QChar::LineSeparator);
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString shownText(const std::string& bytes) {
    std::string text = bytes.substr(0, bytes.find('\0'));
    QString shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, kSoftBreak) == 0) {
            shown.append(QChar::LineSeparator);
            i += 2;
        } else if (text.compare(i, 2, kHardBreak) == 0) {
            shown.append(QChar('\n'));
            ++i;
        } else if (text[i] == '\r') {
            shown.append(QChar('\n'));
        } else {
            shown.append(QChar(static_cast<unsigned char>(text[i])));
        }
    }
    return shown;
}

}  // namespace

EditorTextView::EditorTextView(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The margin strip looks like the rest of the view, as the original's did.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void EditorTextView::showBytes(const std::string& bytes) { setPlainText(shownText(bytes)); }

std::string EditorTextView::bytesWithSoftBreaks() {
    std::string bytes;
    QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin()) bytes += kHardBreak;
        // Lays the block out at the view's present width if it is not yet.
        doc->documentLayout()->blockBoundingRect(block);
        QTextLayout* layout = block.layout();
        QString text = block.text();
        if (layout == nullptr || layout->lineCount() == 0) {
            bytes += latin1(text);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            if (i > 0) bytes += kSoftBreak;
            bytes += latin1(text.mid(line.textStart(), line.textLength()));
        }
    }
    return bytes;
}

void EditorTextView::removeSoftBreaks() {
    const QString separator(QChar::LineSeparator);
    for (QTextCursor found = document()->find(separator); !found.isNull(); found = document()->find(separator, found))
        found.removeSelectedText();
}

void EditorTextView::setMargins(int left, int right) { setViewportMargins(left, 0, right, 0); }
