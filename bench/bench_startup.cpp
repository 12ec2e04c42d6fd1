// bench_startup [ISSUES]: start-up to the main window shown with the
// collection open, for a collection of ISSUES issues (default 200,000) and for
// an empty one (the floor), in the same run; prints both and their ratio.

#include "benchtiming.h"

#include "db/session.h"
#include "platform/database.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {

QString makeSample(const QString &path, qint64 issues)
{
    QProcess tool;
    tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-sample"),
               {path, QStringLiteral("--issues"), QString::number(issues)});
    if (!tool.waitForFinished(600000) || tool.exitCode() != 0)
        qFatal("panelkeep-sample failed: %s", tool.readAllStandardError().constData());
    return path;
}

// One start-up as the program does it, timed to the window exposed.
double startOnce(const QString &dir, const QString &file)
{
    QElapsedTimer t;
    t.start();
    shell::StartupOptions options;
    options.appDir = dir;
    options.startDir = dir;
    options.arguments = QStringList{file};
    options.endProgram = [] {};
    {
        shell::frmMainMenu window(options);
        if (!window.Form_Load())
            qFatal("start-up failed");
        window.show();
        while (!window.windowHandle() || !window.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (db::dbCollection().path() != file)
            qFatal("the collection did not open");
        const double ms = double(t.nsecsElapsed()) / 1e6;
        db::session().closeSlots();
        db::dbCollection().close();
        return ms;
    }
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir dir;
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, dir.path());
    const qint64 issues = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200000;
    const QString empty = makeSample(dir.filePath(QStringLiteral("empty.pkx")), 0);
    const QString big = makeSample(dir.filePath(QStringLiteral("big.pkx")), issues);
    benchOut()
        << QStringLiteral("collection of %1 issues, %2 bytes\n").arg(issues).arg(QFileInfo(big).size());

    startOnce(dir.path(), empty); // the toolkit's first-use costs
    std::vector<double> floorMs, programMs;
    for (int i = 0; i < 25; ++i) {
        floorMs.push_back(startOnce(dir.path(), empty));
        programMs.push_back(startOnce(dir.path(), big));
    }
    const double floor = median(floorMs), program = median(programMs);
    // What each open used to add before the slow checks moved after the window.
    platform::Database db = platform::Database::openReadOnly(big);
    const double check = timeIt(QStringLiteral("quick_check of the large file (after the window)"),
                                [&] { db.scalar(QStringLiteral("PRAGMA quick_check(1)")); });
    db.close();
    benchOut() << QStringLiteral("program (start-up, %1 issues)  %2 ms\n").arg(issues).arg(program, 0, 'f', 1)
               << QStringLiteral("floor (start-up, empty)          %1 ms\n").arg(floor, 0, 'f', 1)
               << QStringLiteral("ratio                            %1\n").arg(program / floor, 0, 'f', 2)
               << QStringLiteral("ratio had the open kept its check  %1\n")
                      .arg((program + check) / floor, 0, 'f', 2);
    benchOut().flush();
    return 0;
}
