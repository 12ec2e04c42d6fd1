#include "platform/textbox.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace platform {

void selectText(QLineEdit *box, int start, int length)
{
    const int size = int(box->text().size());
    start = qBound(0, start, size);
    box->setSelection(start, qMin(length, size - start));
}

void refocusAndSelect(QLineEdit *box, int start, int length)
{
    box->setFocus();
    QPointer<QLineEdit> guard(box);
    QTimer::singleShot(0, box, [guard, start, length] {
        // The window may not be active again yet (a message box has just
        // closed); the box is still its focus widget and keeps the selection
        // when the window returns.
        if (guard && guard->window()->focusWidget() == guard)
            selectText(guard, start, length);
    });
}

} // namespace platform
