#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

// Types text key by key as a user would. QTest::keyClicks handles ASCII only;
// other characters go as key events carrying their text.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80)
            QTest::keyClick(widget, char(c));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                                Qt::NoModifier);
    }
}

// Types where the focus is, key by key, as a keyboard does: a handler that
// moves the focus gets the following keys somewhere else.
inline void typeAtFocus(const QString &text)
{
    for (const QChar c : text)
        typeText(QApplication::focusWidget(), QString(c));
}

// Replaces a box's text as pasting does, past any key filter.
inline void paste(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    box->insert(text);
}

// Replaces a box's text the way a user does: focus it, select everything,
// then type over the selection (or delete it when the new text is empty).
inline void typeOver(QLineEdit *box, const QString &text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        typeText(box, text);
}
