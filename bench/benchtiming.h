#pragma once

// What every timing program prints: a label and the milliseconds it took.

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <functional>

inline QTextStream &benchOut()
{
    static QTextStream out(stdout);
    return out;
}

inline double timeIt(const QString &label, const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    benchOut() << QStringLiteral("%1 %2 ms\n").arg(label, -58).arg(ms, 10, 'f', 1);
    benchOut().flush();
    return ms;
}
