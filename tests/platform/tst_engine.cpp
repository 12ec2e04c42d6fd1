#include "platform/currency.h"
#include "platform/database.h"
#include "platform/engineerror.h"
#include "platform/recordset.h"
#include "platform/workspace.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace platform;

namespace {

// What a call raised: number 0 and no text when it raised nothing.
struct Raised
{
    int number = 0;
    QString text;
};

Raised raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EngineError &e) {
        return {e.number(), e.text()};
    }
    return {};
}

int errorOf(const std::function<void()> &call)
{
    return raised(call).number;
}

QString codeOf(const std::unique_ptr<Recordset> &rs)
{
    return rs->value(QStringLiteral("Code")).toString();
}

const char *const itemNames[] = {"Acme", "Éditions Lumière", "O'Malley Press", "The \"Best\" Comics", "Zeta"};

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;
    Database m_db;

    // A small database using the column kinds of a collection: text with a
    // length and no-empty rule, a 16-bit Integer, Currency and memo, and a
    // dependent table.
    Database makeDatabase()
    {
        Database db = Database::create(m_dir.filePath(QStringLiteral("engine%1.db").arg(++m_files)));
        db.execute(QStringLiteral(
            "CREATE TABLE Item (Code VARCHAR(3) COLLATE NOCASE NOT NULL CONSTRAINT \"Item.Code:maxlen3\" "
            "CHECK (length(Code) <= 3), Name VARCHAR(25) COLLATE NOCASE NOT NULL CONSTRAINT "
            "\"Item.Name:nonempty\" "
            "CHECK (length(Name) > 0), Num SMALLINT CONSTRAINT \"Item.Num:integer\" CHECK (Num IS NULL OR "
            "(typeof(Num) "
            "= 'integer' AND Num BETWEEN -32768 AND 32767)), Price CURRENCY, Notes TEXT, PRIMARY KEY "
            "(Code))"));
        db.execute(QStringLiteral(
            "CREATE TABLE Part (Code VARCHAR(3) COLLATE NOCASE NOT NULL REFERENCES Item (Code), "
            "N SMALLINT NOT NULL, PRIMARY KEY (Code, N))"));
        int n = 0;
        for (const char *name : itemNames) {
            ++n;
            db.execute(QStringLiteral("INSERT INTO Item VALUES (?, ?, ?, ?, ?)"), ExecuteOption::FailOnError,
                       {QStringLiteral("C%1").arg(n), QString::fromUtf8(name), n * 10,
                        QVariant::fromValue(Currency::fromScaled(n * 12500)),
                        n == 2 ? QVariant() : QVariant(QStringLiteral("note %1").arg(n))});
        }
        db.execute(QStringLiteral("INSERT INTO Part VALUES ('C2', 1), ('C2', 2), ('C4', 1)"));
        return db;
    }

    std::unique_ptr<Recordset> items(RecordsetType type = RecordsetType::Dynaset,
                                     RecordsetOption option = RecordsetOption::None)
    {
        if (type == RecordsetType::Table)
            return m_db.openRecordset(QStringLiteral("Item"), type, {}, option);
        return m_db.openRecordset(QStringLiteral("SELECT * FROM Item ORDER BY Code"), type, {}, option);
    }

    int itemCount() { return m_db.scalar(QStringLiteral("SELECT count(*) FROM Item")).toInt(); }

    static void addTypes()
    {
        QTest::addColumn<RecordsetType>("type");
        QTest::newRow("table") << RecordsetType::Table;
        QTest::newRow("dynaset") << RecordsetType::Dynaset;
        QTest::newRow("snapshot") << RecordsetType::Snapshot;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(m_dir.isValid());
    }

    void init() { m_db = makeDatabase(); }
    void cleanup() { m_db.close(); }

    void openNeverCreatesAndCreateNeverOverwrites()
    {
        const QString missing = m_dir.filePath(QStringLiteral("missing.db"));
        QCOMPARE(errorOf([&] { Database::open(missing); }), errnum::FileNotFound);
        QVERIFY(!QFile::exists(missing));
        const QByteArray before = [&] {
            QFile f(m_db.path());
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        QCOMPARE(errorOf([&] { Database::create(m_db.path()); }), errnum::DatabaseExists);
        QFile f(m_db.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    // Emptied by SQL before opening, or row by row through the recordset.
    void emptyRecordsetHasNoCurrentRow_data()
    {
        QTest::addColumn<RecordsetType>("type");
        QTest::addColumn<bool>("throughRecordset");
        QTest::newRow("table") << RecordsetType::Table << false;
        QTest::newRow("dynaset") << RecordsetType::Dynaset << false;
        QTest::newRow("snapshot") << RecordsetType::Snapshot << false;
        QTest::newRow("table emptied by deleteRow") << RecordsetType::Table << true;
        QTest::newRow("dynaset emptied by deleteRow") << RecordsetType::Dynaset << true;
    }
    void emptyRecordsetHasNoCurrentRow()
    {
        QFETCH(RecordsetType, type);
        QFETCH(bool, throughRecordset);
        m_db.execute(QStringLiteral("DELETE FROM Part"));
        if (!throughRecordset)
            m_db.execute(QStringLiteral("DELETE FROM Item"));
        auto rs = items(type);
        while (rs->recordCount() > 0) {
            rs->moveFirst();
            rs->deleteRow();
        }
        QCOMPARE(itemCount(), 0);
        QVERIFY(rs->eof());
        QVERIFY(rs->bof());
        QCOMPARE(rs->absolutePosition(), -1);
        QCOMPARE(errorOf([&] { rs->moveFirst(); }), errnum::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->moveLast(); }), errnum::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->moveNext(); }), errnum::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->value(QStringLiteral("Name")); }), errnum::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->bookmark(); }), errnum::NoCurrentRecord);
    }

    void scrollingVisitsEveryRowOnce_data() { addTypes(); }
    void scrollingVisitsEveryRowOnce()
    {
        QFETCH(RecordsetType, type);
        auto rs = items(type);
        QCOMPARE(rs->recordCount(), 5);
        QCOMPARE(rs->absolutePosition(), 0);
        QStringList forward;
        for (rs->moveFirst(); !rs->eof(); rs->moveNext())
            forward << codeOf(rs);
        QCOMPARE(forward, QStringList({"C1", "C2", "C3", "C4", "C5"}));
        QCOMPARE(rs->absolutePosition(), -1);
        QCOMPARE(errorOf([&] { rs->moveNext(); }), errnum::NoCurrentRecord);
        QStringList backward;
        for (rs->moveLast(); !rs->bof(); rs->movePrevious())
            backward << codeOf(rs);
        QCOMPARE(backward, QStringList({"C5", "C4", "C3", "C2", "C1"}));
        QCOMPARE(errorOf([&] { rs->movePrevious(); }), errnum::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->value(QStringLiteral("Code")); }), errnum::NoCurrentRecord);
    }

    void valuesHaveTheColumnsTypes()
    {
        auto rs = items();
        rs->moveFirst();
        rs->moveNext();
        QCOMPARE(rs->value(QStringLiteral("Num")).metaType(), QMetaType::fromType<int>());
        QCOMPARE(rs->value(QStringLiteral("Num")).toInt(), 20);
        QCOMPARE(rs->value(QStringLiteral("Price")).value<Currency>(), Currency::fromScaled(25000));
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Éditions Lumière"));
        QVERIFY(rs->value(QStringLiteral("Notes")).isNull());
        QVERIFY(rs->isNull(QStringLiteral("notes")));
        // Field names are found whatever their letter case.
        QCOMPARE(rs->value(QStringLiteral("nAmE")), rs->value(QStringLiteral("Name")));
        QCOMPARE(rs->value(QStringLiteral("Item.Code")).toString(), QStringLiteral("C2"));
        QCOMPARE(errorOf([&] { rs->value(QStringLiteral("Colour")); }), errnum::ItemNotFound);
    }

    void dynasetShowsTheRowsItAdded_data()
    {
        QTest::addColumn<RecordsetType>("type");
        QTest::newRow("table") << RecordsetType::Table;
        QTest::newRow("dynaset") << RecordsetType::Dynaset;
        // The new row does not meet the WHERE clause and is shown all the same.
        QTest::newRow("dynaset over a subset") << RecordsetType::Dynaset;
    }
    void dynasetShowsTheRowsItAdded()
    {
        QFETCH(RecordsetType, type);
        auto rs = QByteArray(QTest::currentDataTag()) == "dynaset over a subset"
                      ? m_db.openRecordset(
                            QStringLiteral("SELECT Code, Name FROM Item WHERE Num < ? ORDER BY Code"),
                            RecordsetType::Dynaset, {25})
                      : items(type);
        const int before = rs->recordCount();
        rs->moveFirst();
        rs->moveNext();
        const QString current = codeOf(rs);
        rs->addNew();
        rs->setValue(QStringLiteral("Code"), QStringLiteral("N1"));
        rs->setValue(QStringLiteral("Name"), QStringLiteral("Newcomer"));
        rs->update();
        QCOMPARE(rs->recordCount(), before + 1);
        // The row that was current stays current.
        QCOMPARE(codeOf(rs), current);
        rs->moveLast();
        QCOMPARE(codeOf(rs), QStringLiteral("N1"));
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Newcomer"));
        QCOMPARE(rs->absolutePosition(), before);
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT Name FROM Item WHERE Code = 'n1'")).toString(),
                 QStringLiteral("Newcomer"));
    }

    void addingToAnEmptyDynasetThenMoveLast()
    {
        auto rs = m_db.openRecordset(QStringLiteral("SELECT * FROM Part WHERE Code = ?"),
                                     RecordsetType::Dynaset, {QStringLiteral("C1")});
        QCOMPARE(rs->recordCount(), 0);
        rs->addNew();
        rs->setValue(QStringLiteral("Code"), QStringLiteral("C1"));
        rs->setValue(QStringLiteral("N"), 7);
        rs->update();
        rs->moveLast();
        QCOMPARE(rs->value(QStringLiteral("N")).toInt(), 7);
        QCOMPARE(rs->recordCount(), 1);
    }

    void dynasetSeesLaterChangesAndLosesRowsDeletedElsewhere()
    {
        auto rs = items();
        auto snap = items(RecordsetType::Snapshot);
        auto editing = items();
        editing->findFirst({{"Code", "C3"}});
        editing->edit();
        editing->setValue(QStringLiteral("Name"), QStringLiteral("Edited meanwhile"));
        m_db.execute(QStringLiteral("UPDATE Item SET Name = ? WHERE Code = 'C1'"), ExecuteOption::FailOnError,
                     {QStringLiteral("Acme Renamed")});
        m_db.execute(QStringLiteral("DELETE FROM Item WHERE Code IN ('C3', 'C5')"));
        // Saving an edit of a row deleted meanwhile must not pass for success.
        QCOMPARE(errorOf([&] { editing->update(); }), errnum::DeletedRecord);
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Acme Renamed"));
        QCOMPARE(snap->value(QStringLiteral("Name")).toString(), QStringLiteral("Acme"));
        QStringList codes;
        for (rs->moveFirst(); !rs->eof(); rs->moveNext())
            codes << codeOf(rs);
        QCOMPARE(codes, QStringList({"C1", "C2", "C4"}));
        QCOMPARE(rs->recordCount(), 3);
        QCOMPARE(snap->recordCount(), 5);
    }

    void readOnlyRecordsetsRefuseWrites_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<RecordsetType>("type");
        QTest::addColumn<RecordsetOption>("option");
        QTest::newRow("snapshot") << "SELECT * FROM Item" << RecordsetType::Snapshot << RecordsetOption::None;
        QTest::newRow("read-only dynaset")
            << "SELECT * FROM Item" << RecordsetType::Dynaset << RecordsetOption::ReadOnly;
        QTest::newRow("read-only table") << "Item" << RecordsetType::Table << RecordsetOption::ReadOnly;
        QTest::newRow("join") << "SELECT Item.Name, Part.N FROM Item INNER JOIN Part ON Part.Code = Item.Code"
                              << RecordsetType::Dynaset << RecordsetOption::None;
        QTest::newRow("expression") << "SELECT Code, upper(Name) AS Big FROM Item" << RecordsetType::Dynaset
                                    << RecordsetOption::None;
        QTest::newRow("distinct") << "SELECT DISTINCT Code FROM Part" << RecordsetType::Dynaset
                                  << RecordsetOption::None;
    }
    void readOnlyRecordsetsRefuseWrites()
    {
        QFETCH(QString, sql);
        QFETCH(RecordsetType, type);
        QFETCH(RecordsetOption, option);
        auto rs = m_db.openRecordset(sql, type, {}, option);
        QVERIFY(!rs->isUpdatable());
        QVERIFY(rs->recordCount() > 0);
        const QString field = rs->fieldNames().first();
        QCOMPARE(errorOf([&] { rs->addNew(); }), errnum::ReadOnly);
        QCOMPARE(errorOf([&] { rs->edit(); }), errnum::ReadOnly);
        QCOMPARE(errorOf([&] { rs->setValue(field, QStringLiteral("X")); }), errnum::ReadOnly);
        QCOMPARE(errorOf([&] { rs->deleteRow(); }), errnum::ReadOnly);
        QCOMPARE(itemCount(), 5);
    }

    void updatableDynasets_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("all columns") << "SELECT * FROM Item";
        QTest::newRow("some columns, filtered") << "SELECT Name, Code FROM Item WHERE Num > 0 ORDER BY Name";
        QTest::newRow("one table's columns of a join")
            << "SELECT Item.* FROM Item INNER JOIN Part ON Part.Code = Item.Code AND Part.N = 1";
        QTest::newRow("lower-case keywords, trailing semicolon")
            << "select Code, Name from Item order by Code;";
    }
    void updatableDynasets()
    {
        QFETCH(QString, sql);
        auto rs = m_db.openRecordset(sql);
        QVERIFY(rs->isUpdatable());
        rs->moveFirst();
        const QString code = codeOf(rs);
        rs->edit();
        rs->setValue(QStringLiteral("Name"), QStringLiteral("Changed"));
        rs->update();
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Changed"));
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT Name FROM Item WHERE Code = ?"), {code}).toString(),
                 QStringLiteral("Changed"));
    }

    void findFirst_data()
    {
        QTest::addColumn<Criteria>("criteria");
        QTest::addColumn<QString>("found"); // empty: no match
        QTest::newRow("apostrophe") << Criteria{{"Name", QStringLiteral("O'Malley Press")}} << "C3";
        QTest::newRow("double quotes") << Criteria{{"Name", QStringLiteral("The \"Best\" Comics")}} << "C4";
        QTest::newRow("case-insensitive, ASCII")
            << Criteria{{"Name", QStringLiteral("o'MALLEY press")}} << "C3";
        QTest::newRow("case-insensitive, accents")
            << Criteria{{"Name", QStringLiteral("ÉDITIONS LUMIÈRE")}} << "C2";
        QTest::newRow("accents matter") << Criteria{{"Name", QStringLiteral("Editions Lumiere")}} << "";
        QTest::newRow("number") << Criteria{{"Num", 40}} << "C4";
        QTest::newRow("number as 64-bit") << Criteria{{"Num", qlonglong(50)}} << "C5";
        QTest::newRow("currency") << Criteria{{"Price", QVariant::fromValue(Currency::fromScaled(37500))}}
                                  << "C3";
        QTest::newRow("two criteria, both hold") << Criteria{{"num", 20}, {"CODE", "c2"}} << "C2";
        QTest::newRow("two criteria, one fails") << Criteria{{"Num", 20}, {"Code", "C3"}} << "";
        QTest::newRow("null") << Criteria{{"Notes", QVariant()}} << "C2";
        QTest::newRow("no such value") << Criteria{{"Name", QStringLiteral("Nobody")}} << "";
        QTest::newRow("SQL in the value") << Criteria{{"Name", QStringLiteral("x' OR '1'='1")}} << "";
    }
    void findFirst()
    {
        QFETCH(Criteria, criteria);
        QFETCH(QString, found);
        for (RecordsetType type : {RecordsetType::Dynaset, RecordsetType::Snapshot}) {
            auto rs = items(type);
            rs->moveLast();
            rs->findFirst(criteria);
            QCOMPARE(rs->noMatch(), found.isEmpty());
            QCOMPARE(codeOf(rs), found.isEmpty() ? QStringLiteral("C5") : found);
        }
    }

    void findNextContinuesAfterTheCurrentRow()
    {
        m_db.execute(QStringLiteral("UPDATE Item SET Num = 7 WHERE Code IN ('C2', 'C4')"));
        auto rs = items();
        const Criteria seven{{"Num", 7}};
        rs->findFirst(seven);
        QCOMPARE(codeOf(rs), QStringLiteral("C2"));
        rs->findNext(seven);
        QVERIFY(!rs->noMatch());
        QCOMPARE(codeOf(rs), QStringLiteral("C4"));
        rs->findNext(seven);
        QVERIFY(rs->noMatch());
        QCOMPARE(codeOf(rs), QStringLiteral("C4"));
        QCOMPARE(errorOf([&] { rs->findFirst({{"Colour", 1}}); }), errnum::ItemNotFound);
    }

    // A failed find leaves the row that was current; a bookmark saved before
    // it brings that row back in any case.
    void failedFindThenBookmarkRestoresThePosition_data() { addTypes(); }
    void failedFindThenBookmarkRestoresThePosition()
    {
        QFETCH(RecordsetType, type);
        auto rs = items(type);
        rs->moveFirst();
        rs->moveNext();
        rs->moveNext();
        const Bookmark mark = rs->bookmark();
        rs->findFirst({{"Name", QStringLiteral("Zeta")}});
        QCOMPARE(rs->absolutePosition(), 4);
        rs->findNext({{"Name", QStringLiteral("Nobody")}});
        QVERIFY(rs->noMatch());
        rs->setBookmark(mark);
        QCOMPARE(rs->absolutePosition(), 2);
        QCOMPARE(codeOf(rs), QStringLiteral("C3"));
    }

    void deleteThenMoveReachesTheNeighbours_data()
    {
        QTest::addColumn<int>("deleteAt");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("reached"); // empty: EOF or BOF
        QTest::newRow("middle, next") << 2 << true << "C4";
        QTest::newRow("middle, previous") << 2 << false << "C2";
        QTest::newRow("first, next") << 0 << true << "C2";
        QTest::newRow("first, previous") << 0 << false << "";
        QTest::newRow("last, next") << 4 << true << "";
        QTest::newRow("last, previous") << 4 << false << "C4";
    }
    void deleteThenMoveReachesTheNeighbours()
    {
        QFETCH(int, deleteAt);
        QFETCH(bool, forward);
        QFETCH(QString, reached);
        m_db.execute(QStringLiteral("DELETE FROM Part"));
        auto rs = items();
        rs->moveFirst();
        for (int i = 0; i < deleteAt; ++i)
            rs->moveNext();
        const Bookmark deleted = rs->bookmark();
        rs->deleteRow();
        QCOMPARE(rs->absolutePosition(), -1);
        QCOMPARE(rs->recordCount(), 4);
        QVERIFY(!rs->eof() && !rs->bof());
        QCOMPARE(errorOf([&] { rs->value(QStringLiteral("Code")); }), errnum::NoCurrentRecord);
        QCOMPARE(errorOf([&] { rs->setBookmark(deleted); }), errnum::InvalidBookmark);
        if (forward)
            rs->moveNext();
        else
            rs->movePrevious();
        if (reached.isEmpty()) {
            QVERIFY(forward ? rs->eof() : rs->bof());
            QCOMPARE(rs->absolutePosition(), -1);
        } else {
            QCOMPARE(codeOf(rs), reached);
        }
        QCOMPARE(itemCount(), 4);
    }

    void updateNeedsAddNewOrEdit()
    {
        auto rs = items();
        QCOMPARE(errorOf([&] { rs->update(); }), errnum::UpdateWithoutEdit);
        QCOMPARE(errorOf([&] { rs->cancelUpdate(); }), errnum::UpdateWithoutEdit);
        QCOMPARE(errorOf([&] { rs->setValue(QStringLiteral("Name"), QStringLiteral("X")); }),
                 errnum::UpdateWithoutEdit);
        rs->edit();
        rs->setValue(QStringLiteral("Name"), QStringLiteral("Dropped"));
        rs->cancelUpdate();
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Acme"));
        QCOMPARE(errorOf([&] { rs->update(); }), errnum::UpdateWithoutEdit);
        // Moving away abandons an edit.
        rs->edit();
        rs->setValue(QStringLiteral("Name"), QStringLiteral("Dropped"));
        rs->moveNext();
        QCOMPARE(errorOf([&] { rs->update(); }), errnum::UpdateWithoutEdit);
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT count(*) FROM Item WHERE Name = 'Dropped'")).toInt(), 0);
    }

    // A refused save keeps the edit so the user can correct it and save again.
    void refusedUpdateStaysInEditWithNothingWritten_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("bad");
        QTest::addColumn<QVariant>("good");
        QTest::addColumn<int>("number");
        QTest::newRow("add, empty name")
            << true << "Name" << QVariant(QString("")) << QVariant(QString("Fixed")) << errnum::ZeroLength;
        QTest::newRow("add, duplicate key")
            << true << "Code" << QVariant(QString("c1")) << QVariant(QString("C9")) << errnum::DuplicateKey;
        QTest::newRow("edit, too long")
            << false << "Code" << QVariant(QString("C100")) << QVariant(QString("C10")) << errnum::TooLong;
        QTest::newRow("edit, null name")
            << false << "Name" << QVariant() << QVariant(QString("Fixed")) << errnum::FieldRequired;
        QTest::newRow("edit, re-key with dependants")
            << false << "Code" << QVariant(QString("C7")) << QVariant(QString("c2"))
            << errnum::RelatedRecordExists;
    }
    void refusedUpdateStaysInEditWithNothingWritten()
    {
        QFETCH(bool, adding);
        QFETCH(QString, field);
        QFETCH(QVariant, bad);
        QFETCH(QVariant, good);
        QFETCH(int, number);
        auto rs = items();
        const auto rows = [&] {
            return m_db.scalar(QStringLiteral("SELECT group_concat(Code || Name, ',') FROM Item")).toString();
        };
        const QString before = rows();
        if (adding) {
            rs->addNew();
            rs->setValue(QStringLiteral("Code"), QStringLiteral("C9"));
            rs->setValue(QStringLiteral("Name"), QStringLiteral("New"));
        } else {
            // C2 has parts and so cannot be re-keyed; C3 has none.
            const bool rekey = QByteArray(QTest::currentDataTag()).contains("re-key");
            rs->findFirst({{"Code", rekey ? "C2" : "C3"}});
            rs->edit();
        }
        rs->setValue(field, bad);
        QCOMPARE(errorOf([&] { rs->update(); }), number);
        QCOMPARE(rows(), before);
        QCOMPARE(rs->value(field), bad);
        rs->setValue(field, good);
        rs->update();
        QVERIFY(rows() != before);
    }

    void setValueConvertsTypedText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<QString>("stored"); // the SQL literal the column then holds
        QTest::addColumn<int>("number");
        QTest::newRow("integer text") << "Num" << QVariant(QString(" 12 ")) << "12" << 0;
        QTest::newRow("negative integer text") << "Num" << QVariant(QString("-32768")) << "-32768" << 0;
        QTest::newRow("integer text too big")
            << "Num" << QVariant(QString("32768")) << "" << errnum::Overflow;
        QTest::newRow("integer text not a number")
            << "Num" << QVariant(QString("12a")) << "" << errnum::TypeConversion;
        QTest::newRow("integer too big") << "Num" << QVariant(40000) << "" << errnum::Overflow;
        QTest::newRow("currency text") << "Price" << QVariant(QString("$1,250.50")) << "12505000" << 0;
        QTest::newRow("currency text, four places") << "Price" << QVariant(QString("0.00005")) << "1" << 0;
        QTest::newRow("currency value")
            << "Price" << QVariant::fromValue(Currency::fromScaled(-5)) << "-5" << 0;
        QTest::newRow("currency whole number") << "Price" << QVariant(3) << "30000" << 0;
        QTest::newRow("currency text not an amount")
            << "Price" << QVariant(QString("cheap")) << "" << errnum::TypeConversion;
        QTest::newRow("null") << "Price" << QVariant() << "NULL" << 0;
    }
    void setValueConvertsTypedText()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, given);
        QFETCH(QString, stored);
        QFETCH(int, number);
        auto rs = items();
        rs->edit();
        QCOMPARE(errorOf([&] { rs->setValue(field, given); }), number);
        if (number)
            return;
        rs->update();
        QCOMPARE(
            m_db.scalar(QStringLiteral("SELECT quote(%1) FROM Item WHERE Code = 'C1'").arg(field)).toString(),
            stored);
    }

    void failingExecuteChangesNothing_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("number");
        QTest::newRow("range broken on a later row")
            << "UPDATE Item SET Num = Num * 1000" << errnum::ValidationRule;
        QTest::newRow("some rows have dependants") << "DELETE FROM Item" << errnum::RelatedRecordExists;
        QTest::newRow("orphan") << "INSERT INTO Part VALUES ('C9', 1)" << errnum::RelatedRecordRequired;
        QTest::newRow("two statements") << "DELETE FROM Part; DELETE FROM Item" << errnum::Generic;
        QTest::newRow("syntax") << "DELEET FROM Item" << errnum::Generic;
    }
    void failingExecuteChangesNothing()
    {
        QFETCH(QString, sql);
        QFETCH(int, number);
        const auto state = [&] {
            return m_db
                .scalar(QStringLiteral("SELECT (SELECT group_concat(Code || Num, ',') FROM Item) || '/' || "
                                       "(SELECT group_concat(Code || N, ',') FROM Part)"))
                .toString();
        };
        const QString before = state();
        for (ExecuteOption option : {ExecuteOption::FailOnError, ExecuteOption::None})
            QCOMPARE(errorOf([&] { m_db.execute(sql, option); }), number);
        QCOMPARE(state(), before);
    }

    void executeReportsRecordsAffected()
    {
        m_db.execute(QStringLiteral("UPDATE Item SET Notes = ? WHERE Num > ?"), ExecuteOption::FailOnError,
                     {QStringLiteral("it's \"quoted\""), 25});
        QCOMPARE(m_db.recordsAffected(), 3);
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT Notes FROM Item WHERE Code = 'C5'")).toString(),
                 QStringLiteral("it's \"quoted\""));
        m_db.execute(QStringLiteral("DELETE FROM Part WHERE Code = ?"), ExecuteOption::FailOnError, {"c2"});
        QCOMPARE(m_db.recordsAffected(), 2);
        QCOMPARE(errorOf([&] { m_db.execute(QStringLiteral("DELETE FROM Part WHERE Code = ?")); }),
                 errnum::Generic);
    }

    void errorsNameTheColumnOrTable_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "INSERT INTO Item (Code, Name) VALUES (?, ?)" << QVariantList{"C8", ""}
                               << errnum::ZeroLength << "Field 'Item.Name' cannot be a zero-length string.";
        QTest::newRow("too long") << "INSERT INTO Item (Code, Name) VALUES (?, ?)"
                                  << QVariantList{"C800", "x"} << errnum::TooLong
                                  << "The field 'Item.Code' is too long (at most 3 characters).";
        QTest::newRow("null")
            << "INSERT INTO Item (Code) VALUES (?)" << QVariantList{"C8"} << errnum::FieldRequired
            << "Field 'Item.Name' cannot contain a Null value because a value is required. Enter "
               "a value in this field.";
        QTest::newRow("duplicate") << "INSERT INTO Item (Code, Name) VALUES (?, ?)" << QVariantList{"c1", "x"}
                                   << errnum::DuplicateKey
                                   << "The changes to table 'Item' were not made because they would create a "
                                      "duplicate value in its key (Code).";
        QTest::newRow("related required")
            << "INSERT INTO Part VALUES (?, ?)" << QVariantList{"C9", 1} << errnum::RelatedRecordRequired
            << "You cannot add or change a record because a related record is "
               "required in table 'Item'.";
        QTest::newRow("related exists")
            << "DELETE FROM Item WHERE Code = ?" << QVariantList{"C4"} << errnum::RelatedRecordExists
            << "The record cannot be deleted or changed because table 'Part' includes "
               "related records.";
        QTest::newRow("re-keyed parent")
            << "UPDATE Item SET Code = ? WHERE Code = ?" << QVariantList{"C7", "C4"}
            << errnum::RelatedRecordExists
            << "The record cannot be deleted or changed because table 'Part' includes "
               "related records.";
        QTest::newRow("child moved to nothing")
            << "UPDATE Part SET Code = ? WHERE Code = ?" << QVariantList{"C7", "C4"}
            << errnum::RelatedRecordRequired
            << "You cannot add or change a record because a related record is "
               "required in table 'Item'.";
        QTest::newRow("range") << "UPDATE Item SET Num = ?" << QVariantList{70000} << errnum::ValidationRule
                               << "The field 'Item.Num' must hold a whole number from -32768 to 32767.";
    }
    void errorsNameTheColumnOrTable()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        QFETCH(int, number);
        QFETCH(QString, text);
        const Raised error = raised([&] { m_db.execute(sql, ExecuteOption::FailOnError, params); });
        QCOMPARE(error.number, number);
        QCOMPARE(error.text, text);
    }

    void recordsetDeleteOfARowWithDependantsIsRefused()
    {
        auto rs = items();
        rs->moveNext(); // C2 has parts
        const Raised error = raised([&] { rs->deleteRow(); });
        QCOMPARE(error.number, errnum::RelatedRecordExists);
        QCOMPARE(error.text, QStringLiteral("The record cannot be deleted or changed because table 'Part' "
                                            "includes related records."));
        QCOMPARE(codeOf(rs), QStringLiteral("C2"));
        QCOMPARE(rs->recordCount(), 5);
        QCOMPARE(itemCount(), 5);
    }

    void transactionsSpanEveryOpenDatabase()
    {
        Workspace &ws = Workspace::defaultWorkspace();
        const QString a = m_dir.filePath(QStringLiteral("ws-a.db"));
        const QString b = m_dir.filePath(QStringLiteral("ws-b.db"));
        Database dbA = ws.createDatabase(a);
        Database dbB = ws.createDatabase(b);
        for (Database *db : {&dbA, &dbB})
            db->execute(QStringLiteral("CREATE TABLE t (x SMALLINT)"));
        const auto insertInBoth = [&](int x) {
            for (Database *db : {&dbA, &dbB})
                db->execute(QStringLiteral("INSERT INTO t VALUES (?)"), ExecuteOption::FailOnError, {x});
        };
        ws.beginTrans();
        insertInBoth(1);
        ws.rollback();
        for (Database *db : {&dbA, &dbB})
            QCOMPARE(db->scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 0);
        ws.beginTrans();
        insertInBoth(2);
        ws.commitTrans();
        dbA.close();
        dbB.close();
        QCOMPARE(Database::open(a).scalar(QStringLiteral("SELECT x FROM t")).toInt(), 2);
        QCOMPARE(Database::open(b).scalar(QStringLiteral("SELECT x FROM t")).toInt(), 2);
        QCOMPARE(errorOf([&] { ws.commitTrans(); }), errnum::NoTransaction);
    }

    void scopedTransactionRollsBackUnlessCommitted()
    {
        try {
            Transaction t(m_db);
            m_db.execute(QStringLiteral("DELETE FROM Part"));
            throw EngineError(errnum::Generic, QStringLiteral("later step failed"));
        } catch (const EngineError &) {
        }
        QVERIFY(!m_db.inTransaction());
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT count(*) FROM Part")).toInt(), 3);
        {
            Transaction outer(m_db);
            {
                Transaction inner(m_db); // never committed: only its own change is undone
                m_db.execute(QStringLiteral("DELETE FROM Part WHERE N = 2"));
            }
            m_db.execute(QStringLiteral("DELETE FROM Part WHERE Code = 'C4'"));
            outer.commit();
        }
        QCOMPARE(m_db.scalar(QStringLiteral("SELECT group_concat(Code || N) FROM Part")).toString(),
                 QStringLiteral("C21,C22"));
    }

    // A recordset outliving its database raises on every use, whatever its
    // kind, and never reaches a closed handle.
    void closedObjectsRaise_data() { addTypes(); }
    void closedObjectsRaise()
    {
        QFETCH(RecordsetType, type);
        auto closed = items(type);
        closed->close();
        QVERIFY(!closed->isOpen());
        QCOMPARE(errorOf([&] { closed->moveFirst(); }), errnum::ObjectClosed);
        auto rs = items(type);
        rs->moveNext();
        const Bookmark mark = rs->bookmark();
        m_db.close();
        QVERIFY(!m_db.isOpen());
        QCOMPARE(errorOf([&] { m_db.execute(QStringLiteral("DELETE FROM Part")); }), errnum::ObjectClosed);
        QCOMPARE(errorOf([&] { items(); }), errnum::ObjectClosed);
        const std::function<void()> uses[] = {
            [&] { rs->moveFirst(); },
            [&] { rs->moveNext(); },
            [&] { rs->movePrevious(); },
            [&] { rs->moveLast(); },
            [&] { rs->eof(); },
            [&] { rs->recordCount(); },
            [&] { rs->absolutePosition(); },
            [&] { rs->value(QStringLiteral("Name")); },
            [&] {
                rs->findFirst({{"Name", QStringLiteral("Zeta")}});
            },
            [&] { rs->setBookmark(mark); },
            [&] { rs->edit(); },
            [&] { rs->addNew(); },
            [&] { rs->deleteRow(); },
        };
        for (const auto &use : uses)
            QCOMPARE(errorOf(use), errnum::ObjectClosed);
    }

    // Rows read while a transaction was open must not be shown once it is
    // rolled back.
    void rolledBackChangesAreNotShown()
    {
        auto rs = items();
        rs->moveNext();
        {
            Transaction transaction(m_db);
            rs->edit();
            rs->setValue(QStringLiteral("Name"), QStringLiteral("Never saved"));
            rs->update();
            QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Never saved"));
        }
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Éditions Lumière"));
        m_db.beginTrans();
        m_db.execute(QStringLiteral("UPDATE Item SET Name = 'Gone' WHERE Code = 'C3'"));
        rs->moveNext();
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Gone"));
        m_db.rollback();
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("O'Malley Press"));
    }
};

QTEST_MAIN(TestEngine)
#include "tst_engine.moc"
