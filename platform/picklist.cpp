#include "platform/picklist.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWheelEvent>

namespace platform {

namespace {
class PickList : public QObject
{
public:
    PickList(QComboBox *list, std::function<void()> handler)
        : QObject(list)
        , m_list(list)
        , m_handler(std::move(handler))
        , m_chosen(list->currentIndex())
    {
        list->installEventFilter(this);
        connect(list, &QComboBox::activated, this, [this] { commit(); });
        // Any change the keys below did not make (a fill, a choice from
        // code) is the list's chosen entry from then on.
        connect(list, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (!m_moving) {
                m_chosen = index;
                m_pending = false;
            }
        });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress: return key(static_cast<QKeyEvent *>(event));
        case QEvent::Wheel:
            move(m_list->currentIndex() + (static_cast<QWheelEvent *>(event)->angleDelta().y() > 0 ? -1 : 1));
            return true;
        case QEvent::FocusOut: {
            const QWidget *to = QApplication::focusWidget();
            if (m_pending && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason && to &&
                to->window() == m_list->window())
                commit();
            break;
        }
        default: break;
        }
        return false;
    }

private:
    bool key(QKeyEvent *e)
    {
        const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
        const int last = m_list->count() - 1;
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!m_pending)
                return false; // nothing being chosen: the window's default button
            commit();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (m_pending)
                commit();
            // The handler may have moved the focus on itself; Tab must not
            // move it once more.
            return !m_list->hasFocus();
        case Qt::Key_Escape:
            if (m_pending) {
                m_moving = true;
                m_list->setCurrentIndex(m_chosen);
                m_moving = false;
                m_pending = false;
            }
            return false;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (mods & Qt::AltModifier)
                return false; // opens the list
            move(m_list->currentIndex() + (e->key() == Qt::Key_Up ? -1 : 1));
            return true;
        case Qt::Key_PageUp: move(m_list->currentIndex() - m_list->maxVisibleItems()); return true;
        case Qt::Key_PageDown: move(m_list->currentIndex() + m_list->maxVisibleItems()); return true;
        case Qt::Key_Home: move(0); return true;
        case Qt::Key_End: move(last); return true;
        default: break;
        }
        const QString text = e->text();
        if (text.isEmpty() || !text.at(0).isPrint() || (mods & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        typeAhead(text);
        return true;
    }

    void typeAhead(const QString &text)
    {
        if (!m_typing.isValid() || m_typing.elapsed() > QApplication::keyboardInputInterval())
            m_search.clear();
        m_typing.restart();
        m_search += text;
        int found = -1;
        if (m_search.size() > 1)
            found = firstStartingWith(m_search, 0);
        // One letter, or the same letter again: the next entry with it.
        if (found < 0 && m_search.count(m_search.at(0)) == m_search.size()) {
            const QString letter = m_search.left(1);
            const int current = m_list->currentIndex();
            const bool onIt =
                current >= 0 && m_list->itemText(current).startsWith(letter, Qt::CaseInsensitive);
            found = firstStartingWith(letter, onIt ? current + 1 : 0);
        }
        if (found >= 0)
            move(found);
    }

    // From index from onwards, then from the top.
    int firstStartingWith(const QString &prefix, int from) const
    {
        const int n = m_list->count();
        for (int k = 0; k < n; ++k) {
            const int i = (from + k) % n;
            if (m_list->itemText(i).startsWith(prefix, Qt::CaseInsensitive))
                return i;
        }
        return -1;
    }

    void move(int index)
    {
        if (m_list->count() == 0)
            return;
        index = qBound(0, index, m_list->count() - 1);
        if (index == m_list->currentIndex() && index == m_chosen)
            return;
        m_moving = true;
        m_list->setCurrentIndex(index);
        m_moving = false;
        // A list without a handler is read when used: what it shows is chosen.
        m_pending = m_handler && (index != m_chosen || m_pending);
        if (!m_handler)
            m_chosen = index;
    }

    void commit()
    {
        m_pending = false;
        m_chosen = m_list->currentIndex();
        m_search.clear();
        if (m_handler)
            m_handler();
    }

    QComboBox *m_list;
    std::function<void()> m_handler;
    int m_chosen;
    bool m_pending = false;
    bool m_moving = false;
    QString m_search;
    QElapsedTimer m_typing;
};
} // namespace

void onChoice(QComboBox *list, std::function<void()> handler)
{
    new PickList(list, std::move(handler));
}

} // namespace platform
