#include "shellfixture.h"

#include "shell/recentlist.h"

#include "support/scriptedui.h"

#include <QMenu>

using namespace shell;
using namespace shelltest;
using namespace Qt::StringLiterals;

class TestRecentList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void push_data();
    void push();
    void displayNames_data();
    void displayNames();
    void menuShowsExistingEntries_data();
    void menuShowsExistingEntries();
    void itemsGrowAfterTheSeparatorAndShrinkAway();
    void emptyEntryZeroLeavesMenuAlone();
    void choosingAnItemOpensItsEntry();
    void failedReopenLeavesListAndTimer();
    void checkItems();

private:
    QTemporaryDir m_settings;
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TestRecentList::initTestCase()
{
    isolateSettings(m_settings);
}

void TestRecentList::push_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("after");

    const QStringList full{"/c/a.pkx", "/c/b.pkx", "/c/c.pkx", "/c/d.pkx"};
    QTest::newRow("new file drops the oldest")
        << full << "/c/e.pkx" << QStringList{"/c/e.pkx", "/c/a.pkx", "/c/b.pkx", "/c/c.pkx"};
    QTest::newRow("entry 1 to the front")
        << full << "/c/b.pkx" << QStringList{"/c/b.pkx", "/c/a.pkx", "/c/c.pkx", "/c/d.pkx"};
    QTest::newRow("entry 2 to the front, entry 3 unchanged")
        << full << "/c/c.pkx" << QStringList{"/c/c.pkx", "/c/a.pkx", "/c/b.pkx", "/c/d.pkx"};
    QTest::newRow("entry 3 to the front")
        << full << "/c/d.pkx" << QStringList{"/c/d.pkx", "/c/a.pkx", "/c/b.pkx", "/c/c.pkx"};
    QTest::newRow("entry 0 in other case: unchanged, case kept") << full << "/C/A.PKX" << full;
    QTest::newRow("entry 2 in other case takes the new spelling")
        << full << "/C/C.pkx" << QStringList{"/C/C.pkx", "/c/a.pkx", "/c/b.pkx", "/c/d.pkx"};
    QTest::newRow("empty path changes nothing") << full << "" << full;
    QTest::newRow("first file into an empty list")
        << QStringList{"", "", "", ""} << "/c/a.pkx" << QStringList{"/c/a.pkx", "", "", ""};
    QTest::newRow("second file") << QStringList{"/c/a.pkx", "", "", ""} << "/c/b.pkx"
                                 << QStringList{"/c/b.pkx", "/c/a.pkx", "", ""};
}

void TestRecentList::push()
{
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(QStringList, after);
    RecentFiles entries{before[0], before[1], before[2], before[3]};
    pushRecentFile(entries, path);
    QCOMPARE(QStringList(entries.begin(), entries.end()), after);
}

void TestRecentList::displayNames_data()
{
    QTest::addColumn<QString>("file");    // relative to the temp folder
    QTest::addColumn<QString>("current"); // relative to the temp folder
    QTest::addColumn<bool>("nameAlone");

    QTest::newRow("in the current folder") << u"here/a.pkx"_s << u"here"_s << true;
    QTest::newRow("missing file in the current folder keeps its name")
        << u"here/gone.pkx"_s << u"here"_s << true;
    QTest::newRow("elsewhere") << u"there/b.pkx"_s << u"here"_s << false;
    QTest::newRow("in a sub-folder of the current folder") << u"here/sub/c.pkx"_s << u"here"_s << false;
    QTest::newRow("in a folder whose name extends the current one")
        << u"hereafter/d.pkx"_s << u"here"_s << false;
    QTest::newRow("current folder given with a trailing separator") << u"here/a.pkx"_s << u"here/"_s << true;
    QTest::newRow("current folder differs only in case") << u"here/a.pkx"_s << u"HERE"_s << false;
}

