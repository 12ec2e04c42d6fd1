#include "shellfixture.h"

#include "shell/splash.h"

#include "platform/feedback.h"
#include "support/scriptedui.h"

#include <QToolBar>

using namespace shell;
using namespace shelltest;
using namespace Qt::StringLiterals;

namespace {
const QString Missing = QStringLiteral("<missing>");
}

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void decision_data();
    void decision();
    void splashFirstThenFolderThenPrompt();
    void recentItemsAtStart_data();
    void recentItemsAtStart();
    void defaultFoundUnderAnyLetterCase_data();
    void defaultFoundUnderAnyLetterCase();
    void unreadableCommandLineEndsProgram();
    void settingsRoundTripThroughRestart();
    void setAsDefaultOpensThatFileNextTime();
    void exitSavesOnceAndEnds();
    void toolbarShownAgainAfterRestart();

private:
    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_appDir;
    QString m_elsewhere;
};

void TestStartup::initTestCase()
{
    isolateSettings(m_settings);
}

void TestStartup::init()
{
    clearSettings();
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(m_dir->path()).mkpath(QStringLiteral("app"));
    QDir(m_dir->path()).mkpath(QStringLiteral("My Comics"));
    m_appDir = m_dir->filePath(QStringLiteral("app"));
    m_elsewhere = m_dir->filePath(QStringLiteral("My Comics"));
}

