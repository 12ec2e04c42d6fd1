#include "../shell/shellfixture.h"

#include "platform/programfiles.h"
#include "support/scriptedui.h"

#include <QProcess>

using namespace shelltest;

// Installs the build into a temporary prefix once and checks the installed
// tree as a desktop would use it.
class TestInstall : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void layout_data();
    void layout();
    void validators_data();
    void validators();
    void informationWithoutDisplay_data();
    void informationWithoutDisplay();
    void fileTypeByNameAndContent_data();
    void fileTypeByNameAndContent();
    void installedProgramStartsOnCollection();
    void installedProgramFindsItsFiles();

private:
    QTemporaryDir m_settings;
    QTemporaryDir m_prefix;
    QTemporaryDir m_files;
    QString m_collection;
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QProcessEnvironment userEnvironment() const;
};

namespace {
// Runs a program to its end; "" when it could not run.
int run(const QString &program, const QStringList &args, QString *output = nullptr,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
} // namespace

QProcessEnvironment TestInstall::userEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_files.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_files.filePath(QStringLiteral("data")));
    return env;
}

void TestInstall::initTestCase()
{
    isolateSettings(m_settings);
    QString out;
    QCOMPARE(run(QStringLiteral(PANELKEEP_CMAKE),
                 {"--install", PANELKEEP_BUILD_DIR, "--prefix", m_prefix.path()}, &out),
             0);
    QCOMPARE(run(QStringLiteral("update-mime-database"), {installed("share/mime")}, &out), 0);
    m_collection = m_files.filePath(QStringLiteral("My \"Best\" Comics.pkx"));
    QCOMPARE(run(installed("bin/panelkeep-sample"), {m_collection, "--issues", "20"}, &out), 0);
}

void TestInstall::cleanup()
{
    db::session().dbCollection.close();
    QDir::setCurrent(QDir::tempPath());
}

void TestInstall::layout_data()
{
    QTest::addColumn<QString>("file");
    for (const char *f :
         {"bin/panelkeep", "bin/panelkeep-sample", "share/panelkeep/Kepix.hlp",
          "share/applications/panelkeep.desktop", "share/mime/packages/panelkeep.xml",
          "share/metainfo/" PANELKEEP_APPSTREAM_ID ".metainfo.xml", "share/man/man1/panelkeep.1",
          "share/icons/hicolor/scalable/apps/panelkeep.svg", "share/icons/hicolor/16x16/apps/panelkeep.png",
          "share/icons/hicolor/256x256/apps/panelkeep.png", "share/doc/Panelkeep/LICENSE"})
        QTest::newRow(f) << QString::fromLatin1(f);
    // Every report definition of the source tree, and its tool once it is built.
    for (const QString &rpt : QDir(QStringLiteral(PANELKEEP_SOURCE_DIR "/resources")).entryList({"*.rpt"}))
        QTest::newRow(qPrintable(rpt)) << "share/panelkeep/" + rpt;
    if (QFileInfo::exists(QStringLiteral(PANELKEEP_BUILD_DIR "/bin/panelkeep-report")))
        QTest::newRow("panelkeep-report") << QStringLiteral("bin/panelkeep-report");
}

void TestInstall::layout()
{
    QFETCH(QString, file);
    QVERIFY2(QFileInfo(installed(file)).isFile(), qPrintable(file));
}

void TestInstall::validators_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("desktop entry") << "desktop-file-validate"
                                   << QStringList{installed("share/applications/panelkeep.desktop")};
    QTest::newRow("metainfo") << "appstreamcli"
                              << QStringList{
                                     "validate", "--no-net",
                                     installed("share/metainfo/" PANELKEEP_APPSTREAM_ID ".metainfo.xml")};
    QTest::newRow("man page") << "man"
                              << QStringList{"--warnings", "-l", "-P", "cat",
                                             installed("share/man/man1/panelkeep.1")};
}

