#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types text key by key as a user would. QTest::keyClicks handles ASCII only;
// other characters go as key events carrying their text.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
