#pragma once
// The editor's text view on a QPlainTextEdit: file bytes shown as Latin-1,
// soft line breaks (CR CR LF) kept as line separators inside a line, right
// and left margins that set the wrap width, and the text taken back with a
// soft break at every point where the view wraps. Window thread.

#include <QPlainTextEdit>
#include <string>

class EditorTextView : public QPlainTextEdit {
public:
    explicit EditorTextView(QWidget* parent = nullptr);

    void showBytes(const std::string& bytes);
    std::string bytesWithSoftBreaks();
    void removeSoftBreaks();
    void setMargins(int left, int right);
};
