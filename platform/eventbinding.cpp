#include "platform/eventbinding.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace platform {

namespace {
class Binding : public QObject
{
public:
    explicit Binding(QWidget *w)
        : QObject(w)
    {
        w->installEventFilter(this);
    }

    std::function<void()> gotFocus;
    std::function<void()> lostFocus;
    bool lostWithinWindowOnly = false;
    std::function<void(int &)> keyPress;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (gotFocus)
                gotFocus();
            break;
        case QEvent::FocusOut:
            // A popup (a combo's list, a context menu) taking focus for a moment
            // is not the user leaving the box.
            if (lostFocus && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason &&
                (!lostWithinWindowOnly || focusStaysInWindow(static_cast<QWidget *>(watched))))
                lostFocus();
            break;
        case QEvent::KeyPress:
            if (keyPress)
                return filterKey(watched, static_cast<QKeyEvent *>(event));
            break;
        default: break;
        }
        return false;
    }

private:
    static bool focusStaysInWindow(const QWidget *w)
    {
        const QWidget *to = QApplication::focusWidget();
        return to && to->window() == w->window();
    }

    bool filterKey(QObject *, QKeyEvent *event)
    {
        int code = 0;
        if (event->key() == Qt::Key_Backspace)
            code = 8;
        else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
                 !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            code = event->text().at(0).unicode();
        if (code == 0)
            return false;
        keyPress(code);
        return code == 0;
    }
};

class EnterPresses : public QObject
{
public:
    explicit EnterPresses(QAbstractButton *b)
        : QObject(b)
    {
        b->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto *b = static_cast<QAbstractButton *>(watched);
        if (b->isEnabled() && b->isVisible())
            b->click();
        return true;
    }
};

Binding *existingBinding(QWidget *w)
{
    for (QObject *child : w->children()) {
        if (auto *b = dynamic_cast<Binding *>(child))
            return b;
    }
    return nullptr;
}

Binding *bindingFor(QWidget *w)
{
    Binding *b = existingBinding(w);
    return b ? b : new Binding(w);
}
} // namespace

void onGotFocus(QWidget *widget, std::function<void()> handler)
{
    bindingFor(widget)->gotFocus = std::move(handler);
}

void onLostFocus(QWidget *widget, std::function<void()> handler)
{
    Binding *b = bindingFor(widget);
    b->lostFocus = std::move(handler);
    b->lostWithinWindowOnly = false;
}

void onLostFocusWithinWindow(QWidget *widget, std::function<void()> handler)
{
    Binding *b = bindingFor(widget);
    b->lostFocus = std::move(handler);
    b->lostWithinWindowOnly = true;
}

void pressFocusedButtonOnEnter(QWidget *window)
{
    for (QPushButton *b : window->findChildren<QPushButton *>())
        new EnterPresses(b);
}

void leaveFocusedBox(QWidget *window)
{
    QWidget *focused = window->focusWidget();
    if (!focused)
        return;
    if (Binding *b = existingBinding(focused); b && b->lostFocus)
        b->lostFocus();
}

void onKeyPress(QWidget *widget, std::function<void(int &keyAscii)> handler)
{
    bindingFor(widget)->keyPress = std::move(handler);
}

} // namespace platform
