#include "platform/keyboardstate.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

#if defined(Q_OS_LINUX) && QT_CONFIG(xcb)
#include <dlfcn.h>
#define PANELKEEP_XKB_QUERY 1
#endif

namespace platform {

namespace {
#ifdef PANELKEEP_XKB_QUERY
// The few Xlib/XKB entry points we need, looked up in the libX11 that the xcb
// platform plugin has already loaded, so the program takes no new dependency
// and runs unchanged where there is no X server.
using XAtom = unsigned long;
using XInternAtomFn = XAtom (*)(void *, const char *, int);
using XkbGetNamedIndicatorFn = int (*)(void *, XAtom, int *, int *, void *, int *);

std::optional<bool> queryXkbCapsLock()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return std::nullopt;
    static void *lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!lib)
        return std::nullopt;
    static auto internAtom = reinterpret_cast<XInternAtomFn>(dlsym(lib, "XInternAtom"));
    static auto namedIndicator = reinterpret_cast<XkbGetNamedIndicatorFn>(dlsym(lib, "XkbGetNamedIndicator"));
    if (!internAtom || !namedIndicator)
        return std::nullopt;
    void *display = x11->display();
    const XAtom caps = internAtom(display, "Caps Lock", 1);
    int index = 0;
    int on = 0;
    int real = 0;
    if (!caps || !namedIndicator(display, caps, &index, &on, nullptr, &real))
        return std::nullopt;
    return on != 0;
}
#endif
} // namespace

KeyboardState &KeyboardState::instance()
{
    static KeyboardState *state = new KeyboardState;
    return *state;
}

KeyboardState::KeyboardState()
    : QObject(QCoreApplication::instance())
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    if (const auto caps = queryCapsLock())
        m_capsLock = *caps;
}

std::optional<bool> KeyboardState::queryCapsLock() const
{
    if (m_query)
        return m_query();
#ifdef PANELKEEP_XKB_QUERY
    return queryXkbCapsLock();
#else
    return std::nullopt;
#endif
}

void KeyboardState::setCapsLockQuery(CapsLockQuery query)
{
    m_query = std::move(query);
    refresh();
}

void KeyboardState::reset()
{
    set(false, queryCapsLock().value_or(false));
}

void KeyboardState::refresh()
{
    if (const auto caps = queryCapsLock())
        set(m_insert, *caps);
}

void KeyboardState::set(bool insert, bool capsLock)
{
    if (insert == m_insert && capsLock == m_capsLock)
        return;
    m_insert = insert;
    m_capsLock = capsLock;
    emit changed();
}

bool KeyboardState::eventFilter(QObject *watched, QEvent *event)
{
    // A key event reaches its window once and then every widget it propagates
    // through; counting it at the window counts each key exactly once.
    if (event->type() == QEvent::ApplicationStateChange) {
        refresh();
    } else if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
               watched->isWindowType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool press = event->type() == QEvent::KeyPress && !key->isAutoRepeat();
        bool insert = m_insert;
        bool caps = m_capsLock;
        if (press && key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier)
            insert = !insert;
        if (const auto asked = queryCapsLock())
            caps = *asked;
        else if (press && key->key() == Qt::Key_CapsLock)
            caps = !caps;
        set(insert, caps);
    }
    return false;
}

} // namespace platform