void TestStartup::cleanup()
{
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

void TestStartup::decision_data()
{
    QTest::addColumn<QString>("useDefault"); // stored USEDEFAULTDB, or <missing>
    QTest::addColumn<QString>("defaultDb");  // "stored" (an existing other file), "gone", or <missing>
    QTest::addColumn<bool>("comicsPkx");     // COMICS.PKX in the program's folder
    QTest::addColumn<QString>("argument");   // "", "cmd", "default", "gone", "relative", "folder"
    QTest::addColumn<QString>("opened");     // "", "COMICS", "stored", "cmd"
    QTest::addColumn<bool>("setDefaultChecked");
    QTest::addColumn<bool>("useDefaultChecked");

    QTest::newRow("first start, nothing anywhere")
        << Missing << Missing << false << u""_s << u""_s << true << true;
    QTest::newRow("first start opens COMICS.PKX")
        << Missing << Missing << true << u""_s << u"COMICS"_s << true << true;
    QTest::newRow("option True") << u"True"_s << Missing << true << u""_s << u"COMICS"_s << true << true;
    QTest::newRow("option in lower case")
        << u"true"_s << Missing << true << u""_s << u"COMICS"_s << true << true;
    QTest::newRow("option -1 is True") << u"-1"_s << Missing << true << u""_s << u"COMICS"_s << true << true;
    QTest::newRow("option False") << u"False"_s << Missing << true << u""_s << u""_s << false << false;
    QTest::newRow("option FALSE") << u"FALSE"_s << Missing << true << u""_s << u""_s << false << false;
    QTest::newRow("option 0 is False") << u"0"_s << Missing << true << u""_s << u""_s << false << false;
    QTest::newRow("option not a boolean opens nothing, default kept")
        << u"maybe"_s << u"stored"_s << true << u""_s << u""_s << false << true;
    QTest::newRow("option not a boolean opens no command-line file either")
        << u"maybe"_s << Missing << true << u"cmd"_s << u""_s << false << true;
    QTest::newRow("option nan is not a number")
        << u"nan"_s << Missing << true << u""_s << u""_s << false << true;
    QTest::newRow("option empty opens nothing")
        << u""_s << Missing << true << u""_s << u""_s << false << true;
    QTest::newRow("stored default opened")
        << u"True"_s << u"stored"_s << true << u""_s << u"stored"_s << true << true;
    QTest::newRow("stored default gone") << u"True"_s << u"gone"_s << true << u""_s << u""_s << true << true;
    QTest::newRow("command-line file wins")
        << u"True"_s << Missing << true << u"cmd"_s << u"cmd"_s << false << false;
    QTest::newRow("command-line file with option off")
        << u"False"_s << Missing << true << u"cmd"_s << u"cmd"_s << false << false;
    QTest::newRow("command-line file is the default")
        << u"True"_s << u"stored"_s << false << u"default"_s << u"stored"_s << true << true;
    QTest::newRow("command-line file missing: default as usual")
        << u"True"_s << Missing << true << u"gone"_s << u"COMICS"_s << true << true;
    QTest::newRow("command-line names a folder: ignored")
        << u"True"_s << Missing << true << u"folder"_s << u"COMICS"_s << true << true;
    QTest::newRow("relative command-line name from the start folder")
        << u"True"_s << Missing << true << u"relative"_s << u"cmd"_s << false << false;
}

void TestStartup::decision()
{
    QFETCH(QString, useDefault);
    QFETCH(QString, defaultDb);
    QFETCH(bool, comicsPkx);
    QFETCH(QString, argument);
    QFETCH(QString, opened);
    QFETCH(bool, setDefaultChecked);
    QFETCH(bool, useDefaultChecked);

    ScriptedUi ui;
    const QString comics = m_appDir + QStringLiteral("/COMICS.PKX");
    const QString stored = makeCollection(m_elsewhere + QStringLiteral("/stored default.pkx"));
    const QString cmd = makeCollection(m_elsewhere + QStringLiteral("/cmd file.pkx"));
    if (comicsPkx)
        makeCollection(comics);
    if (useDefault != Missing)
        platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("USEDEFAULTDB"), useDefault);
    if (defaultDb == QLatin1String("stored"))
        platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("DEFAULTDB"), stored);
    else if (defaultDb == QLatin1String("gone"))
        platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("DEFAULTDB"),
                              m_elsewhere + "/gone.pkx");

    QStringList args;
    QString startDir = m_appDir;
    if (argument == QLatin1String("cmd"))
        args << cmd << QStringLiteral("ignored second");
    else if (argument == QLatin1String("default"))
        args << stored;
    else if (argument == QLatin1String("gone"))
        args << m_elsewhere + QStringLiteral("/gone.pkx");
    else if (argument == QLatin1String("folder"))
        args << m_elsewhere;
    else if (argument == QLatin1String("relative")) {
        args << QStringLiteral("cmd file.pkx");
        startDir = m_elsewhere;
    }

    auto run = start(m_appDir, args, startDir);
    frmMainMenu &w = *run->window;
    QVERIFY(run->loaded);
    QCOMPARE(run->ended, 0);
    QVERIFY2(ui.boxes.isEmpty(), "start-up never shows a message");

    const QString expectedPath = opened == QLatin1String("COMICS")   ? comics
                                 : opened == QLatin1String("stored") ? stored
                                 : opened == QLatin1String("cmd")    ? cmd
                                                                     : QString();
    if (expectedPath.isEmpty()) {
        QCOMPARE(w.windowTitle(), QStringLiteral("Panelkeep"));
        QCOMPARE(dataCommandsNotIn(w, false), QStringList());
        QVERIFY(!db::dbCollection().isOpen() ||
                !QFileInfo(db::dbCollection().path()).path().startsWith(m_dir->path()));
    } else {
        QCOMPARE(db::dbCollection().path(), expectedPath);
        QCOMPARE(w.currentPath, expectedPath);
        QCOMPARE(dataCommandsNotIn(w, true), QStringList());
        const QString name = expectedPath == comics ? QStringLiteral("COMICS.PKX") : expectedPath;
        QCOMPARE(w.windowTitle(), name + QStringLiteral(": Panelkeep"));
        QCOMPARE(w.recentFiles[0], expectedPath);
    }
    QCOMPARE(w.mnuFilSetDefaultDatabase->isChecked(), setDefaultChecked);
    QCOMPARE(w.mnuOptUseDefaultDatabase->isChecked(), useDefaultChecked);
    QCOMPARE(panel(w, 1), QStringLiteral("Please select a menu item..."));
    QCOMPARE(QDir::currentPath(), QDir(m_appDir).canonicalPath());
    // Start-up never creates a collection file.
    QCOMPARE(QFileInfo::exists(comics), comicsPkx);
    QVERIFY(!QFileInfo::exists(m_elsewhere + QStringLiteral("/gone.pkx")));
    QCOMPARE(shownRecentItems(w).size(), expectedPath.isEmpty() ? 0 : 1);

    // The next shut-down stores what the check mark says, and the default as read.
    w.Form_Unload();
    QCOMPARE(setting("Startup", "USEDEFAULTDB"),
             useDefaultChecked ? QStringLiteral("True") : QStringLiteral("False"));
    QCOMPARE(setting("Startup", "DEFAULTDB"), defaultDb == QLatin1String("stored") ? stored
                                              : defaultDb == QLatin1String("gone")
                                                  ? m_elsewhere + QStringLiteral("/gone.pkx")
                                                  : comics);
    db::session().dbCollection.close();
}

