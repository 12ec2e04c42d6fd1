#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

// Picks an entry as a user does: opens the list, moves to the entry and
// presses Enter, so the box reports a choice even of the entry already
// shown. False when the list has no such entry.
inline bool chooseItem(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchExactly);
    if (index < 0)
        return false;
    box->setFocus();
    box->showPopup();
    QAbstractItemView *view = box->view();
    view->setCurrentIndex(box->model()->index(index, box->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
    return box->currentIndex() == index;
}

inline QStringList itemsOf(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
