#pragma once

// What every timing program shares: a label and the milliseconds it took,
// the process's peak memory, and collections of the timing shape.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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

// Peak resident memory of this process so far, in MB.
inline double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Writes a collection of the timing shape (100 companies, 5,000 titles,
// issues per title skewed; the same file for the same count) with the
// sample tool beside this program; false when the tool fails.
inline bool makeReferenceSample(const QString &path, qint64 issues)
{
    return QProcess::execute(QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-sample"),
                             {path, QStringLiteral("--reference"), QStringLiteral("--issues"),
                              QString::number(issues), QStringLiteral("--seed"), QStringLiteral("1")}) == 0;
}