void TestStartup::splashFirstThenFolderThenPrompt()
{
    ScriptedUi ui;
    bool splashUpFirst = false;
    bool folderNotYetChanged = false;
    int calls = 0;
    shell::frmMainMenu *window = nullptr;
    platform::setPendingEventsHandler([&] {
        if (calls++ == 0 && window) {
            splashUpFirst = window->splash() && window->splash()->isVisible() &&
                            window->splash()->cursor().shape() == Qt::WaitCursor;
            folderNotYetChanged = QDir::currentPath() != QDir(m_appDir).canonicalPath();
        }
    });
    QDir::setCurrent(m_dir->path());
    StartupOptions options;
    options.appDir = m_appDir;
    options.endProgram = [] {};
    frmMainMenu w(options);
    window = &w;
    QVERIFY(w.Form_Load());
    platform::setPendingEventsHandler({});
    QVERIFY(splashUpFirst);
    QVERIFY(folderNotYetChanged);
    QVERIFY2(!w.splash(), "the splash is unloaded at the end of start-up");
    QCOMPARE(w.appDir, m_appDir);
    QCOMPARE(panel(w, 1), QStringLiteral("Please select a menu item..."));
}

// The recent list is shown whenever start-up opened nothing: by choice, or
// because the default could not be opened.
void TestStartup::recentItemsAtStart_data()
{
    QTest::addColumn<bool>("useDefault");
    QTest::newRow("nothing opened by choice") << false;
    QTest::newRow("default open fails") << true; // there is no COMICS.PKX
}

void TestStartup::recentItemsAtStart()
{
    QFETCH(bool, useDefault);
    ScriptedUi ui;
    const QString a = makeCollection(m_appDir + QStringLiteral("/a.pkx"));
    const QString b = makeCollection(m_elsewhere + QStringLiteral("/b.pkx"));
    if (!useDefault)
        platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("USEDEFAULTDB"),
                              QStringLiteral("False"));
    platform::saveSetting(QStringLiteral("FILES"), QStringLiteral("RECENTFILE0"), a);
    platform::saveSetting(QStringLiteral("FILES"), QStringLiteral("RECENTFILE1"), b);
    auto run = start(m_appDir);
    QCOMPARE(run->window->windowTitle(), QStringLiteral("Panelkeep"));
    QCOMPARE(shownRecentItems(*run->window), (QStringList{"a.pkx", b}));
    QCOMPARE(run->window->recentFiles[0], a);
    QCOMPARE(run->window->recentFiles[1], b);
}

// The default collection is found under any letter case; a stored default
// then names the file as the folder lists it. An installed program keeps it
// in the user's data folder rather than its own.
void TestStartup::defaultFoundUnderAnyLetterCase_data()
{
    QTest::addColumn<QString>("stored"); // DEFAULTDB, relative to the folder; "" for none
    QTest::addColumn<QString>("file");   // the collection that is there
    QTest::addColumn<bool>("ownFolder"); // the default lives in its own folder, not appDir
    QTest::newRow("made by typing COMICS") << ""
                                           << "COMICS.pkx" << false;
    QTest::newRow("in the user's data folder") << ""
                                               << "comics.pkx" << true;
    QTest::newRow("stored default in another case") << "Main.PKX"
                                                    << "main.pkx" << false;
}

void TestStartup::defaultFoundUnderAnyLetterCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, file);
    QFETCH(bool, ownFolder);
    ScriptedUi ui;
    const QString folder = ownFolder ? m_elsewhere : m_appDir;
    const QString real = makeCollection(folder + "/" + file);
    if (!stored.isEmpty())
        platform::saveSetting(QStringLiteral("Startup"), QStringLiteral("DEFAULTDB"), folder + "/" + stored);
    StartupOptions options;
    options.appDir = m_appDir;
    options.collectionDir = ownFolder ? m_elsewhere : QString();
    options.endProgram = [] {};
    frmMainMenu w(options);
    QVERIFY(w.Form_Load());
    QCOMPARE(db::dbCollection().path(), real);
    QVERIFY(w.mnuFilSetDefaultDatabase->isChecked());
    w.Form_Unload();
    QCOMPARE(setting("Startup", "DEFAULTDB"), real);
    db::session().dbCollection.close();
}

void TestStartup::unreadableCommandLineEndsProgram()
{
    ScriptedUi ui;
    ui.answer(platform::MsgAnswer::OK);
    StartupOptions options;
    options.appDir = m_appDir;
    options.arguments = std::nullopt;
    int ended = 0;
    options.endProgram = [&] { ++ended; };
    frmMainMenu w(options);
    QVERIFY(!w.Form_Load());
    QCOMPARE(ended, 1);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes.first().title, QStringLiteral("Panelkeep"));
    QVERIFY(!w.splash());
}

