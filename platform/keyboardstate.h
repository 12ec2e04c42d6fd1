#pragma once

#include <QObject>
#include <functional>
#include <optional>

// The Insert-key toggle and the Caps Lock state for the status bar. Qt has no
// API for lock states: where the window system can be asked (X11 through XKB)
// Caps Lock is read from it, otherwise both are followed by watching the key
// presses that reach the program. The Insert key has no indicator anywhere, so
// it is always followed that way; it starts off.
namespace platform {

class KeyboardState : public QObject
{
    Q_OBJECT
public:
    // The one instance; watches the application's key events from its first use.
    static KeyboardState &instance();

    bool insertOn() const { return m_insert; }
    bool capsLockOn() const { return m_capsLock; }

    // Asks the window system again (when it can tell) and signals a change.
    void refresh();

    // Tests replace the window-system query; an empty function restores it.
    // The query answers nothing when the window system cannot tell.
    using CapsLockQuery = std::function<std::optional<bool>()>;
    void setCapsLockQuery(CapsLockQuery query);
    // Puts the followed states back to their start (Insert off, Caps Lock off).
    void reset();

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyboardState();
    std::optional<bool> queryCapsLock() const;
    void set(bool insert, bool capsLock);

    bool m_insert = false;
    bool m_capsLock = false;
    CapsLockQuery m_query;
};

} // namespace platform
