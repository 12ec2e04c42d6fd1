#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace shell {

// The frame every command runs in: the idle-prompt timer is off while the
// command works and is started afresh when it ends (so a message it wrote
// stays a full interval), and a busy pointer is always put back, whether the
// command ends normally, early or through an exception.
class CommandScope
{
public:
    enum class Pointer { Unchanged, Hourglass };

    CommandScope(QTimer *timer, QWidget *window, Pointer pointer = Pointer::Unchanged);
    ~CommandScope();
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

    // The main window's pointer for long work inside the command.
    void hourglass();
    void arrow();

private:
    QPointer<QTimer> m_timer;
    QPointer<QWidget> m_window;
    bool m_busy = false;
};

// Runs a command's work inside a CommandScope. An error escaping the work is
// shown as a data error ("Data Error", OK, critical icon) instead of reaching
// the event loop: an engine error with its own text, anything else with the
// standard notice.
void runCommand(QTimer *timer, QWidget *window, CommandScope::Pointer pointer,
                const std::function<void(CommandScope &)> &work);

// Where a screen's frame of the given size goes so that the main window's
// status line (whose top edge is at statusTop, in screen coordinates) stays
// readable: centred over the window and ending above the status line; below
// the window, or beside it, when there is no room above; the top of the
// available area when nothing fits.
QPoint screenPosition(QSize frame, const QRect &windowFrame, int statusTop, const QRect &available);
// Moves screen there before it is shown.
void placeScreen(QWidget &screen, QWidget *window);

// The screen command: hourglass, load the screen, fill it, show it modally
// only when the fill succeeded, unload it; the pointer returns to the arrow
// and the timer runs again afterwards.
template <typename Screen, typename Fill> void runScreenCommand(QTimer *timer, QWidget *window, Fill fill)
{
    runCommand(timer, window, CommandScope::Pointer::Hourglass, [&](CommandScope &) {
        auto screen = std::make_unique<Screen>(window);
        if (fill(*screen)) {
            placeScreen(*screen, window);
            screen->exec();
        }
        // A screen that closes right after one of its own message boxes
        // leaves some window managers with no window to give the keyboard
        // to; the main window takes it back explicitly.
        if (window && window->isVisible())
            window->activateWindow();
    });
}

// Runs the slow soundness checks of the open collection once per open (at the
// latest before its first writing command): a damaged collection is reported
// ("Data Error", OK, critical icon) and reopened read-only, then reshow()
// updates the window.
void checkCollectionSoundness(QWidget *window, const std::function<void()> &reshow);

// The same, run from the event loop once window is on screen, so the user
// sees the collection open however long the checks take.
void checkCollectionSoundnessOnceShown(QWidget *window, const std::function<void()> &reshow);

// For a command that would write: true when the open collection can be
// written; otherwise tells the user so, before any screen is loaded.
bool collectionWritable(QWidget *window, const std::function<void()> &reshow);

// A screen command whose screen writes to the collection.
template <typename Screen, typename Fill>
void runWritingScreenCommand(QTimer *timer, QWidget *window, const std::function<void()> &reshow, Fill fill)
{
    if (collectionWritable(window, reshow))
        runScreenCommand<Screen>(timer, window, fill);
}

} // namespace shell
