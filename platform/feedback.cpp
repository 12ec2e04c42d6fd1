#include "platform/feedback.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>

namespace platform {

namespace {
struct Hooks
{
    std::function<void()> beep;
    std::function<void(const QString &)> status;
    std::function<void(const QString &)> observer;
    std::function<void()> events;
    QString last;
};

Hooks &hooks()
{
    static Hooks h;
    return h;
}
} // namespace

void beep()
{
    if (hooks().beep)
        hooks().beep();
    else
        QApplication::beep();
}

void setBeepHandler(std::function<void()> handler)
{
    hooks().beep = std::move(handler);
}

void showStatus(const QString &text)
{
    hooks().last = text;
    if (hooks().status)
        hooks().status(text);
    if (hooks().observer)
        hooks().observer(text);
    processPendingEvents();
}

void setStatusSink(std::function<void(const QString &)> sink)
{
    hooks().status = std::move(sink);
}

void setStatusObserver(std::function<void(const QString &)> observer)
{
    hooks().observer = std::move(observer);
}

QString lastStatus()
{
    return hooks().last;
}

void prepareDisplay()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

void processPendingEvents()
{
    if (hooks().events)
        hooks().events();
    else if (QCoreApplication::instance())
        // Only to repaint: a click or key taken here would run a second
        // handler inside the one that is writing (a double Add).
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void setPendingEventsHandler(std::function<void()> handler)
{
    hooks().events = std::move(handler);
}

} // namespace platform
