#include "db/collectionfile.h"
#include "db/schema.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/recordset.h"
#include "platform/workspace.h"
#include "support/scriptedui.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Files that sit next to the database while it is used (journals); none may
// be left behind by a refused open.
QStringList siblings(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + QStringLiteral("*")}, QDir::Files | QDir::Hidden);
}

QStringList rowsOf(Database &db, const QString &sql)
{
    QStringList rows;
    auto rs = db.openRecordset(sql, RecordsetType::Snapshot);
    for (; !rs->eof(); rs->moveNext()) {
        QStringList cells;
        for (const QString &f : rs->fieldNames())
            cells << rs->value(f).toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class TestCollectionFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }

    // Each stage's text, then the pending events processed once so it paints.
    void createShowsEachStageThenHandsOverThePath()
    {
        ScriptedUi ui;
        QStringList feedback;
        setStatusObserver([&](const QString &text) { feedback << text; });
        setPendingEventsHandler([&] { feedback << QStringLiteral("<events>"); });
        const QString file = path(QStringLiteral("stages.pkx"));
        QStringList feedbackWhenOpened;
        QString openedPath;
        db::CreateCollectionDatabase(file, [&](const QString &p) {
            openedPath = p;
            feedbackWhenOpened = feedback;
        });
        setPendingEventsHandler({});
        QCOMPARE(openedPath, file);
        QStringList expected;
        for (const char *stage :
             {"Creating the Company Table", "Creating the Titles Table", "Creating the Conditions Table",
              "Creating the Cover Price Table", "Creating the Issues Table",
              "Establishing Data Relationships", "Initializing the Condition Information"})
            expected << QString::fromLatin1(stage) << QStringLiteral("<events>");
        QCOMPARE(feedbackWhenOpened, expected);
        QCOMPARE(lastStatus(), QStringLiteral("Initializing the Condition Information"));
    }

    void newCollectionHoldsExactlyTheSchemaAndConditions()
    {
        ScriptedUi ui;
        const QString file = path(QStringLiteral("fresh.pkx"));
        db::CreateCollectionDatabase(file);
        Database db = db::OpenCollectionFile(file);

        QCOMPARE(
            rowsOf(db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name")),
            QStringList({"Company", "Condition", "CoverPrice", "Issue", "Title"}));
        // Columns in order: name, type, required, place in the primary key.
        QCOMPARE(rowsOf(db, QStringLiteral("SELECT m.name AS tbl, c.name AS col, c.type, c.\"notnull\", c.pk "
                                           "FROM sqlite_schema m, pragma_table_info(m.name) c "
                                           "WHERE m.type = 'table' ORDER BY m.rootpage, c.cid")),
                 QStringList({"Company|Company_ID|VARCHAR(3)|1|1", "Company|Company|VARCHAR(25)|1|0",
                              "Title|Title|VARCHAR(35)|1|0", "Title|Title_ID|VARCHAR(3)|1|1",
                              "Title|Begin_Year|VARCHAR(4)|0|0", "Title|Company_ID|VARCHAR(3)|1|0",
                              "Condition|Condition_ID|SMALLINT|1|1", "Condition|Condition|VARCHAR(8)|1|0",
                              "CoverPrice|Title_ID|VARCHAR(3)|1|1", "CoverPrice|Cover_Price|CURRENCY|1|0",
                              "Issue|Title_ID|VARCHAR(3)|1|1", "Issue|IssueNum|SMALLINT|1|2",
                              "Issue|Condition|SMALLINT|1|3", "Issue|Quantity|SMALLINT|1|0",
                              "Issue|Original_Price|CURRENCY|0|0", "Issue|Current_Value|CURRENCY|0|0",
                              "Issue|Notes|TEXT|0|0"}));
        // The primary keys are the only indexes.
        QCOMPARE(rowsOf(db, QStringLiteral("SELECT count(*), count(DISTINCT tbl_name) FROM sqlite_schema "
                                           "WHERE type = 'index' AND name LIKE 'sqlite_autoindex_%'")),
                 QStringList{"5|5"});
        QCOMPARE(rowsOf(db, QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type <> 'table'")),
                 QStringList{"5"});
        QCOMPARE(rowsOf(db, QStringLiteral(
                                "SELECT m.name, f.\"from\", f.\"table\", f.\"to\", f.on_update, f.on_delete "
                                "FROM sqlite_schema m, pragma_foreign_key_list(m.name) f "
                                "WHERE m.type = 'table' ORDER BY m.name, f.\"from\"")),
                 QStringList({"CoverPrice|Title_ID|Title|Title_ID|NO ACTION|NO ACTION",
                              "Issue|Condition|Condition|Condition_ID|NO ACTION|NO ACTION",
                              "Issue|Title_ID|Title|Title_ID|NO ACTION|NO ACTION",
                              "Title|Company_ID|Company|Company_ID|NO ACTION|NO ACTION"}));
        QCOMPARE(rowsOf(db, QStringLiteral("SELECT Condition_ID, Condition FROM Condition ORDER BY rowid")),
                 QStringList({"1|Mint", "2|NearMint", "3|VeryFine", "4|Fine", "5|VeryGood", "6|Good",
                              "7|Fair", "8|Poor"}));
        for (const char *table : {"Company", "Title", "CoverPrice", "Issue"})
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA application_id")).toInt(), db::CollectionApplicationId);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), db::CollectionSchemaVersion);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA foreign_keys")).toInt(), 1);
        db.close();
    }

    // Every commit lands in the one file (rollback journal), where a copy
    // taken while the program runs finds it, and is synced so that it
    // survives a power cut (EXTRA), also for a file another client left in
    // write-ahead-log mode.
    void everyWritingConnectionIsDurable_data()
    {
        QTest::addColumn<bool>("leftInWal");
        QTest::newRow("new collection") << false;
        QTest::newRow("left in WAL mode by another client") << true;
    }
    void everyWritingConnectionIsDurable()
    {
        QFETCH(bool, leftInWal);
        ScriptedUi ui;
        const QString file = path(QStringLiteral("durable-%1.pkx").arg(leftInWal));
        db::CreateCollectionDatabase(file);
        if (leftInWal) {
            Database other = Database::open(file);
            QCOMPARE(other.scalar(QStringLiteral("PRAGMA journal_mode = WAL")).toString(),
                     QStringLiteral("wal"));
            other.close();
        }
        Database raw = Workspace::defaultWorkspace().openDatabase(file);
        QCOMPARE(raw.scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 3);
        QCOMPARE(raw.scalar(QStringLiteral("PRAGMA journal_mode")).toString(),
                 leftInWal ? QStringLiteral("wal") : QStringLiteral("delete"));
        raw.close();

        Database db = db::OpenCollectionFile(file);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 3);
        db.execute(QStringLiteral("INSERT INTO Company VALUES (?, ?)"), ExecuteOption::FailOnError,
                   {QStringLiteral("OMP"), QStringLiteral("O'Malley Press")});
        QCOMPARE(siblings(file), QStringList{QFileInfo(file).fileName()});
        // A user copying the file while the program runs gets the row.
        const QString copy = path(QStringLiteral("copy-of-durable-%1.pkx").arg(leftInWal));
        QVERIFY(QFile::copy(file, copy));
        Database other = db::OpenCollectionFile(copy);
        QCOMPARE(
            other.scalar(QStringLiteral("SELECT Company FROM Company WHERE Company_ID = 'omp'")).toString(),
            QStringLiteral("O'Malley Press"));
        other.close();
        db.close();
    }

    void createOverAnExistingPathTouchesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // the file's contents; unused for the last two
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text file") << QByteArray("my shopping list\n");
        QTest::newRow("binary") << QByteArray("SQLite format 3\0garbage", 23);
        QTest::newRow("collection") << QByteArray();
        QTest::newRow("folder") << QByteArray();
    }

    void createOverAnExistingPathTouchesNothing()
    {
        QFETCH(QByteArray, bytes);
        ScriptedUi ui;
        const QByteArray kind = QTest::currentDataTag();
        const QString file = path(QStringLiteral("existing-%1.pkx").arg(kind));
        if (kind == "collection")
            db::CreateCollectionDatabase(file);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(file));
        else
            writeFile(file, bytes);
        ui.clearRecords();
        const QByteArray before = contents(file);
        const QStringList filesBefore = siblings(file);
        bool opened = false;
        try {
            db::CreateCollectionDatabase(file, [&](const QString &) { opened = true; });
            QFAIL("created over an existing path");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), errnum::DatabaseExists);
        }
        QVERIFY(!opened);
        QVERIFY(ui.statuses.isEmpty());
        QCOMPARE(contents(file), before);
        QCOMPARE(siblings(file), filesBefore);
        QCOMPARE(QFileInfo(file).isDir(), kind == "folder");
    }

    // Decision: a failed creation removes the partly built file; it was not
    // there before and could never be opened as a collection.
    void failedCreationLeavesNoFile_data()
    {
        QTest::addColumn<QString>("failingStage");
        QTest::newRow("company") << QStringLiteral("Creating the Company Table");
        QTest::newRow("issues") << QStringLiteral("Creating the Issues Table");
        QTest::newRow("relationships") << QStringLiteral("Establishing Data Relationships");
        QTest::newRow("conditions") << QStringLiteral("Initializing the Condition Information");
    }

    void failedCreationLeavesNoFile()
    {
        QFETCH(QString, failingStage);
        const QString file = path(QStringLiteral("failing-%1.pkx").arg(QTest::currentDataTag()));
        setStatusObserver([&](const QString &text) {
            if (text == failingStage)
                throw EngineError(errnum::Generic, QStringLiteral("disk gone"));
        });
        bool opened = false;
        try {
            db::CreateCollectionDatabase(file, [&](const QString &) { opened = true; });
            setStatusObserver({});
            QFAIL("no failure");
        } catch (const EngineError &e) {
            QCOMPARE(e.text(), QStringLiteral("disk gone"));
        }
        setStatusObserver({});
        QVERIFY(!opened);
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(siblings(file).isEmpty());
    }

    void openRefusesWhatIsNotACollection_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::newRow("missing") << u"missing"_s << errnum::FileNotFound;
        QTest::newRow("empty") << u"empty"_s << errnum::NotACollection;
        QTest::newRow("text") << u"text"_s << errnum::NotACollection;
        QTest::newRow("truncated collection") << u"truncated"_s << errnum::NotACollection;
        QTest::newRow("header only") << u"header"_s << errnum::NotACollection;
        QTest::newRow("other program's database") << u"foreign"_s << errnum::NotACollection;
        QTest::newRow("other program's database, WAL mode") << u"foreignwal"_s << errnum::NotACollection;
        QTest::newRow("marked but wrong tables") << u"wrongtables"_s << errnum::NotACollection;
        QTest::newRow("other schema version") << u"version"_s << errnum::NotACollection;
        QTest::newRow("folder") << u"folder"_s << errnum::NotACollection;
    }

    void openRefusesWhatIsNotACollection()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        ScriptedUi ui;
        const QString file = path(QStringLiteral("bad-%1.pkx").arg(kind));
        if (kind == QLatin1String("empty")) {
            writeFile(file, {});
        } else if (kind == QLatin1String("text")) {
            writeFile(file, QByteArray("Company,Title\nAcme,Zap\n").repeated(300));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(file));
        } else if (kind != QLatin1String("missing")) {
            const QString source = path(QStringLiteral("source-%1.pkx").arg(kind));
            if (kind.startsWith(QLatin1String("foreign"))) {
                Database other = Database::create(source);
                if (kind == QLatin1String("foreignwal"))
                    other.scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
                other.execute(QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)"));
                other.execute(QStringLiteral("INSERT INTO notes (body) VALUES ('x')"));
                other.close();
            } else {
                db::CreateCollectionDatabase(source);
                Database made = db::OpenCollectionFile(source);
                made.execute(QStringLiteral("INSERT INTO Company VALUES ('ACM', 'Acme')"));
                if (kind == QLatin1String("wrongtables"))
                    made.execute(QStringLiteral("DROP TABLE Issue"));
                if (kind == QLatin1String("version"))
                    made.execute(QStringLiteral("PRAGMA user_version = 99"));
                made.close();
            }
            QByteArray bytes = contents(source);
            if (kind == QLatin1String("truncated"))
                bytes.truncate(bytes.size() / 2);
            if (kind == QLatin1String("header"))
                bytes.truncate(100);
            writeFile(file, bytes);
        }
        const QByteArray before = contents(file);
        const QStringList filesBefore = siblings(file);
        try {
            Database db = db::OpenCollectionFile(file);
            QFAIL("opened a file that is not a collection");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), number);
            QVERIFY(!e.text().isEmpty());
        }
        QCOMPARE(contents(file), before);
        QCOMPARE(siblings(file), filesBefore);
        QCOMPARE(QFileInfo::exists(file), kind != QLatin1String("missing"));
    }

    // The rules hold for any client that opens the file with foreign keys on.
    void stockShellMeetsTheSameRules_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("orphan title") << "INSERT INTO Title VALUES ('Zap', 'Z', NULL, 'NOP');" << false;
        QTest::newRow("title of a company in other case")
            << "INSERT INTO Title VALUES ('Zap', 'Z', NULL, 'acm');" << true;
        QTest::newRow("condition 9") << "INSERT INTO Issue VALUES ('Bam', 1, 9, 1, NULL, NULL, NULL);"
                                     << false;
        QTest::newRow("condition 8") << "INSERT INTO Issue VALUES ('Bam', 1, 8, 1, NULL, NULL, NULL);"
                                     << true;
        QTest::newRow("company id differing in case")
            << "INSERT INTO Company VALUES ('acm', 'Other');" << false;
        QTest::newRow("empty company name") << "INSERT INTO Company VALUES ('NEW', '');" << false;
        QTest::newRow("26-character company")
            << "INSERT INTO Company VALUES ('NEW', 'abcdefghijklmnopqrstuvwxyz');" << false;
        QTest::newRow("issue number 32768")
            << "INSERT INTO Issue VALUES ('Bam', 32768, 1, 1, NULL, NULL, NULL);" << false;
        QTest::newRow("fractional price")
            << "INSERT INTO Issue VALUES ('Bam', 2, 1, 1, 1.5, NULL, NULL);" << false;
        QTest::newRow("delete company with titles") << "DELETE FROM Company;" << false;
        QTest::newRow("re-key title with issues")
            << "UPDATE Title SET Title_ID = 'Q' WHERE Title_ID = 'Bam';" << false;
        QTest::newRow("ordering ignores case")
            << "SELECT group_concat(Title, ',') FROM (SELECT Title FROM Title ORDER BY Title);" << true;
    }

    void stockShellMeetsTheSameRules()
    {
        QFETCH(QString, sql);
        QFETCH(bool, accepted);
        const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (shell.isEmpty())
            QSKIP("the sqlite3 shell is not installed");
        static QString base;
        if (base.isEmpty()) {
            ScriptedUi ui;
            base = path(QStringLiteral("shell-base.pkx"));
            db::CreateCollectionDatabase(base);
            Database db = db::OpenCollectionFile(base);
            db.execute(QStringLiteral("INSERT INTO Company VALUES ('ACM', 'Acme')"));
            db.execute(QStringLiteral("INSERT INTO Title VALUES ('bam', 'Bam', NULL, 'ACM')"));
            db.execute(QStringLiteral("INSERT INTO Title VALUES ('Astro', 'Ast', NULL, 'ACM')"));
            db.execute(QStringLiteral("INSERT INTO Issue VALUES ('Bam', 1, 1, 1, NULL, NULL, NULL)"));
            db.close();
        }
        const QString file =
            path(QStringLiteral("shell-%1.pkx").arg(QTest::currentDataTag()).replace(' ', '_'));
        QVERIFY(QFile::copy(base, file));
        QProcess proc;
        proc.start(shell, {QStringLiteral("-bail"), file});
        proc.write("PRAGMA foreign_keys = ON;\n");
        proc.write(sql.toUtf8() + "\n");
        proc.closeWriteChannel();
        QVERIFY(proc.waitForFinished(30000));
        const bool ok = proc.exitCode() == 0 && proc.readAllStandardError().isEmpty();
        QCOMPARE(ok, accepted);
        if (QByteArray(QTest::currentDataTag()) == "ordering ignores case")
            QCOMPARE(proc.readAllStandardOutput().trimmed(), QByteArray("Astro,bam"));
    }
};

QTEST_MAIN(TestCollectionFile)
#include "tst_collectionfile.moc"
