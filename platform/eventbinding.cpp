#include "platform/eventbinding.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

namespace {
class Binding : public QObject
{
public:
    explicit Binding(QWidget *w) : QObject(w)
    {
        setObjectName(QLatin1String(Name));
        w->installEventFilter(this);
    }

    // Found by name: without Q_OBJECT a findChild<Binding *> would take any
    // child (a line edit's own QWidgetLineControl) for a Binding.
    static constexpr const char *Name = "platform::eventbinding";

    std::function<void()> gotFocus;
    std::function<void()> lostFocus;
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
            if (lostFocus && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
                lostFocus();
            break;
        case QEvent::KeyPress:
            if (keyPress)
                return filterKey(watched, static_cast<QKeyEvent *>(event));
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool filterKey(QObject *, QKeyEvent *event)
    {
        int code = 0;
        if (event->key() == Qt::Key_Backspace)
            code = 8;
        else if (!event->text().isEmpty() && event->text().at(0).isPrint()
                 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            code = event->text().at(0).unicode();
        if (code == 0)
            return false;
        keyPress(code);
        return code == 0;
    }
};

Binding *bindingFor(QWidget *w)
{
    if (QObject *b = w->findChild<QObject *>(QLatin1String(Binding::Name), Qt::FindDirectChildrenOnly))
        return static_cast<Binding *>(b);
    return new Binding(w);
}
} // namespace

void onGotFocus(QWidget *widget, std::function<void()> handler)
{
    bindingFor(widget)->gotFocus = std::move(handler);
}

void onLostFocus(QWidget *widget, std::function<void()> handler)
{
    bindingFor(widget)->lostFocus = std::move(handler);
}

void onKeyPress(QWidget *widget, std::function<void(int &keyAscii)> handler)
{
    bindingFor(widget)->keyPress = std::move(handler);
}

} // namespace platform
