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
#include <QtEndian>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {

QByteArray contents(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {}; // a named pipe would block the read
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

void patch(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(offset));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray bigEndian(quint32 v)
{
    QByteArray b(4, 0);
    qToBigEndian(v, b.data());
    return b;
}

// A collection changed behind the program's back: rows in, then the change.
void alterCollection(const QString &file, const QStringList &statements)
{
    db::CreateCollectionDatabase(file);
    Database raw = Database::open(file);
    raw.execute(QStringLiteral("INSERT INTO Company VALUES ('ACM', 'Acme')"));
    raw.execute(QStringLiteral("PRAGMA foreign_keys = OFF"));
    for (const QString &sql : statements)
        raw.execute(sql);
    raw.close();
}

// A table of the collection made again from its own definition with one change.
QStringList remade(int table, const QString &from, const QString &to)
{
    const db::schema::Table &t = db::schema::tables().at(table);
    QString sql = t.createSql;
    sql.replace(from, to);
    return {QStringLiteral("DROP TABLE \"%1\"").arg(t.name), sql};
}

// Another program's database; marked as ours when asked, so only its
// tables can tell. Left with a hot journal or an unfolded log when asked.
void makeForeign(const QString &file, bool marked, const QString &leftover)
{
    const QString work = file + QStringLiteral(".work");
    Database other = Database::create(work);
    if (leftover == QLatin1String("wal"))
        other.scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
    if (marked) {
        other.execute(QStringLiteral("PRAGMA application_id = %1").arg(db::CollectionApplicationId));
        other.execute(QStringLiteral("PRAGMA user_version = %1").arg(db::CollectionSchemaVersion));
    }
    other.execute(QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)"));
    other.execute(
        QStringLiteral("INSERT INTO notes (body) SELECT hex(randomblob(200)) FROM "
                       "(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                       "SELECT i FROM n)"));
    if (leftover.isEmpty()) {
        other.close();
        QFile::rename(work, file);
        return;
    }
    // Copies taken in the middle of a change: the copy's journal is hot (no
    // process holds its lock) or its log holds pages never folded in.
    if (leftover == QLatin1String("journal")) {
        other.execute(QStringLiteral("PRAGMA cache_size = 2"));
        other.beginTrans();
        other.execute(QStringLiteral("UPDATE notes SET body = 'changed'"));
    } else {
        other.execute(QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
        other.execute(QStringLiteral("UPDATE notes SET body = 'logged'"));
    }
    const QString side =
        leftover == QLatin1String("journal") ? QStringLiteral("-journal") : QStringLiteral("-wal");
    QVERIFY(QFile::copy(work, file));
    QVERIFY(QFile::copy(work + side, file + side));
    QVERIFY(QFileInfo(file + side).size() > 0);
    other.close();
}

void makeBadFile(const QString &kind, const QString &file)
{
    const auto is = [&](const char *k) { return kind == QLatin1String(k); };
    if (is("missing"))
        return;
    if (is("empty"))
        return writeFile(file, {});
    if (is("text"))
        return writeFile(file, QByteArray("Company,Title\nAcme,Zap\n").repeated(300));
    if (is("random bytes")) {
        QByteArray b(4096, 0);
        for (int i = 0; i < b.size(); ++i)
            b[i] = char(i * 7919 % 251);
        return writeFile(file, b);
    }
    if (is("magic only"))
        return writeFile(file, QByteArray("SQLite format 3\0garbage", 23));
    if (is("folder")) {
        QVERIFY(QDir().mkdir(file));
        return;
    }
    if (is("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        return;
    }
    if (is("symlink loop")) {
        QVERIFY(QFile::link(file + QStringLiteral(".other"), file));
        QVERIFY(QFile::link(file, file + QStringLiteral(".other")));
        return;
    }
    if (is("dangling symlink")) {
        QVERIFY(QFile::link(file + QStringLiteral(".gone"), file));
        return;
    }
    if (kind.startsWith(QLatin1String("foreign")) || kind.startsWith(QLatin1String("marked"))) {
        const QString leftover = kind.endsWith(QLatin1String("hot journal"))  ? QStringLiteral("journal")
                                 : kind.endsWith(QLatin1String("WAL beside")) ? QStringLiteral("wal")
                                                                              : QString();
        makeForeign(file, kind.startsWith(QLatin1String("marked")), leftover);
        if (kind.endsWith(QLatin1String("in WAL mode"))) {
            Database other = Database::open(file);
            other.scalar(QStringLiteral("PRAGMA journal_mode = WAL"));
            other.close();
        }
        return;
    }
    const db::schema::Table &company = db::schema::tables().at(0);
    const QHash<QString, QStringList> alterations{
        {QStringLiteral("table missing"), {QStringLiteral("DROP TABLE Issue")}},
        {QStringLiteral("extra table"), {QStringLiteral("CREATE TABLE Extra (x)")}},
        {QStringLiteral("extra trigger"),
         {QStringLiteral("CREATE TRIGGER wipe_prices AFTER INSERT ON Company BEGIN "
                         "DELETE FROM CoverPrice; END")}},
        {QStringLiteral("extra view"), {QStringLiteral("CREATE VIEW Everything AS SELECT * FROM Issue")}},
        {QStringLiteral("extra index"), {QStringLiteral("CREATE INDEX CompanyName ON Company (Company)")}},
        {QStringLiteral("primary key missing"),
         remade(0, QStringLiteral(",\n    CONSTRAINT \"Co_ID\" PRIMARY KEY (\"Company_ID\")"), QString())},
        {QStringLiteral("relationship missing"),
         remade(4,
                QStringLiteral(",\n    CONSTRAINT \"Condition_Issue\" FOREIGN KEY (\"Condition\") "
                               "REFERENCES \"Condition\" (\"Condition_ID\")"),
                QString())},
        {QStringLiteral("relationship cascades"),
         remade(1, QStringLiteral("(\"Company_ID\")\n)"),
                QStringLiteral("(\"Company_ID\") ON DELETE CASCADE\n)"))},
        {QStringLiteral("check rule missing"),
         remade(4, QStringLiteral(" AND \"Quantity\" BETWEEN -32768 AND 32767"), QString())},
        {QStringLiteral("column type changed"),
         remade(3, QStringLiteral("CURRENCY"), QStringLiteral("REAL"))},
        {QStringLiteral("column renamed"),
         remade(2, QStringLiteral("\"Condition\" VARCHAR"), QStringLiteral("\"Conditions\" VARCHAR"))},
        {QStringLiteral("extra column"),
         remade(0, QStringLiteral(",\n    CONSTRAINT \"Co_ID\""),
                QStringLiteral(",\n    \"Extra\" TEXT,\n    CONSTRAINT \"Co_ID\""))},
        {QStringLiteral("collation changed"),
         remade(1, QStringLiteral("\"Title\" VARCHAR(35) COLLATE NOCASE"),
                QStringLiteral("\"Title\" VARCHAR(35) COLLATE BINARY"))},
        {QStringLiteral("without rowid"),
         {QStringLiteral("DROP TABLE Company"), company.createSql + QStringLiteral(" WITHOUT ROWID")}},
    };
    if (alterations.contains(kind)) {
        alterCollection(file, alterations.value(kind));
        return;
    }
    // The rest start from a sound collection and change its bytes.
    alterCollection(file, {});
    QByteArray b = contents(file);
    const quint32 pageSize = qFromBigEndian<quint16>(reinterpret_cast<const uchar *>(b.constData()) + 16);
    if (is("header only"))
        b.truncate(100);
    else if (is("truncated by half"))
        b.truncate(b.size() / 2);
    else if (is("one page short"))
        b.truncate(b.size() - pageSize);
    else if (is("one byte extra"))
        b.append('\0');
    else if (is("magic bit flip"))
        b[3] = char(b[3] ^ 0x20);
    else if (is("page size 0"))
        b.replace(16, 2, QByteArray(2, 0));
    else if (is("page size 3000"))
        b.replace(16, 2, QByteArray("\x0b\xb8", 2));
    else if (is("page size 256"))
        b.replace(16, 2, QByteArray("\x01\x00", 2));
    else if (is("read version 3"))
        b[19] = 3;
    else if (is("read version 0"))
        b[19] = 0;
    else if (is("write version 0"))
        b[18] = 0;
    else if (is("text encoding utf-16"))
        b.replace(56, 4, bigEndian(2));
    else if (is("payload fraction 65"))
        b[21] = 65;
    else if (is("leaf fraction 33"))
        b[23] = 33;
    else if (is("page count lies"))
        b.replace(28, 4, bigEndian(quint32(b.size() / pageSize + 5)));
    else if (is("application id 0"))
        b.replace(68, 4, bigEndian(0));
    else if (is("application id of another program"))
        b.replace(68, 4, bigEndian(0x47504B47));
    else if (is("user version 0"))
        b.replace(60, 4, bigEndian(0));
    else if (is("user version 99"))
        b.replace(60, 4, bigEndian(99));
    else if (is("schema page header broken"))
        b[100] = char(0x07);
    else if (!is("no read permission"))
        QFAIL(qPrintable(QStringLiteral("unknown kind ") + kind));
    writeFile(file, b);
    if (is("no read permission"))
        QFile::setPermissions(file, QFile::WriteOwner);
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

    // Each kind of file that is not exactly a collection is refused with its
    // reason before anything is changed: the file and whatever lies beside it
    // stay byte-identical and no side file appears.
    void openRefusesWhatIsNotACollection_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        const int bad = errnum::NotACollection;
        auto row = [](const char *kind, int number, const char *reason) {
            QTest::newRow(kind) << QString::fromLatin1(kind) << number << QString::fromLatin1(reason);
        };
        row("missing", errnum::FileNotFound, "Could not find");
        row("empty", bad, "empty");
        row("text", bad, "not a database");
        row("random bytes", bad, "not a database");
        row("magic only", bad, "incomplete");
        row("header only", bad, "not whole pages");
        row("truncated by half", bad, "damaged");
        row("one page short", bad, "incomplete");
        row("one byte extra", bad, "not whole pages");
        row("folder", bad, "not a file");
        row("fifo", bad, "not a file");
        row("symlink loop", bad, "link that leads to no file");
        row("dangling symlink", bad, "link that leads to no file");
        row("no read permission", errnum::Generic, "could not be read");
        row("magic bit flip", bad, "not a database");
        row("page size 0", bad, "page size");
        row("page size 3000", bad, "page size");
        row("page size 256", bad, "page size");
        row("read version 3", bad, "newer version");
        row("read version 0", bad, "header is not valid");
        row("write version 0", bad, "header is not valid");
        row("text encoding utf-16", bad, "header is not valid");
        row("payload fraction 65", bad, "header is not valid");
        row("leaf fraction 33", bad, "header is not valid");
        row("page count lies", bad, "incomplete");
        row("application id 0", bad, "another program");
        row("application id of another program", bad, "another program");
        row("user version 0", bad, "another version");
        row("user version 99", bad, "another version");
        row("schema page header broken", bad, "damaged");
        row("foreign", bad, "another program");
        row("foreign in WAL mode", bad, "another program");
        row("foreign with hot journal", bad, "another program");
        row("foreign with WAL beside", bad, "another program");
        row("marked, foreign tables", bad, "table 'notes' of another program");
        row("marked, foreign with hot journal", bad, "table 'notes'");
        row("marked, foreign in WAL mode", bad, "table 'notes'");
        row("table missing", bad, "table 'Issue' is missing");
        row("extra table", bad, "table 'Extra' of another program");
        row("extra trigger", bad, "trigger 'wipe_prices' of another program");
        row("extra view", bad, "view 'Everything' of another program");
        row("extra index", bad, "index 'CompanyName' of another program");
        row("primary key missing", bad, "table 'Company' is different");
        row("relationship missing", bad, "table 'Issue' is different");
        row("relationship cascades", bad, "table 'Title' is different");
        row("check rule missing", bad, "table 'Issue' is different");
        row("column type changed", bad, "table 'CoverPrice' is different");
        row("column renamed", bad, "table 'Condition' is different");
        row("extra column", bad, "table 'Company' is different");
        row("collation changed", bad, "table 'Title' is different");
        row("without rowid", bad, "table 'Company' is different");
    }

    void openRefusesWhatIsNotACollection()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, reason);
        if (kind == u"no read permission"_s && ::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        ScriptedUi ui;
        const QString file = path(QStringLiteral("bad-%1.pkx").arg(kind).replace(' ', '_'));
        makeBadFile(kind, file);
        const QByteArray before = contents(file);
        const QByteArray journalBefore = contents(file + u"-journal"_s);
        const QByteArray walBefore = contents(file + u"-wal"_s);
        const QStringList filesBefore = siblings(file);
        try {
            Database db = db::OpenCollectionFile(file);
            QFAIL("opened a file that is not a collection");
        } catch (const EngineError &e) {
            QCOMPARE(e.number(), number);
            QVERIFY2(e.text().contains(reason), qPrintable(e.text()));
        }
        QCOMPARE(contents(file), before);
        QCOMPARE(contents(file + u"-journal"_s), journalBefore);
        QCOMPARE(contents(file + u"-wal"_s), walBefore);
        QCOMPARE(siblings(file), filesBefore);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    }

    // What the program itself or a well-behaved client leaves opens; a file
    // that cannot be written opens read-only and refuses every change.
    void openAcceptsGoodVariants_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("with rows") << u"with rows"_s << false;
        QTest::newRow("after ANALYZE") << u"after ANALYZE"_s << false;
        QTest::newRow("after VACUUM") << u"after VACUUM"_s << false;
        QTest::newRow("definitions laid out differently") << u"relaid"_s << false;
        QTest::newRow("newer writer") << u"newer writer"_s << true;
        QTest::newRow("read-only file") << u"read-only file"_s << true;
        QTest::newRow("read-only folder") << u"read-only folder"_s << true;
    }

    void openAcceptsGoodVariants()
    {
        QFETCH(QString, kind);
        QFETCH(bool, readOnly);
        if (kind.startsWith(u"read-only"_s) && ::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        ScriptedUi ui;
        const QString folder = path(QStringLiteral("good-%1").arg(kind).replace(' ', '_'));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + u"/good.pkx"_s;
        db::CreateCollectionDatabase(file);
        {
            Database raw = Database::open(file);
            raw.execute(u"INSERT INTO Company VALUES ('ACM', 'Acme')"_s);
            if (kind == u"after ANALYZE"_s)
                raw.execute(u"ANALYZE"_s);
            if (kind == u"after VACUUM"_s)
                raw.scalar(u"VACUUM"_s);
            if (kind == u"relaid"_s) {
                raw.execute(u"PRAGMA foreign_keys = OFF"_s);
                raw.execute(u"DROP TABLE CoverPrice"_s);
                raw.execute(QString(db::schema::tables().at(3).createSql)
                                .replace(u"\n    "_s, u" "_s)
                                .replace(u"NOT NULL"_s, u"not  null"_s) +
                            u" ;"_s);
            }
            raw.close();
        }
        if (kind == u"newer writer"_s)
            patch(file, 18, QByteArray(1, char(3)));
        if (kind == u"read-only file"_s)
            QFile::setPermissions(file, QFile::ReadOwner);
        if (kind == u"read-only folder"_s)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray before = contents(file);
        Database db = db::OpenCollectionFile(file);
        QCOMPARE(db.isReadOnly(), readOnly);
        QCOMPARE(db.scalar(u"SELECT Company FROM Company"_s).toString(), u"Acme"_s);
        QCOMPARE(db::FindCollectionDamage(db), QString());
        if (readOnly) {
            try {
                db.execute(u"DELETE FROM Company"_s);
                QFAIL("changed a read-only collection");
            } catch (const EngineError &e) {
                QCOMPARE(e.number(), errnum::ReadOnly);
            }
            QCOMPARE(contents(file), before);
        }
        db.close();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Damage the open does not look for (it would cost start-up time on a
    // large file) is found by the check that runs once the window is shown.
    void damageIsFoundAfterTheOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("sound") << u"sound"_s << QString();
        QTest::newRow("orphan issue") << u"orphan issue"_s << u"'Issue' holds rows without"_s;
        QTest::newRow("condition 9") << u"condition 9"_s << u"'Issue' holds rows without"_s;
        QTest::newRow("orphan title") << u"orphan title"_s << u"'Title' holds rows without"_s;
        QTest::newRow("rule broken") << u"rule broken"_s << u"CHECK constraint failed"_s;
        QTest::newRow("data page bit flips") << u"bit flips"_s << u"damaged"_s;
    }

    void damageIsFoundAfterTheOpen()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        ScriptedUi ui;
        const QString file = path(QStringLiteral("damage-%1.pkx").arg(kind).replace(' ', '_'));
        db::CreateCollectionDatabase(file);
        {
            Database raw = Database::open(file);
            raw.execute(u"INSERT INTO Company VALUES ('ACM', 'Acme')"_s);
            raw.execute(u"INSERT INTO Title VALUES ('Zap', 'Zap', NULL, 'ACM')"_s);
            raw.execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                        "INSERT INTO Issue SELECT 'Zap', i, 1, 1, 10000, 20000, 'note ' || i FROM n"_s);
            raw.execute(u"PRAGMA foreign_keys = OFF"_s);
            if (kind == u"orphan issue"_s)
                raw.execute(u"INSERT INTO Issue VALUES ('Gon', 1, 1, 1, NULL, NULL, NULL)"_s);
            if (kind == u"condition 9"_s)
                raw.execute(u"INSERT INTO Issue VALUES ('Zap', 1, 9, 1, NULL, NULL, NULL)"_s);
            if (kind == u"orphan title"_s)
                raw.execute(u"INSERT INTO Title VALUES ('Lost', 'Los', NULL, 'NOP')"_s);
            if (kind == u"rule broken"_s) {
                raw.execute(u"PRAGMA ignore_check_constraints = ON"_s);
                raw.execute(u"UPDATE Issue SET Quantity = 99999 WHERE IssueNum = 7"_s);
            }
            raw.close();
        }
        if (kind == u"bit flips"_s) {
            const qint64 size = QFileInfo(file).size();
            patch(file, size - 1500, QByteArray(64, '\xa5'));
        }
        Database db = db::OpenCollectionFile(file);
        const QString damage = db::FindCollectionDamage(db);
        if (reason.isEmpty())
            QCOMPARE(damage, QString());
        else
            QVERIFY2(damage.contains(reason), qPrintable(damage));
        db.close();
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
