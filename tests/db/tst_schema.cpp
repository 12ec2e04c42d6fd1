#include "db/collectionfile.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/recordset.h"
#include "support/scriptedui.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

// The rules a collection file keeps by itself, tried through the engine.
class TestSchema : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_base;
    int m_copies = 0;

    // A fresh copy of a small collection: company ACM with titles "Bam" and
    // "Ast", a cover price for Bam and one issue of Bam in Mint.
    Database freshCollection()
    {
        const QString file = m_dir.filePath(QStringLiteral("copy%1.pkx").arg(++m_copies));
        if (!QFile::copy(m_base, file))
            throw EngineError(errnum::Generic, QStringLiteral("copy failed"));
        return db::OpenCollectionFile(file);
    }

    static QString state(Database &db)
    {
        QStringList rows;
        for (const char *table : {"Company", "Title", "Condition", "CoverPrice", "Issue"}) {
            auto rs =
                db.openRecordset(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)),
                                 RecordsetType::Snapshot);
            for (; !rs->eof(); rs->moveNext()) {
                QStringList cells;
                for (const QString &f : rs->fieldNames()) {
                    const QVariant v = rs->value(f);
                    cells << (v.isNull() ? QStringLiteral("<null>")
                              : v.metaType() == QMetaType::fromType<Currency>()
                                  ? QString::number(v.value<Currency>().scaled())
                                  : v.toString());
                }
                rows << QLatin1String(table) + QLatin1Char(':') + cells.join(QLatin1Char('|'));
            }
        }
        return rows.join(QLatin1Char('\n'));
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        ScriptedUi ui;
        m_base = m_dir.filePath(QStringLiteral("base.pkx"));
        db::CreateCollectionDatabase(m_base);
        Database db = db::OpenCollectionFile(m_base);
        db.execute(QStringLiteral("INSERT INTO Company VALUES ('ACM', 'Acme')"));
        db.execute(QStringLiteral("INSERT INTO Title VALUES ('Bam Comics', 'Bam', NULL, 'ACM')"));
        db.execute(QStringLiteral("INSERT INTO Title VALUES ('Astro', 'Ast', '1961', 'ACM')"));
        db.execute(QStringLiteral("INSERT INTO CoverPrice VALUES ('Bam', 12500)"));
        db.execute(QStringLiteral("INSERT INTO Issue VALUES ('Bam', 1, 1, 2, 12500, 990000, 'first')"));
        db.close();
    }

    void rules_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<int>("error"); // 0: accepted
        const QString company = QStringLiteral("INSERT INTO Company VALUES (?, ?)");
        const QString title = QStringLiteral("INSERT INTO Title VALUES (?, ?, ?, ?)");
        const QString cover = QStringLiteral("INSERT INTO CoverPrice VALUES (?, ?)");
        const QString issue = QStringLiteral("INSERT INTO Issue VALUES (?, ?, ?, ?, ?, ?, ?)");
        const QVariant null;
        const QVariant price = QVariant::fromValue(Currency::fromScaled(25000));

        // relationships
        QTest::newRow("title without its company")
            << title << QVariantList{"Zap", "Zap", null, "NOP"} << errnum::RelatedRecordRequired;
        QTest::newRow("issue without its title")
            << issue << QVariantList{"Nop", 1, 1, 1, null, null, null} << errnum::RelatedRecordRequired;
        QTest::newRow("cover price without its title")
            << cover << QVariantList{"Nop", price} << errnum::RelatedRecordRequired;
        QTest::newRow("condition 0") << issue << QVariantList{"Bam", 2, 0, 1, null, null, null}
                                     << errnum::RelatedRecordRequired;
        QTest::newRow("condition 9") << issue << QVariantList{"Bam", 2, 9, 1, null, null, null}
                                     << errnum::RelatedRecordRequired;
        QTest::newRow("conditions 1 and 8")
            << "INSERT INTO Issue (Title_ID, IssueNum, Condition, Quantity) VALUES "
               "('Bam', 2, 1, 1), ('Bam', 2, 8, 1)"
            << QVariantList{} << 0;
        QTest::newRow("key of a parent in other letter case")
            << title << QVariantList{"Zap", "Zap", null, "acm"} << 0;
        QTest::newRow("company with titles") << "DELETE FROM Company WHERE Company_ID = 'ACM'"
                                             << QVariantList{} << errnum::RelatedRecordExists;
        QTest::newRow("title with issues and price")
            << "DELETE FROM Title WHERE Title_ID = 'Bam'" << QVariantList{} << errnum::RelatedRecordExists;
        QTest::newRow("title with a cover price only")
            << "DELETE FROM Issue WHERE Title_ID = 'Bam'" << QVariantList{}
            << 0; // precondition for the next row
        QTest::newRow("title without dependants")
            << "DELETE FROM Title WHERE Title_ID = 'Ast'" << QVariantList{} << 0;
        QTest::newRow("re-key a company with titles")
            << "UPDATE Company SET Company_ID = 'ACX'" << QVariantList{} << errnum::RelatedRecordExists;
        QTest::newRow("re-key a title with issues")
            << "UPDATE Title SET Title_ID = 'Bax' WHERE Title_ID = 'Bam'" << QVariantList{}
            << errnum::RelatedRecordExists;
        QTest::newRow("delete a condition in use") << "DELETE FROM Condition WHERE Condition_ID = 1"
                                                   << QVariantList{} << errnum::RelatedRecordExists;

        // keys
        QTest::newRow("second cover price") << cover << QVariantList{"Bam", price} << errnum::DuplicateKey;
        QTest::newRow("second cover price, other case")
            << cover << QVariantList{"BAM", price} << errnum::DuplicateKey;
        QTest::newRow("same issue, other condition")
            << issue << QVariantList{"Bam", 1, 2, 1, null, null, null} << 0;
        QTest::newRow("same issue, same condition")
            << issue << QVariantList{"Bam", 1, 1, 1, null, null, null} << errnum::DuplicateKey;
        QTest::newRow("same issue, title in other case")
            << issue << QVariantList{"bAM", 1, 1, 1, null, null, null} << errnum::DuplicateKey;
        QTest::newRow("company id in other case")
            << company << QVariantList{"acm", "Another"} << errnum::DuplicateKey;
        QTest::newRow("title id in other case")
            << title << QVariantList{"Other", "BAM", null, "ACM"} << errnum::DuplicateKey;
        QTest::newRow("same company name twice") << company << QVariantList{"AC2", "Acme"} << 0;

        // required and empty
        QTest::newRow("empty company") << company << QVariantList{"NEW", ""} << errnum::ZeroLength;
        QTest::newRow("empty company id") << company << QVariantList{"", "New"} << errnum::ZeroLength;
        QTest::newRow("empty title") << title << QVariantList{"", "New", null, "ACM"} << errnum::ZeroLength;
        QTest::newRow("empty title id")
            << title << QVariantList{"New", "", null, "ACM"} << errnum::ZeroLength;
        QTest::newRow("empty condition name") << "UPDATE Condition SET Condition = '' WHERE Condition_ID = 4"
                                              << QVariantList{} << errnum::ZeroLength;
        QTest::newRow("null company") << company << QVariantList{"NEW", null} << errnum::FieldRequired;
        QTest::newRow("null title's company")
            << title << QVariantList{"New", "New", null, null} << errnum::FieldRequired;
        QTest::newRow("null quantity")
            << issue << QVariantList{"Bam", 3, 1, null, null, null, null} << errnum::FieldRequired;
        QTest::newRow("null cover price")
            << "UPDATE CoverPrice SET Cover_Price = NULL" << QVariantList{} << errnum::FieldRequired;
        QTest::newRow("empty begin year") << title << QVariantList{"New", "New", "", "ACM"} << 0;
        QTest::newRow("no prices, notes or begin year")
            << "INSERT INTO Issue (Title_ID, IssueNum, Condition, Quantity) VALUES ('Ast', 1, 3, 1);"
            << QVariantList{} << 0;
        QTest::newRow("empty notes") << issue << QVariantList{"Bam", 3, 1, 1, null, null, ""} << 0;

        // sizes
        QTest::newRow("26-character company")
            << company << QVariantList{"NEW", QString(26, QLatin1Char('x'))} << errnum::TooLong;
        QTest::newRow("25-character company")
            << company << QVariantList{"NEW", QString(25, QLatin1Char('x'))} << 0;
        QTest::newRow("25 accented characters")
            << company << QVariantList{"NEW", QString(25, QChar(0x00C9))} << 0;
        QTest::newRow("4-character company id") << company << QVariantList{"NEWS", "News"} << errnum::TooLong;
        QTest::newRow("36-character title")
            << title << QVariantList{QString(36, QLatin1Char('t')), "T", null, "ACM"} << errnum::TooLong;
        QTest::newRow("5-character begin year")
            << title << QVariantList{"New", "New", "19611", "ACM"} << errnum::TooLong;
        QTest::newRow("9-character condition") << "UPDATE Condition SET Condition = 'VeryVeryG' WHERE "
                                                  "Condition_ID = 4"
                                               << QVariantList{} << errnum::TooLong;
        QTest::newRow("long notes") << issue << QVariantList{"Bam", 3, 1, 1, null, null, QString(5000, 'n')}
                                    << 0;

        // 16-bit integers and currency
        QTest::newRow("issue 32767") << issue << QVariantList{"Bam", 32767, 1, 1, null, null, null} << 0;
        QTest::newRow("issue -32768") << issue << QVariantList{"Bam", -32768, 1, 1, null, null, null} << 0;
        QTest::newRow("issue 32768") << issue << QVariantList{"Bam", 32768, 1, 1, null, null, null}
                                     << errnum::ValidationRule;
        QTest::newRow("quantity -32769")
            << issue << QVariantList{"Bam", 5, 1, -32769, null, null, null} << errnum::ValidationRule;
        QTest::newRow("issue 1.5") << issue << QVariantList{"Bam", 1.5, 1, 1, null, null, null}
                                   << errnum::ValidationRule;
        QTest::newRow("issue as text")
            << issue << QVariantList{"Bam", "one", 1, 1, null, null, null} << errnum::ValidationRule;
        QTest::newRow("price with a fraction of the unit")
            << issue << QVariantList{"Bam", 5, 1, 1, 1.5, null, null} << errnum::ValidationRule;
        QTest::newRow("price as text")
            << issue << QVariantList{"Bam", 5, 1, 1, null, "$1.00", null} << errnum::ValidationRule;
        const QVariant largest =
            QVariant::fromValue(Currency::fromScaled(std::numeric_limits<qint64>::max()));
        QTest::newRow("largest currency") << issue << QVariantList{"Bam", 5, 1, 1, largest, null, null} << 0;
    }

    void rules()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, params);
        QFETCH(int, error);
        Database db = freshCollection();
        if (QByteArray(QTest::currentDataTag()) == "title with a cover price only") {
            // With the issues gone, the cover price alone still holds the title.
            db.execute(sql);
            sql = QStringLiteral("DELETE FROM Title WHERE Title_ID = 'Bam'");
            error = errnum::RelatedRecordExists;
        }
        const QString before = state(db);
        int got = 0;
        try {
            db.execute(sql, ExecuteOption::FailOnError, params);
        } catch (const EngineError &e) {
            got = e.number();
        }
        QCOMPARE(got, error);
        if (error)
            QCOMPARE(state(db), before);
        else
            QVERIFY(state(db) != before);
        db.close();
    }

    void keysAndOrderingIgnoreLetterCase()
    {
        Database db = freshCollection();
        db.execute(QStringLiteral("INSERT INTO Title VALUES ('bravo', 'Bra', NULL, 'acm')"));
        db.execute(QStringLiteral("INSERT INTO Title VALUES ('ALPHA', 'Alp', NULL, 'ACM')"));
        QStringList order;
        auto rs = db.openRecordset(QStringLiteral("SELECT Title FROM Title ORDER BY Title"),
                                   RecordsetType::Snapshot);
        for (; !rs->eof(); rs->moveNext())
            order << rs->value(QStringLiteral("Title")).toString();
        QCOMPARE(order, QStringList({"ALPHA", "Astro", "Bam Comics", "bravo"}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Issue WHERE Title_ID = ?"), {"BAM"}).toInt(),
                 1);
        db.close();
    }

    void valuesComeBackAsTheirTypes()
    {
        Database db = freshCollection();
        auto rs = db.openRecordset(QStringLiteral("SELECT * FROM Issue WHERE Title_ID = ?"),
                                   RecordsetType::Dynaset, {QStringLiteral("Bam")});
        QCOMPARE(rs->value(QStringLiteral("IssueNum")).metaType(), QMetaType::fromType<int>());
        QCOMPARE(rs->value(QStringLiteral("Quantity")).toInt(), 2);
        QCOMPARE(rs->value(QStringLiteral("Original_Price")).value<Currency>(), Currency::fromScaled(12500));
        QCOMPARE(rs->value(QStringLiteral("Current_Value")).value<Currency>(), Currency::fromUnits(99));
        QCOMPARE(rs->value(QStringLiteral("Notes")).toString(), QStringLiteral("first"));
        rs->edit();
        rs->setValue(QStringLiteral("Current_Value"), QStringLiteral("$1,250.50"));
        rs->setValue(QStringLiteral("Quantity"), QStringLiteral(" 3 "));
        rs->setValue(QStringLiteral("Notes"), QVariant());
        rs->update();
        QCOMPARE(rs->value(QStringLiteral("Current_Value")).value<Currency>(),
                 Currency::fromScaled(12505000));
        QCOMPARE(rs->value(QStringLiteral("Quantity")).toInt(), 3);
        QVERIFY(rs->isNull(QStringLiteral("Notes")));
        db.close();
    }
};

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
