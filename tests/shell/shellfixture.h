#pragma once

// Shared by the shell tests: a settings store and folders of their own, and a
// main window started the way the program starts it.

#include "shell/mainwindow.h"
#include "shell/statusbar.h"

#include "db/collectionfile.h"
#include "db/session.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace shelltest {

// Points the per-user settings store into dir, so no test reads or writes the
// real user's settings, and checks that it took.
inline void isolateSettings(const QTemporaryDir &dir)
{
    QStandardPaths::setTestModeEnabled(true);
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, dir.path());
    const QSettings probe(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("PANELKEP"),
                          QStringLiteral("PANELKEP"));
    QVERIFY2(probe.fileName().startsWith(dir.path()), qPrintable(probe.fileName()));
}

// Empties the store between tests.
inline void clearSettings()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("PANELKEP"),
                QStringLiteral("PANELKEP"));
    s.clear();
    s.sync();
}

inline QString setting(const QString &section, const QString &key)
{
    return platform::getSetting(section, key, QStringLiteral("<missing>"));
}

inline QString settingsFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("PANELKEP"),
                     QStringLiteral("PANELKEP"))
        .fileName();
}

// A main window as start-up builds it, with the given program folder and
// command line; ending the program is only counted.
struct Run
{
    std::unique_ptr<shell::frmMainMenu> window;
    int ended = 0;
    bool loaded = false;
};

inline std::unique_ptr<Run> start(const QString &appDir, const QStringList &arguments = {},
                                  const QString &startDir = QString())
{
    auto run = std::make_unique<Run>();
    shell::StartupOptions options;
    options.appDir = appDir;
    options.startDir = startDir.isEmpty() ? appDir : startDir;
    options.arguments = arguments;
    Run *r = run.get();
    options.endProgram = [r] { ++r->ended; };
    run->window = std::make_unique<shell::frmMainMenu>(options);
    run->loaded = run->window->Form_Load();
    return run;
}

// A window whose start-up has not run (for testing routines on their own).
inline std::unique_ptr<shell::frmMainMenu> bareWindow(const QString &appDir)
{
    shell::StartupOptions options;
    options.appDir = appDir;
    options.startDir = appDir;
    options.endProgram = [] {};
    auto window = std::make_unique<shell::frmMainMenu>(options);
    window->appDir = appDir;
    QDir::setCurrent(appDir);
    return window;
}

inline QString makeCollection(const QString &path)
{
    db::CreateCollectionDatabase(path);
    return path;
}

inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(bytes);
    return path;
}

inline QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

inline QString panel(const shell::frmMainMenu &w, int index)
{
    return w.sbMain->panelText(index);
}

// The captions of the recent items shown, in menu order.
inline QStringList shownRecentItems(const shell::frmMainMenu &w)
{
    QStringList shown;
    for (QAction *item : w.mnuFilArray)
        if (item && item->isVisible())
            shown << item->text();
    return shown;
}

// The data commands and toolbar buttons whose enabled state differs from
// enabled; empty when all of them match.
inline QStringList dataCommandsNotIn(const shell::frmMainMenu &w, bool enabled)
{
    QStringList wrong;
    const QList<QAction *> items = {w.mnuFilAddCompany,
                                    w.mnuFilAddTitle,
                                    w.mnuFilAddIssue,
                                    w.mnuFilSetDefaultDatabase,
                                    w.mnuFilSetCurrentCoverPrice,
                                    w.mnuFilBulkDelete,
                                    w.mnuReports->menuAction()};
    for (QAction *a : items)
        if (a->isEnabled() != enabled)
            wrong << a->objectName() + a->text();
    for (int pos : {5, 6, 7, 8, 10, 11, 12, 13})
        if (w.tbarButton(pos)->isEnabled() != enabled)
            wrong << QStringLiteral("button %1").arg(pos);
    return wrong;
}

} // namespace shelltest