void TestStartup::settingsRoundTripThroughRestart()
{
    ScriptedUi ui;
    const QString comics = makeCollection(m_appDir + QStringLiteral("/COMICS.PKX"));
    const QString other = makeCollection(m_elsewhere + QStringLiteral("/other.pkx"));
    {
        auto run = start(m_appDir);
        frmMainMenu &w = *run->window;
        QCOMPARE(w.currentPath, comics);
        w.currentPath = other;
        QVERIFY(w.OpenCollection());
        w.mnuOptUseDefaultDatabase->trigger(); // off
        w.mnuFilExit->trigger();
        QCOMPARE(run->ended, 1);
    }
    QCOMPARE(setting("Startup", "USEDEFAULTDB"), QStringLiteral("False"));
    QCOMPARE(setting("Startup", "DEFAULTDB"), comics);
    QCOMPARE(setting("FILES", "RECENTFILE0"), other);
    QCOMPARE(setting("FILES", "RECENTFILE1"), comics);
    QCOMPARE(setting("FILES", "RECENTFILE2"), QString());
    QCOMPARE(setting("FILES", "RECENTFILE3"), QString());
    QVERIFY2(settingsFile().startsWith(m_settings.path()), qPrintable(settingsFile()));
    QVERIFY(QFileInfo::exists(settingsFile()));
    {
        auto run = start(m_appDir);
        frmMainMenu &w = *run->window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Panelkeep"));
        QVERIFY(!w.mnuOptUseDefaultDatabase->isChecked());
        QCOMPARE(w.defaultPath, comics);
        QCOMPARE(shownRecentItems(w), (QStringList{other, "COMICS.PKX"}));
        w.mnuOptUseDefaultDatabase->trigger(); // on again
        w.Form_Unload();
    }
    QCOMPARE(setting("Startup", "USEDEFAULTDB"), QStringLiteral("True"));
    auto run = start(m_appDir);
    QCOMPARE(run->window->currentPath, comics);
    QCOMPARE(run->window->recentFiles[0], comics);
    QCOMPARE(run->window->recentFiles[1], other);
}

void TestStartup::setAsDefaultOpensThatFileNextTime()
{
    ScriptedUi ui;
    makeCollection(m_appDir + QStringLiteral("/COMICS.PKX"));
    const QString other = makeCollection(m_elsewhere + QStringLiteral("/other.pkx"));
    {
        auto run = start(m_appDir);
        frmMainMenu &w = *run->window;
        w.currentPath = other;
        QVERIFY(w.OpenCollection());
        QVERIFY(!w.mnuFilSetDefaultDatabase->isChecked());
        w.mnuFilSetDefaultDatabase->trigger();
        QVERIFY(w.mnuFilSetDefaultDatabase->isChecked());
        w.close();
        QCOMPARE(run->ended, 1);
    }
    QCOMPARE(setting("Startup", "DEFAULTDB"), other);
    auto run = start(m_appDir);
    QCOMPARE(run->window->currentPath, other);
    QVERIFY(run->window->mnuFilSetDefaultDatabase->isChecked());
}

void TestStartup::exitSavesOnceAndEnds()
{
    ScriptedUi ui;
    auto run = start(m_appDir);
    frmMainMenu &w = *run->window;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Exit through its keyboard shortcut.
    QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(run->ended, 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(setting("Startup", "USEDEFAULTDB"), QStringLiteral("True"));
    QCOMPARE(setting("Startup", "DEFAULTDB"), m_appDir + QStringLiteral("/COMICS.PKX"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(setting("FILES", QStringLiteral("RECENTFILE%1").arg(i)), QString());
    w.close();
    QCOMPARE(run->ended, 1);
    QVERIFY(ui.boxes.isEmpty());
}

void TestStartup::toolbarShownAgainAfterRestart()
{
    ScriptedUi ui;
    {
        auto run = start(m_appDir);
        frmMainMenu &w = *run->window;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.mnuOptViewToolbar->trigger();
        QVERIFY(!w.tbarMain->isVisible());
        QVERIFY(!w.mnuOptViewToolbar->isChecked());
        w.close();
    }
    auto run = start(m_appDir);
    run->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(run->window.get()));
    QVERIFY(run->window->tbarMain->isVisible());
    QVERIFY(run->window->mnuOptViewToolbar->isChecked());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
