#include "shell/startup.h"

#include "shell/commandline.h"
#include "shell/mainwindow.h"
#include "shell/splash.h"
#include "shell/statusbar.h"

#include "platform/directorylookup.h"
#include "platform/feedback.h"
#include "platform/programfiles.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <cmath>

namespace shell {

StartupOptions StartupOptions::forProgramIn(const QString &binaryDir)
{
    StartupOptions options;
    options.appDir = platform::programFilesDir(binaryDir);
    options.collectionDir = platform::defaultCollectionDir(binaryDir);
    options.startDir = QDir::currentPath();
    return options;
}

StartupOptions StartupOptions::fromApplication()
{
    StartupOptions options = forProgramIn(QCoreApplication::applicationDirPath());
    options.arguments = QCoreApplication::arguments().mid(1);
    options.endProgram = [] { QCoreApplication::quit(); };
    return options;
}

QString fileInDir(const QString &dir, const QString &fileName)
{
    if (dir.endsWith(QLatin1Char('/')))
        return dir + fileName;
    return dir + QLatin1Char('/') + fileName;
}

std::optional<bool> settingToBool(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double value = QLocale::c().toDouble(t, &isNumber);
    // "nan" and "inf" parse as doubles but are not numbers a user wrote.
    if (isNumber && std::isfinite(value))
        return value != 0.0;
    return std::nullopt;
}

} // namespace shell

using shell::frmMainMenu;

bool frmMainMenu::Form_Load()
{
    m_splash = new frmSplash(this);
    m_splash->show();
    m_splash->setCursor(Qt::WaitCursor);
    platform::processPendingEvents();

    appDir = m_options.appDir;
    QDir::setCurrent(appDir);

    QStringList args;
    int count = 0;
    if (!GetCommandLineArgs(m_options.arguments, args, count)) {
        delete m_splash;
        if (m_options.endProgram)
            m_options.endProgram();
        return false;
    }
    currentPath.clear();
    if (count >= 1) {
        // A relative name means a file where the program was started from.
        const QString named =
            QDir(m_options.startDir.isEmpty() ? appDir : m_options.startDir).absoluteFilePath(args[0]);
        if (!args[0].isEmpty() && QFileInfo(named).isFile())
            currentPath = QDir::cleanPath(named);
    }

    recentFiles = {};
    LoadRecentList();

    // The recent files are listed also when the default could not be opened
    // (a new user's COMICS.PKX does not exist): yesterday's collection must
    // stay one click away.
    if (!ChooseStartupCollection() || !OpenCollection()) {
        ShowNoCollection();
        UpdateRecentList(QString());
    }

    sbMain->setPanelText(1, IdlePrompt);

    m_splash->hide();
    m_splash->unsetCursor();
    delete m_splash;
    return true;
}

void frmMainMenu::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    tmrMain->stop();
    platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("USEDEFAULTDB"),
                          mnuOptUseDefaultDatabase->isChecked() ? QStringLiteral("True")
                                                                : QStringLiteral("False"));
    platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("DEFAULTDB"), defaultPath);
    for (int i = 0; i < 4; ++i)
        platform::saveSetting(QStringLiteral("FILES"), QStringLiteral("RECENTFILE%1").arg(i), recentFiles[i]);
    if (m_options.endProgram)
        m_options.endProgram();
}

bool frmMainMenu::ChooseStartupCollection()
{
    const QString fallback = fileInDir(m_options.collectionDir.isEmpty() ? appDir : m_options.collectionDir,
                                       QStringLiteral("COMICS.PKX"));
    // The default path is read before the start-up option is judged: an
    // unreadable option must not leave it empty, or shut-down would store the
    // empty path over the user's default.
    defaultPath = platform::getSetting(QStringLiteral("Startup"), QStringLiteral("DEFAULTDB"), fallback);
    // The default is found under any letter case: "COMICS" typed in the
    // Create chooser makes "COMICS.pkx".
    if (const QString listed = platform::listedPath(defaultPath); !listed.isEmpty())
        defaultPath = listed;
    const auto useDefault = settingToBool(platform::getSetting(
        QStringLiteral("Startup"), QStringLiteral("USEDEFAULTDB"), QStringLiteral("True")));
    if (!useDefault) {
        mnuFilSetDefaultDatabase->setChecked(false);
        return false;
    }
    useDefaultFlag = *useDefault;

    if (currentPath.isEmpty()) {
        if (useDefaultFlag) {
            currentPath = defaultPath;
            mnuFilSetDefaultDatabase->setChecked(true);
            return true;
        }
        mnuFilSetDefaultDatabase->setChecked(false);
        mnuOptUseDefaultDatabase->setChecked(false);
        return false;
    }
    if (defaultPath != currentPath) {
        mnuFilSetDefaultDatabase->setChecked(false);
        mnuOptUseDefaultDatabase->setChecked(false);
    }
    return true;
}