void TestRecentList::displayNames()
{
    QFETCH(QString, file);
    QFETCH(QString, current);
    QFETCH(bool, nameAlone);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("here/sub"));
    QDir(dir.path()).mkpath(QStringLiteral("there"));
    QDir(dir.path()).mkpath(QStringLiteral("hereafter"));
    QDir(dir.path()).mkpath(QStringLiteral("HERE"));
    const QString full = dir.filePath(file);
    if (!file.contains(QLatin1String("gone")))
        QVERIFY(!writeFile(full, "x").isEmpty());
    const QString name = displayName(full, dir.filePath(current));
    QCOMPARE(name, nameAlone ? QFileInfo(full).fileName() : full);
}

void TestRecentList::menuShowsExistingEntries_data()
{
    QTest::addColumn<QStringList>(
        "entries"); // "+name" exists, "-name" was deleted, "/name" a folder, "" unused
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("all four exist") << QStringList{"+a", "+b", "+c", "+d"}
                                    << QStringList{"a.pkx", "b.pkx", "c.pkx", "d.pkx"};
    QTest::newRow("entry 1 deleted, entry 2 shown as item 1")
        << QStringList{"+a", "-b", "+c", ""} << QStringList{"a.pkx", "c.pkx"};
    QTest::newRow("entry 0 shown without a test")
        << QStringList{"-a", "+b", "", ""} << QStringList{"a.pkx", "b.pkx"};
    QTest::newRow("entries 0 and 2 set, 1 empty") << QStringList{"+a", "", "+c", ""} << QStringList{"a.pkx"};
    QTest::newRow("entry naming a folder is not shown")
        << QStringList{"+a", "/b", "+c", ""} << QStringList{"a.pkx", "c.pkx"};
    QTest::newRow("nothing stored") << QStringList{"", "", "", ""} << QStringList{};
    QTest::newRow("ampersand shown as itself")
        << QStringList{"+Bob & Ann", "", "", ""} << QStringList{"Bob && Ann.pkx"};
}

void TestRecentList::menuShowsExistingEntries()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, shown);
    QTemporaryDir dir;
    auto w = bareWindow(dir.path());
    for (int i = 0; i < 4; ++i) {
        if (entries[i].isEmpty())
            continue;
        const QString file = dir.filePath(entries[i].mid(1) + QStringLiteral(".pkx"));
        if (entries[i].startsWith(QLatin1Char('+')))
            QVERIFY(!writeFile(file, "x").isEmpty());
        else if (entries[i].startsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(file));
        w->recentFiles[i] = file;
    }
    w->UpdateRecentList(QString());
    QCOMPARE(shownRecentItems(*w), shown);
    for (int i = 0; i < 4; ++i) {
        QAction *item = w->mnuFilArray[i];
        if (i < shown.size()) {
            QVERIFY(item && item->isVisible() && item->isEnabled());
        } else if (i == 0) {
            QVERIFY(item && !item->isVisible() && !item->isEnabled() && item->text().isEmpty());
        } else {
            QVERIFY2(!item, "items above the shown ones do not exist");
        }
    }
}

// Items added later still sit in index order after the separator; items no
// longer needed are removed from the menu.
void TestRecentList::itemsGrowAfterTheSeparatorAndShrinkAway()
{
    auto w = bareWindow(m_dir.path());
    for (const char *name : {"a.pkx", "b.pkx", "c.pkx", "d.pkx"})
        writeFile(path(QLatin1String(name)), "x");
    w->recentFiles = {path("a.pkx"), path("b.pkx"), QString(), QString()};
    w->UpdateRecentList(QString());
    w->recentFiles = {path("a.pkx"), path("b.pkx"), path("c.pkx"), path("d.pkx")};
    w->UpdateRecentList(QString());
    QList<QAction *> actions = w->mnuFile->actions();
    const qsizetype sep = actions.indexOf(w->mnuFilSep3);
    QCOMPARE(actions.indexOf(w->mnuFilExit), sep - 1);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(actions.value(sep + 1 + i), w->mnuFilArray[i]);
    QCOMPARE(actions.size(), sep + 5);

    QFile::remove(path("c.pkx"));
    QFile::remove(path("d.pkx"));
    w->UpdateRecentList(QString());
    QCOMPARE(shownRecentItems(*w), (QStringList{"a.pkx", "b.pkx"}));
    QVERIFY(!w->mnuFilArray[2] && !w->mnuFilArray[3]);
    actions = w->mnuFile->actions();
    QCOMPARE(actions.last(), w->mnuFilArray[1]);
    w->TrimRecentMenu(4);
    QCOMPARE(shownRecentItems(*w).size(), 2);
}

