#include "shellfixture.h"

#include "shell/collectionfiles.h"

#include "platform/feedback.h"
#include "platform/workspace.h"
#include "support/scriptedui.h"

#include <QApplication>

using namespace shell;
using namespace shelltest;
using namespace Qt::StringLiterals;

class TestCollectionFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void dialogRequests();
    void openExisting();
    void openFailures_data();
    void openFailures();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void createNew_data();
    void createNew();
    void createOverExistingFile_data();
    void createOverExistingFile();
    void createInMissingFolderSaysWhy();
    void createShowsItsStages();
    void dialogFolderBecomesCurrent();
    void unwritableCollections_data();
    void unwritableCollections();

private:
    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<frmMainMenu> m_w;
    QString m_open; // the collection open before each command
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestCollectionFiles::initTestCase()
{
    isolateSettings(m_settings);
}

void TestCollectionFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_w = bareWindow(m_dir->path());
    m_open = makeCollection(path("before.pkx"));
    m_w->currentPath = m_open;
    QVERIFY(!m_w->wsDefault);
    QVERIFY(m_w->OpenCollection());
    QCOMPARE(m_w->wsDefault, &platform::Workspace::defaultWorkspace());
}

void TestCollectionFiles::cleanup()
{
    m_w.reset();
    db::session().dbCollection.close();
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

void TestCollectionFiles::dialogRequests()
{
    ScriptedUi ui;
    // The idle-prompt timer is off while the chooser is up.
    QList<bool> timerOn;
    platform::setFileDialogHandler([&](const platform::FileDialogRequest &request) {
        ui.fileDialogs << request;
        timerOn << m_w->tmrMain->isActive();
        return std::optional<QString>();
    });
    m_w->mnuFilCreateNewDatabase->trigger();
    m_w->mnuFilOpenDatabase->trigger();
    QCOMPARE(timerOn, (QList<bool>{false, false}));
    const QString filter = QStringLiteral("Comic Book DB Files (*.pkx)|*.pkx|All Files (*.*)|*.*");
    // title|filter|filter index|default extension|accept button
    QStringList asked;
    for (const auto &r : ui.fileDialogs)
        asked << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(r.title, r.filter)
                     .arg(r.filterIndex)
                     .arg(r.defaultExtension)
                     .arg(r.acceptLabel);
    QCOMPARE(asked, (QStringList{"Please Specify Database File to Create|" + filter + "|1|pkx|&Create",
                                 "Please Specify Database File for Open|" + filter + "|1|pkx|&Open"}));
}

void TestCollectionFiles::openExisting()
{
    ScriptedUi ui;
    const QString other = makeCollection(path("other.pkx"));
    m_w->defaultPath = other;
    m_w->mnuFilSetDefaultDatabase->setChecked(false);
    m_w->tmrMain->stop();
    ui.chooseFile(path("other")); // typed without the extension
    m_w->mnuFilOpenDatabase->trigger();
    QCOMPARE(db::dbCollection().path(), other);
    QCOMPARE(m_w->currentPath, other);
    QCOMPARE(m_w->windowTitle(), QStringLiteral("other.pkx: Panelkeep"));
    QCOMPARE(m_w->recentFiles[0], other);
    QCOMPARE(m_w->recentFiles[1], m_open);
    QVERIFY(m_w->mnuFilSetDefaultDatabase->isChecked());
    QVERIFY(m_w->tmrMain->isActive());
    QVERIFY(ui.boxes.isEmpty());
}

void TestCollectionFiles::openFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty: no such file
    QTest::addColumn<QString>("reason");     // what the status line says after "Not opened: "
    QTest::newRow("typed name of a file that does not exist")
        << "new.pkx" << QByteArray() << "Could not find file '%1'.";
    QTest::newRow("text file") << "notes.pkx" << QByteArray("Just some notes\n")
                               << "The file '%1' is not a collection file (it is not a database).";
    QTest::newRow("empty file") << "empty.pkx" << QByteArray("")
                                << "The file '%1' is not a collection file (it is empty).";
    QByteArray header("SQLite format 3\0", 16);
    header.append(QByteArray(200, '\x01'));
    QTest::newRow("damaged database") << "damaged.pkx" << header << "The file '%1' is not a collection file";
}

