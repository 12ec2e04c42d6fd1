#pragma once

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
