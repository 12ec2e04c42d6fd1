#include "shell/commandscope.h"

#include "db/collectionfile.h"
#include "db/lookuplists.h"
#include "db/session.h"
#include "platform/engineerror.h"
#include "platform/messagebox.h"
#include "platform/workspace.h"

#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>

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

QPoint screenPosition(QSize frame, const QRect &windowFrame, int statusTop, const QRect &available)
{
    const int centredX = windowFrame.left() + (windowFrame.width() - frame.width()) / 2;
    const int x =
        qBound(available.left(), centredX, qMax(available.left(), available.right() + 1 - frame.width()));
    const auto fits = [&](const QPoint &p) { return available.contains(QRect(p, frame)); };
    const QPoint above(x, statusTop - frame.height());
    const QPoint below(x, windowFrame.bottom() + 1);
    const int y = qBound(available.top(), windowFrame.top(),
                         qMax(available.top(), available.bottom() + 1 - frame.height()));
    const QPoint right(windowFrame.right() + 1, y);
    const QPoint left(windowFrame.left() - frame.width(), y);
    for (const QPoint &p : {above, below, right, left})
        if (fits(p))
            return p;
    return QPoint(x, available.top());
}

void placeScreen(QWidget &screen, QWidget *window)
{
    auto *main = qobject_cast<QMainWindow *>(window);
    if (!main || !main->isVisible() || !main->statusBar())
        return;
    // The screen's own frame is not known before it is shown; the main
    // window's is the best guess.
    const QSize margins = main->frameGeometry().size() - main->geometry().size();
    const QSize frame = screen.size() + margins;
    const int statusTop = main->statusBar()->mapToGlobal(QPoint(0, 0)).y() - 1;
    const QRect available = (main->screen() ? main->screen()->availableGeometry() : QRect());
    const QPoint frameTopLeft = screenPosition(frame, main->frameGeometry(), statusTop, available);
    // move() places the frame's top-left corner.
    screen.move(frameTopLeft);
}

namespace {
// The connection last checked, so each opened collection is checked once.
std::weak_ptr<platform::detail::Connection> checkedConnection;
} // namespace

void checkCollectionSoundness(QWidget *window, const std::function<void()> &reshow)
{
    platform::Database &db = db::dbCollection();
    if (!db.isOpen() || checkedConnection.lock() == db.connection())
        return;
    checkedConnection = db.connection();
    const QString damage = db::FindCollectionDamage(db);
    if (damage.isEmpty())
        return;
    const QString path = db.path();
    platform::showMessage(
        QStringLiteral(
            "The collection file '%1' is not sound: %2.\n\nIt is open read-only so that nothing more "
            "is lost. Keep a copy of the file before trying to repair it.")
            .arg(path, damage),
        QStringLiteral("Data Error"), platform::MsgButtons::OK, platform::MsgIcon::Critical);
    try {
        db::session().closeSlots();
        db.close();
        db = platform::Workspace::defaultWorkspace().openDatabase(path, true);
        checkedConnection = db.connection();
    } catch (const platform::EngineError &) {
        // Left closed: every command then reports the closed collection.
    }
    Q_UNUSED(window);
    if (reshow)
        reshow();
}

void checkCollectionSoundnessOnceShown(QWidget *window, const std::function<void()> &reshow)
{
    QTimer::singleShot(
        window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed() ? 0 : 50, window,
        [window, reshow] {
            if (window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed())
                checkCollectionSoundness(window, reshow);
            else
                checkCollectionSoundnessOnceShown(window, reshow);
        });
}

bool collectionWritable(QWidget *window, const std::function<void()> &reshow)
{
    checkCollectionSoundness(window, reshow);
    if (!db::dbCollection().isReadOnly())
        return true;
    platform::showMessage(
        QStringLiteral(
            "This collection is open read-only, so nothing can be added, changed or deleted in it."),
        QStringLiteral("Read-Only Collection"), platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
    return false;
}

} // namespace shell