void TestCollectionFiles::openFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    ScriptedUi ui;
    const bool exists = !content.isNull();
    if (exists)
        writeFile(path(name), content);
    const QByteArray before = fileHash(path(name));
    const RecentFiles recent = m_w->recentFiles;
    ui.chooseFile(path(name));
    m_w->mnuFilOpenDatabase->trigger();
    QVERIFY2(ui.boxes.isEmpty(), "opening fails without a box");
    QVERIFY2(panel(*m_w, 1).startsWith("Not opened: " + reason.arg(path(name))), qPrintable(panel(*m_w, 1)));
    QCOMPARE(m_w->windowTitle(), QStringLiteral("Panelkeep"));
    QCOMPARE(dataCommandsNotIn(*m_w, false), QStringList());
    QCOMPARE(QFileInfo::exists(path(name)), exists);
    QCOMPARE(fileHash(path(name)), before);
    QCOMPARE(m_w->recentFiles, recent);
    QCOMPARE(db::dbCollection().path(), m_open);
    QCOMPARE(m_w->currentPath, path(name));
    QVERIFY(m_w->tmrMain->isActive());
}

void TestCollectionFiles::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("collectionOpen");
    QTest::newRow("create, collection open") << true << true;
    QTest::newRow("open, collection open") << false << true;
    QTest::newRow("create, no collection") << true << false;
    QTest::newRow("open, no collection") << false << false;
}

void TestCollectionFiles::cancelChangesNothing()
{
    QFETCH(bool, create);
    QFETCH(bool, collectionOpen);
    ScriptedUi ui;
    if (!collectionOpen)
        m_w->ShowNoCollection();
    const QString title = m_w->windowTitle();
    const RecentFiles recent = m_w->recentFiles;
    const QStringList shown = shownRecentItems(*m_w);
    const QString cwd = QDir::currentPath();
    m_w->tmrMain->stop();
    ui.chooseFile(std::nullopt);
    (create ? m_w->mnuFilCreateNewDatabase : m_w->mnuFilOpenDatabase)->trigger();
    QCOMPARE(m_w->windowTitle(), title);
    QCOMPARE(dataCommandsNotIn(*m_w, collectionOpen), QStringList());
    QCOMPARE(m_w->currentPath, m_open);
    QCOMPARE(db::dbCollection().path(), m_open);
    QCOMPARE(m_w->recentFiles, recent);
    QCOMPARE(shownRecentItems(*m_w), shown);
    QCOMPARE(QDir::currentPath(), cwd);
    QCOMPARE(m_w->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_w->tmrMain->isActive());
    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"before.pkx"});
}

void TestCollectionFiles::createNew_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("defaultPath");
    QTest::addColumn<bool>("checked");
    QTest::newRow("typed without extension") << u"fresh"_s << u"fresh.pkx"_s << u""_s << false;
    QTest::newRow("name with spaces") << u"My Collection.pkx"_s << u"My Collection.pkx"_s << u""_s << false;
    QTest::newRow("equal to the default") << u"fresh.pkx"_s << u"fresh.pkx"_s << u"fresh.pkx"_s << true;
    QTest::newRow("default differs in case only")
        << u"fresh.pkx"_s << u"fresh.pkx"_s << u"FRESH.pkx"_s << false;
}

