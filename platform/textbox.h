#pragma once

#include <QPlainTextEdit>

class QLineEdit;

namespace platform {

// Selects length characters from start, as far as the text reaches: boxes
// ask for "the first 25" or "up to 99" whatever their text holds, and a
// selection past the end must never reach the line edit.
void selectText(QLineEdit *box, int start, int length);

// A text box of several lines that wraps and keeps the line breaks typed;
// Tab leaves it, as it leaves a one-line box.
class TextArea : public QPlainTextEdit
{
public:
    explicit TextArea(QWidget *parent = nullptr);
    QString text() const { return toPlainText(); }
    void setText(const QString &text) { setPlainText(text); }
};

void selectText(TextArea *box, int start, int length);

// Gives the box the focus back and selects its text once it really has the
// focus, after its own got-focus handling: when the focus change under way
// has finished, or, if a message box holds the activation, when the box's
// window becomes active again.
void refocusAndSelect(QLineEdit *box, int start, int length);

} // namespace platform