void TestRecentList::emptyEntryZeroLeavesMenuAlone()
{
    auto w = bareWindow(m_dir.path());
    writeFile(path("a.pkx"), "x");
    w->recentFiles = {path("a.pkx"), QString(), QString(), QString()};
    w->UpdateRecentList(QString());
    QCOMPARE(shownRecentItems(*w), QStringList{"a.pkx"});
    w->recentFiles = {QString(), path("a.pkx"), QString(), QString()};
    w->UpdateRecentList(QString());
    QCOMPARE(shownRecentItems(*w), QStringList{"a.pkx"});
}

void TestRecentList::choosingAnItemOpensItsEntry()
{
    ScriptedUi ui;
    QTemporaryDir dir;
    auto w = bareWindow(dir.path());
    const QString a = makeCollection(dir.filePath("a.pkx"));
    const QString c = makeCollection(dir.filePath("c.pkx"));
    w->recentFiles = {a, dir.filePath("gone.pkx"), c, QString()};
    w->UpdateRecentList(QString());
    QCOMPARE(shownRecentItems(*w), (QStringList{"a.pkx", "c.pkx"}));
    w->mnuFilArray[1]->trigger();
    QCOMPARE(w->currentPath, c);
    QCOMPARE(db::dbCollection().path(), c);
    QCOMPARE(w->windowTitle(), QStringLiteral("c.pkx: Panelkeep"));
    QCOMPARE(QStringList(w->recentFiles.begin(), w->recentFiles.end()),
             (QStringList{c, a, dir.filePath("gone.pkx"), QString()}));
    QVERIFY(ui.boxes.isEmpty());
}

void TestRecentList::failedReopenLeavesListAndTimer()
{
    ScriptedUi ui;
    QTemporaryDir dir;
    auto w = bareWindow(dir.path());
    const QString a = makeCollection(dir.filePath("a.pkx"));
    const QString b = writeFile(dir.filePath("b.pkx"), "not a database");
    w->currentPath = a;
    QVERIFY(w->OpenCollection());
    w->recentFiles = {a, b, QString(), QString()};
    w->UpdateRecentList(QString());
    const RecentFiles before = w->recentFiles;
    w->tmrMain->stop();
    w->mnuFilArray[1]->trigger();
    QCOMPARE(w->recentFiles, before);
    QCOMPARE(w->windowTitle(), QStringLiteral("Panelkeep"));
    QCOMPARE(dataCommandsNotIn(*w, false), QStringList());
    QVERIFY2(!w->tmrMain->isActive(), "the recent items leave the timer alone");
    QCOMPARE(db::dbCollection().path(), a);
    QVERIFY(ui.boxes.isEmpty());
}

void TestRecentList::checkItems()
{
    ScriptedUi ui;
    QTemporaryDir dir;
    auto w = bareWindow(dir.path());
    // Use Default toggles.
    QVERIFY(w->mnuOptUseDefaultDatabase->isChecked());
    w->mnuOptUseDefaultDatabase->trigger();
    QVERIFY(!w->mnuOptUseDefaultDatabase->isChecked());
    w->mnuOptUseDefaultDatabase->trigger();
    QVERIFY(w->mnuOptUseDefaultDatabase->isChecked());
    // Set As Default is not a toggle.
    w->currentPath = dir.filePath("x.pkx");
    w->defaultPath = dir.filePath("other.pkx");
    w->mnuFilSetDefaultDatabase->setChecked(false);
    w->mnuFilSetDefaultDatabase->trigger();
    QVERIFY(w->mnuFilSetDefaultDatabase->isChecked());
    QCOMPARE(w->defaultPath, dir.filePath("x.pkx"));
    w->mnuFilSetDefaultDatabase->trigger();
    QVERIFY(w->mnuFilSetDefaultDatabase->isChecked());
    QCOMPARE(w->defaultPath, dir.filePath("x.pkx"));
}

QTEST_MAIN(TestRecentList)
#include "tst_recentlist.moc"