void TestCollectionFiles::createNew()
{
    QFETCH(QString, typed);
    QFETCH(QString, file);
    QFETCH(QString, defaultPath);
    QFETCH(bool, checked);
    ScriptedUi ui;
    m_w->defaultPath = defaultPath.isEmpty() ? m_open : path(defaultPath);
    ui.chooseFile(path(typed));
    m_w->mnuFilCreateNewDatabase->trigger();
    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(db::dbCollection().path(), path(file));
    QCOMPARE(m_w->currentPath, path(file));
    QCOMPARE(m_w->recentFiles[0], path(file));
    QCOMPARE(m_w->recentFiles[1], m_open);
    QCOMPARE(m_w->windowTitle(), file + QStringLiteral(": Panelkeep"));
    QCOMPARE(m_w->mnuFilSetDefaultDatabase->isChecked(), checked);
    QCOMPARE(dataCommandsNotIn(*m_w, true), QStringList());
    QCOMPARE(db::dbCollection().scalar(QStringLiteral("SELECT count(*) FROM Condition")).toInt(), 8);
    QCOMPARE(m_w->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_w->tmrMain->isActive());
}

void TestCollectionFiles::createOverExistingFile_data()
{
    QTest::addColumn<QString>("name");  // the file that is there
    QTest::addColumn<QString>("typed"); // the name chosen
    QTest::addColumn<bool>("collection");
    QTest::newRow("existing collection") << "other.pkx"
                                         << "other.pkx" << true;
    QTest::newRow("existing other file") << "letter.pkx"
                                         << "letter.pkx" << false;
    QTest::newRow("the open collection itself") << "before.pkx"
                                                << "before.pkx" << true;
    QTest::newRow("existing under another letter case") << "COMICS.PKX"
                                                        << "comics.pkx" << true;
}

void TestCollectionFiles::createOverExistingFile()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(bool, collection);
    ScriptedUi ui;
    if (!QFileInfo::exists(path(name))) {
        if (collection)
            makeCollection(path(name));
        else
            writeFile(path(name), "Dear collector,\n");
    }
    const QByteArray before = fileHash(path(name));
    const qint64 size = QFileInfo(path(name)).size();
    const RecentFiles recent = m_w->recentFiles;
    const QStringList files = QDir(m_dir->path()).entryList(QDir::Files);
    ui.chooseFile(path(typed));
    m_w->mnuFilCreateNewDatabase->trigger();
    QVERIFY2(ui.boxes.isEmpty(), "creation fails without a box");
    QCOMPARE(panel(*m_w, 1), "Not created: " + name + " already exists; choose a new name");
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), files);
    QCOMPARE(fileHash(path(name)), before);
    QCOMPARE(QFileInfo(path(name)).size(), size);
    QCOMPARE(db::dbCollection().path(), m_open);
    QCOMPARE(m_w->windowTitle(), QStringLiteral("before.pkx: Panelkeep"));
    QCOMPARE(dataCommandsNotIn(*m_w, true), QStringList());
    QCOMPARE(m_w->recentFiles, recent);
    QCOMPARE(m_w->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_w->tmrMain->isActive());
}

void TestCollectionFiles::createInMissingFolderSaysWhy()
{
    ScriptedUi ui;
    ui.chooseFile(path("gone/fresh.pkx"));
    m_w->mnuFilCreateNewDatabase->trigger();
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY2(panel(*m_w, 1).startsWith("Not created: The file '" + path("gone/fresh.pkx") +
                                       "' could not be created: "),
             qPrintable(panel(*m_w, 1)));
    QCOMPARE(db::dbCollection().path(), m_open);
}

