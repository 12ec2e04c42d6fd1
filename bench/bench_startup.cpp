// bench_startup [ISSUES...]: start-up to the main window shown with the
// collection open, for collections of the timing shape (default 10,000,
// 50,000 and 200,000 issues) against start-up with an empty collection (the
// floor), in the same run; prints both, their ratio and the peak memory.
// Each size runs in a process of its own, so its peak memory is its own.

#include "benchtiming.h"

#include "db/collectionfile.h"
#include "db/session.h"
#include "platform/database.h"
#include "platform/feedback.h"
#include "shell/mainwindow.h"
#include "shell/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {

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

// In a child: 25 start-ups with each file in turn, medians compared.
int measure(const QString &dir, const QString &empty, const QString &big)
{
    startOnce(dir, empty); // the toolkit's first-use costs
    std::vector<double> floorMs, programMs;
    for (int i = 0; i < 25; ++i) {
        floorMs.push_back(startOnce(dir, empty));
        programMs.push_back(startOnce(dir, big));
    }
    const double floor = median(floorMs), program = median(programMs);
    // What each open would add had the soundness check stayed before the window.
    platform::Database db = platform::Database::openReadOnly(big);
    QElapsedTimer t;
    t.start();
    db.scalar(QStringLiteral("PRAGMA quick_check(1)"));
    const double check = double(t.nsecsElapsed()) / 1e6;
    db.close();
    benchOut() << QStringLiteral("%1 bytes: program %2 ms, floor (empty) %3 ms, ratio %4, peak %5 MB; "
                                 "the check after the window %6 ms (ratio %7 had it stayed before)\n")
                      .arg(QFileInfo(big).size(), 10)
                      .arg(program, 6, 'f', 1)
                      .arg(floor, 6, 'f', 1)
                      .arg(program / floor, 4, 'f', 2)
                      .arg(peakMb(), 5, 'f', 1)
                      .arg(check, 6, 'f', 1)
                      .arg((program + check) / floor, 4, 'f', 2);
    benchOut().flush();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::prepareDisplay(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 4 && args.first() == QStringLiteral("--measure")) {
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, args.at(1));
        return measure(args.at(1), args.at(2), args.at(3));
    }

    if (args.isEmpty())
        args = QStringList{QStringLiteral("10000"), QStringLiteral("50000"), QStringLiteral("200000")};
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.pkx"));
    db::CreateCollectionDatabase(empty);
    benchOut() << "platform " << QGuiApplication::platformName() << '\n';
    for (const QString &issues : args) {
        const QString big = dir.filePath(QStringLiteral("reference-%1.pkx").arg(issues));
        if (!makeReferenceSample(big, issues.toLongLong()))
            qFatal("panelkeep-sample failed");
        benchOut() << QStringLiteral("%1 issues, ").arg(issues, 7);
        benchOut().flush();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--measure"), dir.path(), empty, big});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return 1;
    }
    return 0;
}
