#include "platform/textbox.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>

namespace platform {

void selectText(QLineEdit *box, int start, int length)
{
    const int size = int(box->text().size());
    start = qBound(0, start, size);
    box->setSelection(start, qMin(length, size - start));
}

TextArea::TextArea(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void selectText(TextArea *box, int start, int length)
{
    const int size = int(box->text().size());
    start = qBound(0, start, size);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + qMin(length, size - start), QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

namespace {
// Selects once the focus has really arrived, after the box's own got-focus
// handling: the deferral lets the focus change under way finish first (a line
// edit clears its selection when it loses the focus, after any handler of
// that loss has run).
void selectSoon(QLineEdit *box, int start, int length)
{
    QPointer<QLineEdit> guard(box);
    QTimer::singleShot(0, box, [guard, start, length] {
        if (guard && guard->hasFocus())
            selectText(guard, start, length);
    });
}

// While a message box still holds the activation the box cannot have the
// focus yet; it gets it when its window becomes active again.
class SelectOnReturn : public QObject
{
public:
    SelectOnReturn(QLineEdit *box, int start, int length)
        : QObject(box)
        , m_start(start)
        , m_length(length)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            selectSoon(static_cast<QLineEdit *>(watched), m_start, m_length);
            deleteLater();
        }
        return false;
    }

private:
    int m_start;
    int m_length;
};
} // namespace

void refocusAndSelect(QLineEdit *box, int start, int length)
{
    box->setFocus();
    if (box->hasFocus())
        selectSoon(box, start, length);
    else
        new SelectOnReturn(box, start, length);
}

} // namespace platform