void TestCollectionFiles::createShowsItsStages()
{
    ScriptedUi ui;
    ui.chooseFile(path("staged.pkx"));
    // Each time the window catches up (once before building, once per stage):
    // the hourglass is up and the idle prompt cannot come back.
    QStringList busy;
    platform::setPendingEventsHandler([&] {
        busy << QStringLiteral("%1/%2").arg(m_w->cursor().shape() == Qt::WaitCursor ? "wait" : "arrow",
                                            m_w->tmrMain->isActive() ? "timer" : "no timer");
    });
    m_w->mnuFilCreateNewDatabase->trigger();
    platform::setPendingEventsHandler({});
    QCOMPARE(busy, QStringList(8, QStringLiteral("wait/no timer")));
    QCOMPARE(m_w->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_w->tmrMain->isActive());
    QCOMPARE(ui.statuses, (QStringList{"Creating the Company Table", "Creating the Titles Table",
                                       "Creating the Conditions Table", "Creating the Cover Price Table",
                                       "Creating the Issues Table", "Establishing Data Relationships",
                                       "Initializing the Condition Information"}));
    QCOMPARE(panel(*m_w, 1), QStringLiteral("Initializing the Condition Information"));
}

void TestCollectionFiles::dialogFolderBecomesCurrent()
{
    ScriptedUi ui;
    QTemporaryDir other;
    const QString far = makeCollection(other.filePath("far.pkx"));
    ui.chooseFile(far);
    m_w->mnuFilOpenDatabase->trigger();
    QCOMPARE(QDir::currentPath(), QDir(other.path()).canonicalPath());
    QCOMPARE(m_w->windowTitle(), QStringLiteral("far.pkx: Panelkeep"));
    // Files of the old folder are now shown with their full path.
    QCOMPARE(shownRecentItems(*m_w), (QStringList{"far.pkx", m_open}));
}

// A collection that cannot be written says so in the caption, and every
// writing command says so before its screen is loaded; one found unsound
// after the open is reported once and becomes read-only.
void TestCollectionFiles::unwritableCollections_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("checkFirst"); // let the window run its check before the command
    QTest::addColumn<QStringList>("boxes");
    const QString readOnly = u"Read-Only Collection"_s;
    const QString damaged = u"Data Error"_s;
    QTest::newRow("newer writer") << u"newer writer"_s << true << QStringList{readOnly};
    QTest::newRow("orphan issue") << u"orphan"_s << true << QStringList{damaged, readOnly};
    QTest::newRow("orphan issue, command at once") << u"orphan"_s << false << QStringList{damaged, readOnly};
}

void TestCollectionFiles::unwritableCollections()
{
    QFETCH(QString, kind);
    QFETCH(bool, checkFirst);
    QFETCH(QStringList, boxes);
    const QString file = makeCollection(path("unwritable.pkx"));
    {
        platform::Database raw = platform::Database::open(file);
        raw.execute(u"PRAGMA foreign_keys = OFF"_s);
        raw.execute(u"INSERT INTO Issue VALUES ('Gon', 1, 1, 1, NULL, NULL, NULL)"_s);
        if (kind != u"orphan"_s)
            raw.execute(u"DELETE FROM Issue"_s);
        raw.close();
    }
    if (kind == u"newer writer"_s) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(18) && f.putChar(3));
    }
    QCryptographicHash before(QCryptographicHash::Sha1);
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        before.addData(f.readAll());
    }
    for (QAction *command : {m_w->mnuFilAddCompany, m_w->mnuFilAddTitle, m_w->mnuFilAddIssue,
                             m_w->mnuFilSetCurrentCoverPrice, m_w->mnuFilBulkDelete}) {
        ScriptedUi ui;
        m_w->currentPath = file;
        QVERIFY(m_w->OpenCollection());
        for (int i = 0; i < boxes.size(); ++i)
            ui.answer(platform::MsgAnswer::OK);
        if (checkFirst)
            QCoreApplication::processEvents();
        command->trigger();
        QStringList titles;
        for (const auto &b : ui.boxes)
            titles << b.title;
        QCOMPARE(titles, boxes);
        QVERIFY(db::dbCollection().isReadOnly());
        QCOMPARE(m_w->windowTitle(), u"unwritable.pkx (read-only): Panelkeep"_s);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1), before.result());
}

QTEST_MAIN(TestCollectionFiles)
#include "tst_collectionfiles.moc"
