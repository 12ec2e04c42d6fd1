#include "shell/commandscope.h"

#include "db/lookuplists.h"
#include "platform/engineerror.h"
#include "platform/messagebox.h"

namespace shell {

CommandScope::CommandScope(QTimer *timer, QWidget *window, Pointer pointer)
    : m_timer(timer)
    , m_window(window)
{
    if (m_timer)
        m_timer->stop();
    if (pointer == Pointer::Hourglass)
        hourglass();
}

CommandScope::~CommandScope()
{
    arrow();
    // start() on a timer begins a full new interval.
    if (m_timer)
        m_timer->start();
}

void CommandScope::hourglass()
{
    if (m_window)
        m_window->setCursor(Qt::WaitCursor);
    m_busy = true;
}

void CommandScope::arrow()
{
    if (m_busy && m_window)
        m_window->unsetCursor();
    m_busy = false;
}

namespace {
void showDataError(CommandScope &scope, const QString &text)
{
    // Shown with the arrow back but before the timer restarts, so the prompt
    // does not replace the status text while the box is up.
    scope.arrow();
    platform::showMessage(text.isEmpty() ? db::UnexpectedDataErrorText : text, QStringLiteral("Data Error"),
                          platform::MsgButtons::OK, platform::MsgIcon::Critical);
}
} // namespace

void runCommand(QTimer *timer, QWidget *window, CommandScope::Pointer pointer,
                const std::function<void(CommandScope &)> &work)
{
    CommandScope scope(timer, window, pointer);
    try {
        work(scope);
    } catch (const platform::EngineError &e) {
        showDataError(scope, e.text());
    } catch (...) {
        // Anything else (out of memory, a library's own error) has no text a
        // user could act on, and must not reach the event loop.
        showDataError(scope, QString());
    }
}

} // namespace shell
