#include "db/session.h"
#include "platform/csvfile.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/missingissues.h"
#include "platform/recordset.h"
#include "platform/reportdocument.h"
#include "platform/reportformula.h"
#include "platform/reportoutput.h"
#include "support/tempcollection.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <set>

using namespace platform;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

QString definition(int n)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Kepix00%1.rpt").arg(n);
}

std::unique_ptr<ReportDocument> report(const QString &file, int n, const QString &formula)
{
    auto doc =
        ReportDocument::open({file, definition(n), QStringLiteral("Panelkeep: Report 00%1").arg(n), formula});
    while (!doc->layOutSome(1000)) {
    }
    return doc;
}

int errorOf(const std::function<void()> &call, QString *text = nullptr)
{
    try {
        call();
    } catch (const EngineError &e) {
        if (text)
            *text = e.text();
        return e.number();
    }
    return 0;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    // One space between words, so a line reads the same however it was laid out.
    return QString::fromUtf8(p.readAllStandardOutput())
        .replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
}

// The runs of numbers a title lacks, found the plain way: every number from
// 1 (or the lowest held) to the highest held in turn, looked up in the set.
QString walkMissing(const std::set<int> &held, qint64 *missing)
{
    *missing = 0;
    if (held.empty())
        return {};
    QStringList runs;
    const qint64 last = *held.rbegin();
    qint64 runStart = 0;
    bool inRun = false;
    for (qint64 n = std::min(*held.begin(), 1); n <= last; ++n) {
        if (!held.count(int(n))) {
            ++*missing;
            if (!inRun)
                runStart = n;
            inRun = true;
        } else if (inRun) {
            runs << (runStart == n - 1 ? QString::number(runStart)
                                       : QStringLiteral("%1%2%3")
                                             .arg(runStart)
                                             .arg(runStart < 0 ? QStringLiteral(" to ") : QStringLiteral("-"))
                                             .arg(n - 1));
            inRun = false;
        }
    }
    return runs.join(QStringLiteral(", "));
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private:
    // A collection whose names hold quotes, apostrophes and accents, with empty
    // amounts and notes here and there; filled once for the whole test.
    std::unique_ptr<TempCollection> m_collection;
    QStringList m_companies, m_titles;
    QTemporaryDir m_dir;

    void fill()
    {
        m_collection = std::make_unique<TempCollection>();
        const QList<QStringList> companies{{"SCS", "Starlight Comics"},
                                           {"OMP", "O'Malley Press"},
                                           {"QTE", "The \"Quoted\" Co."},
                                           {"ZED", "Zed"},
                                           {"EDL", "Éditions Lumière"}};
        for (const QStringList &c : companies) {
            m_collection->addCompany(c[0], c[1]);
            m_companies << c[0];
        }
        QRandomGenerator rng(8);
        for (int t = 0; t < 10; ++t) {
            const QString id = QStringLiteral("T%1").arg(t);
            m_collection->addTitle(
                id, t == 4 ? QStringLiteral("O'Brien's \"Best\"") : QStringLiteral("Title %1").arg(t),
                t == 9 ? QStringLiteral("EDL") : m_companies[t % 3]); // company ZED has no titles
            m_titles << id;
            for (int n = 1; n <= 30; ++n) {
                if (rng.bounded(3) == 0)
                    continue;
                const int condition = int(rng.bounded(1, 9));
                const auto amount = [&]() {
                    return rng.bounded(5) == 0 ? QVariant() : QVariant(qint64(rng.bounded(0, 400)) * 2500);
                };
                db::dbCollection().execute(QStringLiteral("INSERT INTO Issue VALUES (?, ?, ?, ?, ?, ?, ?)"),
                                           ExecuteOption::FailOnError,
                                           {id, n, condition, int(rng.bounded(1, 5)), amount(), amount(),
                                            rng.bounded(4) == 0
                                                ? QVariant(QStringLiteral("Note %1/%2").arg(id).arg(n))
                                                : QVariant()});
            }
        }
        // A note longer than a page: every word of it must be printed.
        QStringList words;
        for (int w = 0; w < 700; ++w)
            words << QStringLiteral("w%1").arg(w, 4, 10, QLatin1Char('0'));
        db::dbCollection().execute(
            QStringLiteral("INSERT INTO Issue VALUES ('T1', 99, 2, 1, NULL, 150000, ?)"),
            ExecuteOption::FailOnError, {words.join(u' ')});
        db::dbCollection().execute(QStringLiteral(
            "INSERT INTO Issue VALUES ('T3', 98, 2, 1, NULL, NULL, 'Two lines:\nsecond line')"));
        m_longNote = words;
    }
    QStringList m_longNote;

    QString file() const { return m_collection->path(); }

    // The rows plain SQL selects for a restriction, in report order.
    static QList<ReportIssue> selected(const QString &where, const QVariantList &params)
    {
        auto rs = db::dbCollection().openRecordset(
            QStringLiteral(
                "SELECT Issue.Title_ID, Issue.IssueNum, Issue.Condition FROM Company, Title, Issue "
                "WHERE Company.Company_ID = Title.Company_ID AND Title.Title_ID = Issue.Title_ID AND ") +
                where +
                QStringLiteral(" ORDER BY Company.Company COLLATE PKNAME, Company.Company_ID, Title.Title "
                               "COLLATE PKNAME, "
                               "Title.Title_ID, "
                               "Issue.IssueNum, Issue.Condition"),
            RecordsetType::Snapshot, params);
        QList<ReportIssue> list;
        for (; !rs->eof(); rs->moveNext())
            list.push_back({rs->value(QStringLiteral("Title_ID")).toString(),
                            rs->value(QStringLiteral("IssueNum")).toInt(),
                            rs->value(QStringLiteral("Condition")).toInt()});
        return list;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        fill();
    }

    void cleanupTestCase() { m_collection.reset(); }

    void refusals_data()
    {
        QTest::addColumn<QString>("definitionText"); // empty: the shipped report 001
        QTest::addColumn<QString>("data");           // "ok", "missing" or "text"
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("error");
        const QString head = QStringLiteral("format 1\nlayout issues\n");
        const QString column = QStringLiteral("column \"Issue\" {Issue.IssueNum} 1\n");
        QTest::newRow("definition missing") << "<missing>"
                                            << "ok"
                                            << "" << int(errnum::FileNotFound) << "could not be read";
        QTest::newRow("definition empty") << "\n"
                                          << "ok"
                                          << "" << int(errnum::Generic) << "not a report definition";
        QTest::newRow("unknown layout") << "format 1\nlayout pie\n"
                                        << "ok"
                                        << "" << int(errnum::Generic) << "on line 2";
        QTest::newRow("unknown setting")
            << head + column + "colour red\n"
            << "ok"
            << "" << int(errnum::Generic) << "line 4: \"colour\" is not a setting";
        QTest::newRow("quote not closed")
            << head + "column \"Issue {Issue.IssueNum} 1\n"
            << "ok"
            << "" << int(errnum::Generic) << "line 3: a double quote is not closed";
        QTest::newRow("unknown column field") << head + "column \"X\" {Issue.Price} 1\n"
                                              << "ok"
                                              << "" << int(errnum::Generic) << "no field {Issue.Price}";
        QTest::newRow("columns wider than the page")
            << head + column + column.repeated(4).replace(" 1\n", " 2\n") << "ok"
            << "" << int(errnum::Generic) << "wider than its page";
        QTest::newRow("wrong own selection") << head + column + "selection {Issue.Quantity} >"
                                             << "ok"
                                             << "" << int(errnum::Generic) << "selection formula is wrong";
        QTest::newRow("collection missing") << ""
                                            << "missing"
                                            << "" << int(errnum::FileNotFound) << "was not found";
        QTest::newRow("not a collection")
            << ""
            << "text"
            << "" << int(errnum::NotACollection) << "not a Panelkeep collection";
        QTest::newRow("bad formula") << ""
                                     << "ok"
                                     << "{Issue.Quantity} 2;" << int(errnum::Generic) << "character 18";
    }
    void refusals()
    {
        QFETCH(QString, definitionText);
        QFETCH(QString, data);
        QFETCH(QString, formula);
        QFETCH(int, number);
        QFETCH(QString, error);
        QString rpt = definition(1);
        if (definitionText == QLatin1String("<missing>")) {
            rpt = m_dir.filePath(QStringLiteral("none.rpt"));
        } else if (!definitionText.isEmpty()) {
            rpt = m_dir.filePath(QStringLiteral("bad.rpt"));
            QFile f(rpt);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(definitionText.toUtf8());
        }
        QString collection = file();
        if (data != QLatin1String("ok")) {
            collection = m_dir.filePath(QStringLiteral("other.pkx"));
            QFile::remove(collection);
            if (data == QLatin1String("text")) {
                QFile f(collection);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("not a database\n");
            }
        }
        QString text;
        QCOMPARE(errorOf(
                     [&] {
                         ReportDocument::open({collection, rpt, QStringLiteral("T"), formula});
                     },
                     &text),
                 number);
        QVERIFY2(text.contains(error), qPrintable(text));
    }

    // A cancelled or failed PDF leaves what was at the path before.
    void pdfCancelAndFailure()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("kept.pdf"));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier");
        f.close();
        auto doc = report(file(), 2, QString());
        int calls = 0;
        QCOMPARE(errorOf([&] {
                     writeReportPdf(*doc, pdf, [&](int done, int) {
                         ++calls;
                         return done < 2;
                     });
                 }),
                 int(errnum::ReportCancelled));
        QCOMPARE(calls, 2);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("earlier"));
        const int failed =
            errorOf([&] { writeReportPdf(*doc, m_dir.filePath(QStringLiteral("no/such/dir/x.pdf"))); });
        QVERIFY(failed != 0 && failed != errnum::ReportCancelled);
    }

    void pdfHoldsTheReport_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("words");
        QTest::newRow("001 one company") << 1 << "{Company.Company_ID} = \"OMP\";"
                                         << "Selection: Company is O'Malley Press";
        QTest::newRow("002 all, with notes") << 2 << ""
                                             << "Selection: All issues";
        QTest::newRow("003 two conditions")
            << 3 << "({Issue.Condition} = 1 OR {Issue.Condition} = 2) and {Issue.Current_Value}  > 1.50;"
            << "Selection: (Condition is Mint or Condition is NearMint) and Current value is more than $1.50";
        QTest::newRow("nothing selected") << 1 << "{Company.Company_ID} = \"ZED\";"
                                          << "No issues match the selection.";
        QTest::newRow("004 missing issues, all titles") << 4 << ""
                                                        << "Selection: All titles";
        QTest::newRow("004 nothing selected") << 4 << "{Company.Company_ID} = \"ZED\";"
                                              << "No titles match the selection.";
    }
    void pdfHoldsTheReport()
    {
        QFETCH(int, n);
        QFETCH(QString, formula);
        QFETCH(QString, words);
        const auto doc = report(file(), n, formula);
        const QString pdf = m_dir.filePath(QStringLiteral("r.pdf"));
        writeReportPdf(*doc, pdf);
        const QString text = pdfText(pdf);
        QStringList lines = text.split(QLatin1Char('\n'));
        for (QString &l : lines)
            l = l.trimmed();
        QVERIFY(text.contains(QStringLiteral("Panelkeep: Report 00%1").arg(n)));
        QVERIFY(text.contains(QStringLiteral("Collection: test.pkx")));
        QVERIFY2(text.contains(words), qPrintable(text.left(400)));
        for (int p = 1; p <= doc->pageCount(); ++p)
            QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(p).arg(doc->pageCount())));

        const auto amount = [](const QVariant &v) {
            return v.isNull() ? QString() : formatCurrency(Currency::fromScaled(v.toLongLong()));
        };
        if (n == 4) {
            // Each title listed with its counts and its runs, against a walk
            // over the numbers plain SQL finds held.
            QStringList listed, expected;
            qint64 held = 0, missing = 0;
            for (const ReportTotals &t : doc->titleTotals()) {
                listed << t.id;
                auto rs = db::dbCollection().openRecordset(
                    QStringLiteral(
                        "SELECT Title.Title AS name, Issue.IssueNum AS n FROM Title LEFT JOIN Issue "
                        "ON Issue.Title_ID = Title.Title_ID WHERE Title.Title_ID = ?"),
                    RecordsetType::Snapshot, {t.id});
                const QString name = rs->value("name").toString();
                std::set<int> numbers;
                for (; !rs->eof(); rs->moveNext())
                    if (!rs->isNull("n"))
                        numbers.insert(rs->value("n").toInt());
                qint64 lacking = 0;
                const QString runs = walkMissing(numbers, &lacking);
                QCOMPARE(t.held, qint64(numbers.size()));
                QCOMPARE(t.missing, lacking);
                const QString line = QStringLiteral("%1 %2 %3").arg(name).arg(numbers.size()).arg(lacking);
                const qsizetype at = lines.indexOf(line);
                QVERIFY2(at >= 0, qPrintable(line));
                QCOMPARE(lines.value(at + 1), numbers.empty()  ? QStringLiteral("None held")
                                              : runs.isEmpty() ? QStringLiteral("None missing")
                                                               : runs);
                held += t.held;
                missing += t.missing;
            }
            for (auto rs = db::dbCollection().openRecordset(
                     formula.isEmpty()
                         ? QStringLiteral("SELECT Title_ID FROM Title")
                         : QStringLiteral("SELECT Title_ID FROM Title WHERE Company_ID = 'ZED'"));
                 !rs->eof(); rs->moveNext())
                expected << rs->value("Title_ID").toString();
            listed.sort();
            expected.sort();
            QCOMPARE(listed, expected);
            if (!expected.isEmpty())
                QVERIFY(lines.contains(QStringLiteral("Grand total %1 %2").arg(held).arg(missing)));
            return;
        }
        if (n == 3) {
            const ReportTotals g = doc->grandTotal();
            const QString grand = QStringLiteral("Grand total %1 %2 %3 %4 %5")
                                      .arg(g.issues)
                                      .arg(g.copies)
                                      .arg(amount(qlonglong(g.paid)), amount(qlonglong(g.value)),
                                           amount(qlonglong(g.value - g.paid)));
            QVERIFY2(lines.contains(grand), qPrintable(grand));
            return;
        }
        const QList<ReportIssue> issues = doc->issues();
        for (const ReportIssue &i : issues) {
            auto rs = db::dbCollection().openRecordset(
                QStringLiteral(
                    "SELECT Condition.Condition AS name, Quantity, CAST(Original_Price AS INTEGER) AS o, "
                    "CAST(Current_Value AS INTEGER) AS c, Notes FROM Issue, Condition WHERE Condition_ID "
                    "= Issue.Condition AND Title_ID = ? AND IssueNum = ? AND Issue.Condition = ?"),
                RecordsetType::Snapshot, {i.titleId, i.issueNum, i.condition});
            QStringList line{QString::number(i.issueNum), rs->value("name").toString(),
                             rs->value("Quantity").toString()};
            for (const char *a : {"o", "c"}) {
                if (!rs->isNull(a))
                    line << amount(rs->value(a));
            }
            QVERIFY2(lines.contains(line.join(u' ')), qPrintable(line.join(u' ')));
            if (n == 2 && !rs->isNull("Notes") && rs->value("Notes").toString().size() < 40) {
                for (const QString &part : rs->value("Notes").toString().split(u'\n'))
                    QVERIFY2(lines.contains(part), qPrintable(part));
            }
        }
        if (n == 2) {
            QVERIFY(doc->pageCount() > 1);
            for (const QString &w : m_longNote)
                QVERIFY2(text.contains(w), qPrintable(w));
        }
    }

    void formulas_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QVariantList>("values"); // bound in order; empty with an error
        QTest::addColumn<QString>("error");       // a piece of the refusal; empty when accepted
        const QVariantList none;
        QTest::newRow("selection screen example")
            << "({Issue.Condition} = 1 OR {Issue.Condition} = 4) and {Issue.Current_Value}  < 10.00 and "
               "{Issue.Quantity}  > 1;"
            << QVariantList{1, 4, 100000, 1} << "";
        QTest::newRow("company and title") << "{Company.Company_ID} = \"SCS\" and {Title.Title_ID} = \"T0\";"
                                           << QVariantList{"SCS", "T0"} << "";
        QTest::newRow("apostrophe in a text")
            << "{Company.Company} = \"O'Malley Press\";" << QVariantList{"O'Malley Press"} << "";
        QTest::newRow("doubled quote in a text")
            << "{Title.Title} = \"O'Brien's \"\"Best\"\"\";" << QVariantList{"O'Brien's \"Best\""} << "";
        QTest::newRow("quote cannot end the text early")
            << "{Title.Title_ID} = \"x\"\" OR 1=1 --\";" << QVariantList{"x\" OR 1=1 --"} << "";
        QTest::newRow("or and AND in any case") << "{Issue.Quantity} = 1 or {Issue.Quantity} = 2 AND "
                                                   "{Issue.Condition} = 3 Or {Issue.Condition} = 8;"
                                                << QVariantList{1, 2, 3, 8} << "";
        QTest::newRow("nested brackets")
            << "((({Issue.Quantity} > 1) and ({Issue.IssueNum} < 5)));" << QVariantList{1, 5} << "";
        QTest::newRow("no closing semicolon") << "{Issue.Quantity}  = 2" << QVariantList{2} << "";
        QTest::newRow("four decimals of an amount")
            << "{Issue.Original_Price} > 0.0001" << QVariantList{1} << "";
        QTest::newRow("field against field")
            << "{Issue.Current_Value} > {Issue.Original_Price};" << none << "";
        QTest::newRow("constant first, any case of names")
            << "3 < {issue.quantity};" << QVariantList{3} << "";

        QTest::newRow("unknown field") << "{Issue.Price} > 1;" << none << "character 1 (\"{Issue.Price}";
        QTest::newRow("unknown table") << "{Comic.Quantity} > 1;" << none << "no field {Comic.Quantity}";
        QTest::newRow("bracket not closed")
            << "({Issue.Quantity} > 1;" << none << "\"(\" at character 1 is not closed";
        QTest::newRow("bracket closes nothing") << "{Issue.Quantity} > 1);" << none << "character 21";
        QTest::newRow("operator missing") << "{Issue.Quantity} 1;" << none << "character 18";
        QTest::newRow("not-equal is not an operator") << "{Issue.Quantity} <> 1;" << none << "character 19";
        QTest::newRow("condition missing after and") << "{Issue.Quantity} > 1 and;" << none << "character 25";
        QTest::newRow("text closes nowhere")
            << "{Company.Company_ID} = \"SCS;" << none << "no closing double quote";
        QTest::newRow("apostrophes do not quote")
            << "{Company.Company_ID} = 'SCS';" << none << "character 24";
        QTest::newRow("number against a text field")
            << "{Company.Company_ID} = 5;" << none << "compared with a text";
        QTest::newRow("text against a number field")
            << "{Issue.Quantity} > \"1\";" << none << "compared with a number";
        QTest::newRow("amount against a count")
            << "{Issue.Current_Value} > {Issue.Quantity};" << none << "cannot be compared";
        QTest::newRow("two constants") << "1 = 1;" << none << "needs a field";
        QTest::newRow("comma decimal mark") << "{Issue.Current_Value} < 10,00;" << none << "character 27";
        QTest::newRow("five decimals of an amount")
            << "{Issue.Current_Value} < 0.00001;" << none << "four decimal";
        QTest::newRow("text after the semicolon") << "{Issue.Quantity} > 1; drop" << none << "character 23";
        QTest::newRow("semicolon alone") << ";" << none << "character 1";
    }
    void formulas()
    {
        QFETCH(QString, formula);
        QFETCH(QVariantList, values);
        QFETCH(QString, error);
        QString text;
        CompiledFormula compiled;
        const int number = errorOf([&] { compiled = compileFormula(formula); }, &text);
        if (error.isEmpty()) {
            QCOMPARE(text, QString());
            QCOMPARE(compiled.values, values);
            QCOMPARE(compiled.sql.count(QLatin1Char('?')), values.size());
        } else {
            QVERIFY(number != 0 && number != errnum::ReportCancelled);
            QVERIFY2(text.contains(error), qPrintable(text));
        }
    }

    // The selections the selection screen makes, as formulas, against the
    // same restrictions written in plain SQL.
    void reportSelectsWhatTheSelectionSays()
    {
        QRandomGenerator rng(2026);
        const char *ops[] = {" = ", " > ", " < "};
        for (int run = 0; run < 300; ++run) {
            QStringList formula, sql;
            QVariantList params;
            if (rng.bounded(2)) {
                const QString company = m_companies[rng.bounded(m_companies.size())];
                formula << QStringLiteral("{Company.Company_ID} = \"%1\"").arg(company);
                sql << QStringLiteral("Company.Company_ID = ?");
                params << company;
                if (rng.bounded(2)) {
                    const QString title = m_titles[rng.bounded(m_titles.size())];
                    formula.last() += QStringLiteral(" and {Title.Title_ID} = \"%1\"").arg(title);
                    sql << QStringLiteral("Title.Title_ID = ?");
                    params << title;
                }
            }
            QStringList conditions, sqlConditions;
            for (int k = 1; k <= 8; ++k) {
                if (rng.bounded(4) == 0) {
                    conditions << QStringLiteral("{Issue.Condition} = %1").arg(k);
                    sqlConditions << QStringLiteral("Issue.Condition = %1").arg(k);
                }
            }
            if (!conditions.isEmpty()) {
                formula << QLatin1Char('(') + conditions.join(QStringLiteral(" OR ")) + QLatin1Char(')');
                sql << QLatin1Char('(') + sqlConditions.join(QStringLiteral(" OR ")) + QLatin1Char(')');
            }
            if (rng.bounded(2)) {
                const int op = int(rng.bounded(3));
                const qint64 cents = qint64(rng.bounded(0, 1000)) * 25;
                formula << QStringLiteral("{Issue.Current_Value} %1%2.%3")
                               .arg(QLatin1String(ops[op]))
                               .arg(cents / 100)
                               .arg(cents % 100, 2, 10, QLatin1Char('0'));
                sql << QStringLiteral("Issue.Current_Value%1?").arg(QLatin1String(ops[op]));
                params << cents * 100;
            }
            if (rng.bounded(2)) {
                const int op = int(rng.bounded(3));
                const int quantity = int(rng.bounded(0, 6));
                formula << QStringLiteral("{Issue.Quantity} %1%2").arg(QLatin1String(ops[op])).arg(quantity);
                sql << QStringLiteral("Issue.Quantity%1?").arg(QLatin1String(ops[op]));
                params << quantity;
            }
            const QString text = formula.isEmpty() ? QString() : formula.join(QStringLiteral(" and ")) + u';';
            const QList<ReportIssue> expected =
                selected(sql.isEmpty() ? QStringLiteral("1") : sql.join(" AND "), params);
            QCOMPARE(report(file(), 1, text)->issues(), expected);

            if (run % 10)
                continue;
            // Report 003's sums against SQL's over the same rows.
            const auto doc = report(file(), 3, text);
            auto rs = db::dbCollection().openRecordset(
                QStringLiteral(
                    "SELECT Issue.Title_ID AS id, COUNT(*) AS n, SUM(Quantity) AS copies, "
                    "SUM(Quantity * IFNULL(Original_Price, 0)) AS paid, "
                    "SUM(Quantity * IFNULL(Current_Value, 0)) AS value FROM Company, Title, Issue "
                    "WHERE Company.Company_ID = Title.Company_ID AND Title.Title_ID = Issue.Title_ID AND ") +
                    (sql.isEmpty() ? QStringLiteral("1") : sql.join(" AND ")) +
                    QStringLiteral(" GROUP BY Issue.Title_ID ORDER BY MIN(Company.Company) COLLATE PKNAME, "
                                   "MIN(Title.Title) COLLATE PKNAME"),
                RecordsetType::Snapshot, params);
            QList<ReportTotals> sums;
            ReportTotals grand;
            for (; !rs->eof(); rs->moveNext()) {
                sums.push_back({rs->value("id").toString(), rs->value("n").toInt(),
                                rs->value("copies").toLongLong(), rs->value("paid").toLongLong(),
                                rs->value("value").toLongLong()});
                grand.issues += sums.last().issues;
                grand.copies += sums.last().copies;
                grand.paid += sums.last().paid;
                grand.value += sums.last().value;
            }
            const QList<ReportTotals> titles = doc->titleTotals();
            QCOMPARE(titles.size(), sums.size());
            for (qsizetype i = 0; i < titles.size(); ++i) {
                QCOMPARE(titles[i].id, sums[i].id);
                QCOMPARE(titles[i].issues, sums[i].issues);
                QCOMPARE(titles[i].copies, sums[i].copies);
                QCOMPARE(titles[i].paid, sums[i].paid);
                QCOMPARE(titles[i].value, sums[i].value);
            }
            QCOMPARE(doc->grandTotal().paid, grand.paid);
            QCOMPARE(doc->grandTotal().value, grand.value);
            QCOMPARE(doc->grandTotal().copies, grand.copies);
        }
    }

    void missingRanges_data()
    {
        QTest::addColumn<std::vector<int>>("held"); // a number once per condition held
        QTest::addColumn<QString>("runs");
        QTest::addColumn<qint64>("heldCount");
        QTest::addColumn<qint64>("missing");
        using V = std::vector<int>;
        QTest::newRow("no gaps") << V{1, 2, 3, 4, 5} << "" << qint64(5) << qint64(0);
        QTest::newRow("one gap") << V{1, 2, 3, 8, 9} << "4-7" << qint64(5) << qint64(4);
        QTest::newRow("runs and a single number")
            << V{1, 2, 3, 8, 9, 10, 11, 13, 14, 21} << "4-7, 12, 15-20" << qint64(10) << qint64(11);
        QTest::newRow("gaps at both ends") << V{3, 4, 5, 9} << "1-2, 6-8" << qint64(4) << qint64(5);
        QTest::newRow("a title with one issue") << V{7} << "1-6" << qint64(1) << qint64(6);
        QTest::newRow("one issue, number 1") << V{1} << "" << qint64(1) << qint64(0);
        QTest::newRow("negative and zero numbers")
            << V{-5, -2, 0, 3} << "-4 to -3, -1, 1-2" << qint64(4) << qint64(5);
        QTest::newRow("a run across zero") << V{-3, 2} << "-2 to 1" << qint64(2) << qint64(4);
        QTest::newRow("zero alone") << V{0} << "" << qint64(1) << qint64(0);
        QTest::newRow("held in several conditions, counted once")
            << V{2, 2, 2, 5, 5} << "1, 3-4" << qint64(2) << qint64(3);
        QTest::newRow("in any order") << V{9, 1, 5} << "2-4, 6-8" << qint64(3) << qint64(6);
        QTest::newRow("no issues") << V{} << "" << qint64(0) << qint64(0);
        QTest::newRow("the whole 16-bit span")
            << V{32767, -32768} << "-32767 to 32766" << qint64(2) << qint64(65534);
    }
    void missingRanges()
    {
        QFETCH(std::vector<int>, held);
        QFETCH(QString, runs);
        QFETCH(qint64, heldCount);
        QFETCH(qint64, missing);
        const MissingIssues m = missingIssues(held);
        QCOMPARE(m.text(), runs);
        QCOMPARE(m.held, heldCount);
        QCOMPARE(m.missing, missing);
    }

    // Random titles: the runs, held and missing against a walk over a set.
    void missingRangesAgainstAWalk()
    {
        QRandomGenerator rng(404);
        for (int run = 0; run < 3000; ++run) {
            // Mostly numbers near 1, now and then anywhere in 16 bits.
            const bool wide = rng.bounded(10) == 0;
            const int low = wide ? -32768 : -10, high = wide ? 32768 : 60;
            std::vector<int> numbers;
            const int count = int(rng.bounded(0, 30));
            for (int i = 0; i < count; ++i) {
                numbers.push_back(int(rng.bounded(low, high)));
                if (rng.bounded(4) == 0) // held in another condition too
                    numbers.push_back(numbers.back());
            }
            const std::set<int> held(numbers.begin(), numbers.end());
            qint64 missing = 0;
            const QString runs = walkMissing(held, &missing);
            const MissingIssues m = missingIssues(numbers);
            QCOMPARE(m.text(), runs);
            QCOMPARE(m.held, qint64(held.size()));
            QCOMPARE(m.missing, missing);
        }
    }

    // A want list longer than a page is printed whole, no run of numbers cut
    // between lines or pages; a title without issues is listed as none held.
    void missingIssuesPrintedWhole()
    {
        m_collection->addCompany(QStringLiteral("LNG"), QStringLiteral("Long Runs"));
        m_collection->addTitle(QStringLiteral("LR"), QStringLiteral("Long Run"), QStringLiteral("LNG"));
        m_collection->addTitle(QStringLiteral("NY"), QStringLiteral("Nothing Yet"), QStringLiteral("LNG"));
        std::set<int> held;
        {
            Transaction t(db::dbCollection());
            for (int n = -3000; n < 3000; n += 3) {
                held.insert(n);
                for (int condition : {1, 5}) {
                    if (condition == 5 && n % 2)
                        continue;
                    db::dbCollection().execute(
                        QStringLiteral("INSERT INTO Issue VALUES ('LR', ?, ?, 1, NULL, NULL, NULL)"),
                        ExecuteOption::FailOnError, {n, condition});
                }
            }
            t.commit();
        }
        qint64 missing = 0;
        const QString runs = walkMissing(held, &missing);

        const auto doc = report(file(), 4, QStringLiteral("{Company.Company_ID} = \"LNG\";"));
        QVERIFY(doc->pageCount() > 2);
        const QString pdf = m_dir.filePath(QStringLiteral("missing.pdf"));
        writeReportPdf(*doc, pdf);
        QStringList lines = pdfText(pdf).split(QLatin1Char('\n'));
        QStringList printed;
        const QRegularExpression numbersOnly(QStringLiteral("^-?\\d[-\\d ,to]*$"));
        for (QString &l : lines) {
            l = l.trimmed();
            if (numbersOnly.match(l).hasMatch())
                printed << l;
        }
        QCOMPARE(printed.join(QLatin1Char(' ')), runs);
        QVERIFY(printed.size() > 100);
        for (const QString &line : {QStringLiteral("Long Run %1 %2").arg(held.size()).arg(missing),
                                    QStringLiteral("Nothing Yet 0 0"), QStringLiteral("None held"),
                                    QStringLiteral("Total Long Runs %1 %2").arg(held.size()).arg(missing),
                                    QStringLiteral("Long Runs \u2014 Long Run (continued)")})
            QVERIFY2(lines.contains(line), qPrintable(line));
        for (int p = 1; p <= doc->pageCount(); ++p)
            QVERIFY(lines.contains(QStringLiteral("Page %1 of %2").arg(p).arg(doc->pageCount())));

        // The want list for a spreadsheet: a row per title, its runs whole.
        const QString csv = m_dir.filePath(QStringLiteral("missing.csv"));
        QCOMPARE(doc->writeCsv(csv), 2);
        // Its rows are titles, and the status line says so.
        QCOMPARE(exportedText(2, csv, doc->csvRowName()),
                 QStringLiteral("Exported 2 titles to ") + QDir::toNativeSeparators(csv));
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(QString::fromUtf8(bytes.mid(3)),
                 QStringLiteral("\"Company\",\"Title\",\"Held\",\"Missing\",\"Missing Issues\"\r\n"
                                "\"Long Runs\",\"Long Run\",%1,%2,\"%3\"\r\n"
                                "\"Long Runs\",\"Nothing Yet\",0,0,\"None held\"\r\n")
                     .arg(held.size())
                     .arg(missing)
                     .arg(runs));
    }

    // Runs last: it adds an amount whose double overflows 64 bits.
    void totalBeyondTheLargestAmount()
    {
        db::dbCollection().execute(
            QStringLiteral("INSERT INTO Issue VALUES ('T2', 500, 1, 2, NULL, 9000000000000000000, NULL)"));
        QCOMPARE(errorOf([&] { report(file(), 3, QString()); }), int(errnum::Overflow));
        QCOMPARE(report(file(), 1, QStringLiteral("{Issue.IssueNum} = 500;"))->issues().size(), 1);
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