void TestInstall::validators()
{
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QString out;
    const int code = run(program, args, &out);
    QVERIFY2(code == 0 && !out.contains(QLatin1String("warning:")), qPrintable(out));
}

void TestInstall::informationWithoutDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");
    QTest::newRow("--help") << "--help"
                            << "Usage: panelkeep [FILE]";
    QTest::newRow("--version") << "--version"
                               << "Panelkeep 1.0\nLicence: GPL-3.0-or-later\n";
}

// Without any display the toolkit could not start: the texts come first.
void TestInstall::informationWithoutDisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, expected);
    QProcessEnvironment env = userEnvironment();
    for (const char *v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(v));
    QString out;
    QCOMPARE(run(installed("bin/panelkeep"), {option}, &out, env), 0);
    QVERIFY2(out.startsWith(expected), qPrintable(out));
}

void TestInstall::fileTypeByNameAndContent_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("ours");
    QTest::newRow("a collection") << "collection" << true;
    QTest::newRow("a collection under another name") << "collection.data" << true;
    QTest::newRow("another SQLite file") << "other.data" << false;
    QTest::newRow("unknown bytes named .pkx") << "bytes.pkx" << true;
}

void TestInstall::fileTypeByNameAndContent()
{
    QFETCH(QString, file);
    QFETCH(bool, ours);
    const QString path = m_files.filePath(file);
    if (file.startsWith(QLatin1String("collection")))
        QFile::copy(m_collection, path);
    else if (file.startsWith(QLatin1String("other")))
        run(QStringLiteral("sqlite3"), {path, "CREATE TABLE t(x)"});
    else
        writeFile(path, QByteArray("\x01\x02\x03\xfe\xff\x00\x07", 7).repeated(40));
    // Asked as the desktop's file managers ask (GLib reads the installed
    // shared-mime-info tree).
    QProcessEnvironment env = userEnvironment();
    env.insert(QStringLiteral("XDG_DATA_DIRS"), installed("share") + ":/usr/local/share:/usr/share");
    QString out;
    QCOMPARE(run(QStringLiteral("gio"), {"info", "-a", "standard::content-type", path}, &out, env), 0);
    QCOMPARE(out.contains(QLatin1String("content-type: application/x-panelkeep")), ours);
}

// The installed program runs on a collection; the settings it writes on the
// way out are its own user's.
void TestInstall::installedProgramStartsOnCollection()
{
    QProcess p;
    QProcessEnvironment env = userEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(installed("bin/panelkeep"), {m_collection});
    QVERIFY(p.waitForStarted());
    QVERIFY2(!p.waitForFinished(1500), qPrintable(QString::fromLocal8Bit(p.readAll())));
    p.kill();
    p.waitForFinished();
}

// Started from the installed tree, the program takes its files from
// share/panelkeep and keeps the default collection in the user's data folder.
void TestInstall::installedProgramFindsItsFiles()
{
    ScriptedUi ui;
    shell::StartupOptions options = shell::StartupOptions::forProgramIn(installed("bin"));
    QCOMPARE(options.appDir, installed("share/panelkeep"));
    QCOMPARE(options.collectionDir, platform::userDataDir());
    options.arguments = QStringList{m_collection};
    options.endProgram = [] {};
    shell::frmMainMenu w(options);
    QVERIFY(w.Form_Load());
    QCOMPARE(db::dbCollection().path(), m_collection);
    QCOMPARE(w.defaultPath, platform::userDataDir() + "/COMICS.PKX");
    w.mnuHelPanelkeepHelp->trigger();
    QCOMPARE(ui.helpRequests, QStringList{installed("share/panelkeep/Kepix.hlp")});
    QVERIFY(QFileInfo::exists(ui.helpRequests.value(0)));
    // A chooser over a folder the user cannot write in starts in the data folder.
    QCOMPARE(platform::writableFolder(m_files.filePath("gone")), platform::userDataDir());
    QVERIFY(QFileInfo(platform::userDataDir()).isDir());
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
