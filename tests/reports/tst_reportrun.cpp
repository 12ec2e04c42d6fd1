#include "browsefixture.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/messagebox.h"
#include "platform/reportdocument.h"
#include "platform/reportpreview.h"
#include "reports/frmbrowsecomics.h"
#include "reports/frmselectcriteria.h"
#include "reports/selection.h"
#include "support/combochoice.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace platform;
using namespace browsefixture;
using reports::Comparison;
using reports::Selection;
using End = ScriptedUi::ReportEnd;

Q_DECLARE_METATYPE(reports::Selection)

namespace {
Selection selection(const QString &company, const QString &title, std::set<int> conditions = {},
                    std::optional<reports::QuantityRestriction> quantity = {},
                    std::optional<reports::ValueRestriction> value = {})
{
    return Selection{company, title, std::move(conditions), quantity, value};
}

reports::ValueRestriction amount(Comparison op, qint64 scaled)
{
    return {op, Currency::fromScaled(scaled)};
}

// Bound values as text, amounts in ten-thousandths.
QString valuesText(const QVariantList &values)
{
    QStringList out;
    for (const QVariant &v : values)
        out << (v.metaType() == QMetaType::fromType<Currency>()
                    ? QString::number(v.value<Currency>().scaled()) + "c"
                    : v.toString());
    return out.join(',');
}

// One company, one title and enough issues for several pages.
void smallCollection(TempCollection &c, int issues = 150)
{
    c.addCompany("ACM", "Acme");
    c.addTitle("IK", "Iron Kite", "ACM");
    platform::Transaction t(db::dbCollection());
    for (int n = 1; n <= issues; ++n)
        addIssue("IK", n, 1 + n % 8, 1 + n % 3, n * 10);
    t.commit();
}

// The report screen of use 1 over the collection, shown.
std::unique_ptr<frmSelectCriteria> reportScreen(const TempCollection &c, int use = 1)
{
    auto f = std::make_unique<frmSelectCriteria>();
    f->appDir = QCoreApplication::applicationDirPath();
    f->currentPath = c.path();
    if (!f->frmSelectCriteria_SetUpForm(use))
        return nullptr;
    f->show();
    if (!QTest::qWaitForWindowActive(f.get()))
        return nullptr;
    return f;
}

bool isPdf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-" && f.size() > 1000;
}

// A reader of comma-separated values written for the test from RFC 4180
// alone: a UTF-8 byte-order mark, then records each ending in CRLF; a field
// in double quotes may hold commas, CR, LF and doubled quotes; a field
// without quotes holds none of them. Anything else clears ok.
QList<QStringList> readCsv(const QByteArray &file, bool &ok)
{
    ok = file.startsWith("\xEF\xBB\xBF");
    const QByteArray bytes = file.mid(3);
    const qsizetype n = bytes.size();
    QList<QStringList> records;
    QStringList record;
    qsizetype i = 0;
    while (ok && i < n) {
        QByteArray field;
        if (bytes[i] == '"') {
            for (++i;; ++i) {
                if (i >= n) {
                    ok = false;
                    break;
                }
                if (bytes[i] == '"') {
                    if (i + 1 < n && bytes[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
                field += bytes[i];
            }
            ++i;
        } else {
            for (; i < n && bytes[i] != ',' && bytes[i] != '\r'; ++i) {
                if (bytes[i] == '"' || bytes[i] == '\n')
                    ok = false;
                field += bytes[i];
            }
        }
        record << QString::fromUtf8(field);
        if (i < n && bytes[i] == ',') {
            ++i;
        } else if (i + 1 < n && bytes[i] == '\r' && bytes[i + 1] == '\n') {
            records << record;
            record.clear();
            i += 2;
        } else {
            ok = false;
        }
    }
    if (!record.isEmpty())
        ok = false;
    return records;
}

// A plain decimal amount ("-12.3456", "2.50") as its count of
// ten-thousandths; "?" for anything else (grouping, symbols, a comma).
QString scaledText(const QString &amount)
{
    static const QRegularExpression plain(QStringLiteral("^(-?)([0-9]+)\\.([0-9]{2,4})$"));
    const QRegularExpressionMatch m = plain.match(amount);
    if (!m.hasMatch())
        return QStringLiteral("?");
    const quint64 magnitude =
        m.captured(2).toULongLong() * 10000 + m.captured(3).leftJustified(4, QLatin1Char('0')).toULongLong();
    return m.captured(1) + QString::number(magnitude);
}

const QString AnotherReportOpen = describeBox(
    "If you have another report request already open please close that report and try your request "
    "again.  If not, please contact vendor for help with problem.",
    "Title", MsgButtons::OK, MsgIcon::Exclamation);
} // namespace

class tst_ReportRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void renderers_data();
    void renderers();
    void buildReport();
    void previewWindow();
    void printer();
    void reportMatchesBrowse();
    void csvExportRoundTrip_data();
    void csvExportRoundTrip();
};

void tst_ReportRun::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

// One selection, its report formula character for character, and the
// browse's condition with its bound values.
void tst_ReportRun::renderers_data()
{
    QTest::addColumn<Selection>("sel");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("values");
    const auto Gt = Comparison::Greater;
    const auto Lt = Comparison::Less;
    const auto Eq = Comparison::Equal;

    QTest::newRow("no restriction") << selection("*", "*") << ""
                                    << ""
                                    << "";
    QTest::newRow("only a company") << selection("ACM", "*") << "{Company.Company_ID} = \"ACM\";"
                                    << ""
                                    << "";
    QTest::newRow("company and title")
        << selection("ACM", "IK") << "{Company.Company_ID} = \"ACM\" and {Title.Title_ID} = \"IK\";"
        << ""
        << "";
    QTest::newRow("a title alone still restricts") << selection("*", "IK") << "{Title.Title_ID} = \"IK\";"
                                                   << ""
                                                   << "";
    QTest::newRow("quotes in keys doubled")
        << selection("B'\"", "\"") << "{Company.Company_ID} = \"B'\"\"\" and {Title.Title_ID} = \"\"\"\";"
        << ""
        << "";
    QTest::newRow("only quantity equal 2") << selection("*", "*", {}, {{Eq, 2}}) << "{Issue.Quantity}  = 2;"
                                           << "Issue.Quantity  = ?"
                                           << "2";
    QTest::newRow("one condition, no brackets") << selection("*", "*", {8}) << "{Issue.Condition} = 8;"
                                                << "Issue.Condition = ?"
                                                << "8";
    QTest::newRow("the worked example")
        << selection("*", "*", {4, 1}, {{Gt, 1}}, amount(Lt, 100000))
        << "({Issue.Condition} = 1 OR {Issue.Condition} = 4) and {Issue.Current_Value}  < 10.00 and "
           "{Issue.Quantity}  > 1;"
        << "(Issue.Condition = ? OR Issue.Condition = ?) and Issue.Quantity  > ? and Issue.Current_Value  < ?"
        << "1,4,1,100000c";
    QTest::newRow("everything, in order")
        << selection("BLM", "MT", {2, 3, 5}, {{Lt, 32767}}, amount(Gt, 50000))
        << "{Company.Company_ID} = \"BLM\" and {Title.Title_ID} = \"MT\" and ({Issue.Condition} = 2 OR "
           "{Issue.Condition} = 3 OR {Issue.Condition} = 5) and {Issue.Current_Value}  > 5.00 and "
           "{Issue.Quantity}  < 32767;"
        << "(Issue.Condition = ? OR Issue.Condition = ? OR Issue.Condition = ?) and Issue.Quantity  < ? and "
           "Issue.Current_Value  > ?"
        << "2,3,5,32767,50000c";
    QTest::newRow("value alone, cents kept")
        << selection("*", "*", {}, {}, amount(Gt, 12345678)) << "{Issue.Current_Value}  > 1234.5678;"
        << "Issue.Current_Value  > ?"
        << "12345678c";
    QTest::newRow("value below one") << selection("*", "*", {}, {}, amount(Lt, 500))
                                     << "{Issue.Current_Value}  < 0.05;"
                                     << "Issue.Current_Value  < ?"
                                     << "500c";
}

void tst_ReportRun::renderers()
{
    QFETCH(Selection, sel);
    QFETCH(QString, formula);
    QFETCH(QString, where);
    QFETCH(QString, values);

    QCOMPARE(reports::reportFormula(sel), formula);
    const std::optional<reports::SqlCondition> condition = reports::browseCondition(sel);
    QCOMPARE(condition.has_value(), !where.isEmpty());
    if (condition) {
        QCOMPARE(condition->text, where);
        QCOMPARE(valuesText(condition->params), values);
    }
}

// Several runs on one screen: each sets the engine up again in order, and
// each ends as the engine answers.
void tst_ReportRun::buildReport()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addTitle("IK", "Iron Kite", "ACM");
    ScriptedUi ui;
    frmSelectCriteria f;
    f.appDir = "/opt/pk";
    f.currentPath = c.path();
    QVERIFY(f.frmSelectCriteria_SetUpForm(3));
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    const QString start = "DataFiles(0)=" + c.path() +
                          "|ReportFileName=/opt/pk/Kepix003.rpt|"
                          "WindowTitle=Panelkeep: Report 003 - Value by Title & Company|";
    const QString preview = "Destination=0|WindowState=2|WindowShowPageButtons=1|WindowShowPrintButtons=1|"
                            "WindowModal=0|";

    // A restricted preview, then the same to the printer, then no restriction.
    QVERIFY(chooseItem(f.cboCompany, f.cboCompany->itemText(1)));
    QTest::mouseClick(f.cmdMore, Qt::LeftButton);
    QTest::mouseClick(f.optQuantityGreater, Qt::LeftButton, {},
                      QPoint(8, f.optQuantityGreater->height() / 2));
    ui.answerReport(End::Success);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    QTest::keyClick(f.chkPrintPreview, Qt::Key_Space);
    ui.answerReport(End::Success);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    QVERIFY(chooseItem(f.cboCompany, f.cboCompany->itemText(0)));
    QTest::mouseClick(f.optQuantityAll, Qt::LeftButton, {}, QPoint(8, f.optQuantityAll->height() / 2));
    ui.answerReport(End::Success);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);

    const QString formula = "{Company.Company_ID} = \"ACM\" and {Issue.Quantity}  > 1;";
    QCOMPARE(ui.reportRuns.size(), 3);
    QCOMPARE(ui.reportRuns.at(0).settings.join('|'),
             start + preview + "SelectionFormula=" + formula + "|Action=1");
    QCOMPARE(ui.reportRuns.at(1).settings.join('|'),
             start + "Destination=1|SelectionFormula=" + formula + "|Action=1");
    QVERIFY(!ui.reportRuns.at(1).preview);
    QCOMPARE(ui.reportRuns.at(1).destination, 1);
    QCOMPARE(ui.reportRuns.at(2).formula, QString());
    QCOMPARE(ui.reportRuns.at(0).owner, &f);
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(!ui.statuses.contains("Report Cancelled..."));
    ui.clearRecords();

    // Cancelled: the status text only. Failed: its reason, then the box.
    ui.answerReport(End::Cancelled);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    QCOMPARE(ui.statuses, QStringList{"Report Cancelled..."});
    QVERIFY(ui.boxes.isEmpty());
    ui.answerReport(End::Failed);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    QCOMPARE(described(ui.boxes), QStringList{AnotherReportOpen});
    QCOMPARE(ui.statuses.last(), QStringLiteral("The report definition could not be read."));
    QVERIFY(f.isVisible());
    QVERIFY(ui.allAnswersUsed());
}

// The real preview driven from the keyboard: pages, zoom, exports, print, a
// second request while it is open, and Esc.
void tst_ReportRun::previewWindow()
{
    TempCollection c;
    smallCollection(c);
    ScriptedUi ui;
    ui.useRealReports();
    auto f = reportScreen(c);
    QVERIFY(f);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QPointer<ReportPreview> p = openPreview();
    QVERIFY(p);
    QVERIFY(QTest::qWaitForWindowActive(p));
    QCOMPARE(p->windowTitle(), QStringLiteral("Panelkeep: Report 001 - Issue Details"));
    QCOMPARE(p->parentWidget(), f.get());
    QVERIFY(ui.boxes.isEmpty());
    QTRY_VERIFY(p->document().isComplete());
    const int pages = p->document().pageCount();
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    QCOMPARE(p->lblPageCount->text(), QStringLiteral("of %1").arg(pages));

    QTest::keyClick(p, Qt::Key_PageDown);
    QTest::keyClick(p, Qt::Key_PageDown);
    QCOMPARE(p->currentPage(), 2);
    QCOMPARE(p->txtPage->value(), 3);
    QTest::keyClick(p, Qt::Key_PageUp);
    QCOMPARE(p->currentPage(), 1);
    QTest::keyClick(p, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(p->currentPage(), pages - 1);
    QVERIFY(!p->cmdNext->isEnabled());
    QTest::keyClick(p, Qt::Key_PageDown);
    QCOMPARE(p->currentPage(), pages - 1);
    QTest::keyClick(p, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(p->currentPage(), 0);
    QVERIFY(!p->cmdPrevious->isEnabled());

    // Fit width fills the view's width; fit page shows all of the page; the
    // zoom steps from whatever is shown.
    const QSize fitWidth = p->imgPage->pixmap().size();
    QVERIFY(fitWidth.width() <= p->findChild<QWidget *>("scrPage")->width());
    QTest::mouseClick(p->cmdFitPage, Qt::LeftButton);
    const QSize fitPage = p->imgPage->pixmap().size();
    QVERIFY(fitPage.width() < fitWidth.width());
    QTest::mouseClick(p->cmdZoomIn, Qt::LeftButton);
    QCOMPARE(p->imgPage->pixmap().width(), qRound(fitPage.width() * 1.25));
    QTest::keyClick(p, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(p, Qt::Key_Minus, Qt::ControlModifier);
    QVERIFY(p->imgPage->pixmap().width() < fitPage.width());

    // A second request is refused; the open preview comes forward.
    ui.answer(MsgAnswer::OK);
    f->activateWindow();
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(described(ui.boxes), QStringList{AnotherReportOpen});
    QCOMPARE(openPreview(), p.data());
    QTRY_COMPARE(QApplication::activeWindow(), p.data());

    // Export: the chosen file is a PDF; Cancel in the chooser is a cancel.
    QTemporaryDir out;
    const QString pdf = out.filePath("report.pdf");
    ui.chooseFile(pdf);
    QTest::mouseClick(p->cmdExport, Qt::LeftButton);
    QVERIFY(isPdf(pdf));
    ui.chooseFile(std::nullopt);
    ui.clearRecords();
    QTest::mouseClick(p->cmdExport, Qt::LeftButton);
    QCOMPARE(ui.statuses, QStringList{"Report Cancelled..."});

    // Export CSV (Alt+X): the report's issues for a spreadsheet.
    const QString csv = out.filePath("report.csv");
    ui.chooseFile(csv);
    ui.clearRecords();
    QTest::keyClick(p, Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(ui.statuses, QStringList{"Exported 150 issues to " + QDir::toNativeSeparators(csv)});
    QCOMPARE(ui.fileDialogs.first().fileName,
             QFileInfo(c.path()).absoluteDir().filePath(QFileInfo(c.path()).completeBaseName() + ".csv"));
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().count("\r\n"), 151);

    // Ctrl+P prints on the chosen printer (here a PDF file).
    const QString printed = out.filePath("printed.pdf");
    setPrinterChooser([&](QPrinter &printer, QWidget *) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    });
    QTest::keyClick(p, Qt::Key_P, Qt::ControlModifier);
    setPrinterChooser({});
    QVERIFY(isPdf(printed));

    QTest::keyClick(p, Qt::Key_Escape);
    QTRY_VERIFY(!p);
    QVERIFY(!openPreview());
    QVERIFY(ui.allAnswersUsed());
}

// Preview unchecked: the print dialog's Cancel is a cancel, a printer the
// report cannot be written to is a failure; neither hangs.
void tst_ReportRun::printer()
{
    TempCollection c;
    smallCollection(c, 20);
    ScriptedUi ui;
    ui.useRealReports();
    auto f = reportScreen(c, 3);
    QVERIFY(f);
    QTest::keyClick(f->chkPrintPreview, Qt::Key_Space);

    QTemporaryDir out;
    QString target;
    setPrinterChooser([&](QPrinter &printer, QWidget *) {
        if (target.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        return true;
    });
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(ui.statuses.last(), QStringLiteral("Report Cancelled..."));
    QVERIFY(ui.boxes.isEmpty());

    target = out.filePath("no-such-folder/report.pdf");
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(described(ui.boxes), QStringList{AnotherReportOpen});

    // Cancel in the progress window while it prints.
    target = out.filePath("cancelled.pdf");
    ui.clearRecords();
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto *progress = f->findChild<QProgressDialog *>())
            progress->cancel();
    });
    canceller.start(0);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    canceller.stop();
    QCOMPARE(ui.statuses, QStringList{"Report Cancelled..."});
    QVERIFY(ui.boxes.isEmpty());

    target = out.filePath("report.pdf");
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    setPrinterChooser({});
    QVERIFY(isPdf(target));
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(!openPreview());
    QVERIFY(f->isVisible());
}

// For random selections, report 001 holds exactly the issues the browse
// shows for the same selection.
void tst_ReportRun::reportMatchesBrowse()
{
    TempCollection c;
    const QStringList companies{"ACM", "B\"Q", "ZED"};
    QHash<QString, QStringList> titles{{"ACM", {"IK", "BF"}}, {"B\"Q", {"Q'\"", "MT"}}, {"ZED", {"Z"}}};
    QHash<QString, QString> titleNames;
    for (const QString &co : companies) {
        c.addCompany(co, "Company " + co);
        for (const QString &t : titles.value(co)) {
            titleNames.insert("Title " + t, t);
            c.addTitle(t, "Title " + t, co);
        }
    }
    auto *rng = QRandomGenerator::global();
    {
        platform::Transaction t(db::dbCollection());
        for (const QString &co : companies)
            for (const QString &title : titles.value(co))
                for (int n = 1; n <= 25; ++n)
                    addIssue(title, n, 1 + rng->bounded(8), 1 + rng->bounded(12),
                             rng->bounded(5) == 0 ? -1 : rng->bounded(2000));
        t.commit();
    }
    const QStringList conditionNames{"",         "Mint", "NearMint", "VeryFine", "Fine",
                                     "VeryGood", "Good", "Fair",     "Poor"};
    ScriptedUi ui;
    const QString rpt = QCoreApplication::applicationDirPath() + "/Kepix001.rpt";
    for (int run = 0; run < 300; ++run) {
        Selection sel;
        if (rng->bounded(3) > 0) {
            sel.company = companies.at(rng->bounded(companies.size()));
            if (rng->bounded(2))
                sel.title = titles.value(sel.company).at(rng->bounded(titles.value(sel.company).size()));
        }
        for (int k = 1; k <= 8; ++k)
            if (rng->bounded(4) == 0)
                sel.conditions.insert(k);
        const Comparison ops[] = {Comparison::Equal, Comparison::Greater, Comparison::Less};
        if (rng->bounded(2))
            sel.quantity = reports::QuantityRestriction{ops[rng->bounded(3)], 1 + rng->bounded(12)};
        if (rng->bounded(2))
            sel.value = reports::ValueRestriction{ops[1 + rng->bounded(2)],
                                                  Currency::fromScaled(rng->bounded(2000) * 100)};
        const QString formula = reports::reportFormula(sel);

        auto doc = ReportDocument::open({c.path(), rpt, "Report", formula});
        doc->layOutUpTo(1 << 30);
        QStringList reported;
        for (const ReportIssue &i : doc->issues())
            reported << QStringLiteral("%1 %2 %3")
                            .arg(i.titleId)
                            .arg(i.issueNum)
                            .arg(conditionNames.at(i.condition));

        if (reported.isEmpty())
            ui.answer(MsgAnswer::OK);
        frmBrowseComics browse;
        QStringList browsed;
        if (reports::LoadBrowseData(browse, true, sel.company, sel.title, reports::browseCondition(sel))) {
            for (const QString &row : gridRows(*browse.grdBrowse)) {
                const QStringList cells = row.split('|');
                browsed << titleNames.value(cells.at(1)) + " " + cells.at(2) + " " + cells.at(3);
            }
        }
        reported.sort();
        browsed.sort();
        QVERIFY2(reported == browsed, qPrintable(formula));
        QVERIFY(ui.allAnswersUsed());
    }
}

// The browse's export and the reports' read back with a reader of their own
// give the selection's issues as plain SQL reads them: every column, the
// company on every row, in the grid's order, amounts exact.
void tst_ReportRun::csvExportRoundTrip_data()
{
    QTest::addColumn<Selection>("sel");
    QTest::addColumn<QString>("where"); // the same selection in plain SQL
    QTest::addColumn<QVariantList>("params");

    QTest::newRow("everything") << selection("*", "*") << "1" << QVariantList();
    QTest::newRow("a company with a comma and quotes")
        << selection("DFC", "*") << "Company.Company_ID = ?" << QVariantList{"DFC"};
    QTest::newRow("an accented title")
        << selection("EDL", "ET") << "Company.Company_ID = ? AND Title.Title_ID = ?"
        << QVariantList{"EDL", "ET"};
    QTest::newRow("conditions and a value")
        << selection("*", "*", {1, 3, 8}, {}, amount(Comparison::Greater, 5000))
        << "Issue.Condition IN (1, 3, 8) AND Issue.Current_Value > 5000" << QVariantList();
    QTest::newRow("a quantity") << selection("*", "*", {},
                                             reports::QuantityRestriction{Comparison::Greater, 1})
                                << "Issue.Quantity > 1" << QVariantList();
}

void tst_ReportRun::csvExportRoundTrip()
{
    QFETCH(Selection, sel);
    QFETCH(QString, where);
    QFETCH(QVariantList, params);

    TempCollection c;
    c.addCompany("DFC", "Dupont, Fils & \"Cie\"");
    c.addCompany("EDL", "Éditions Lumière");
    c.addCompany("ACM", "Acme");
    c.addTitle("LB", "Line\r\nBreak, \"Vol\" 2", "DFC");
    c.addTitle("ET", "Été à Zürich", "EDL");
    c.addTitle("IK", "Iron Kite", "ACM");
    const QVariant none;
    const QList<QVariantList> issues{
        {"LB", 1, 1, 2, none, 12345, "a, b \"c\"\r\nnext\nline\rend"},
        {"LB", 2, 2, 1, -123456, 0, ""},
        {"ET", 1, 3, 1, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max(),
         "naïve — ünïcödé 😀"},
        {"ET", 1, 4, 1, 10000, 15000, none},
        {"IK", 5, 8, 3, 2500, none, " spaces kept "},
        {"IK", 6, 1, 1, 0, 1000000000, "=1+1"},
    };
    for (const QVariantList &i : issues)
        db::dbCollection().execute("INSERT INTO Issue VALUES (?, ?, ?, ?, ?, ?, ?)",
                                   ExecuteOption::FailOnError, i);

    QList<QStringList> expected{
        {"Company", "Title", "Issue", "Condition", "Quantity", "Original Price", "Current Value", "Notes"}};
    auto rs = db::dbCollection().openRecordset(
        "SELECT Company.Company AS co, Title.Title AS ti, Issue.IssueNum AS n, Condition.Condition AS k, "
        "Issue.Quantity AS q, Issue.Original_Price AS paid, Issue.Current_Value AS value, Issue.Notes AS "
        "notes "
        "FROM Company, Title, Issue, Condition WHERE Company.Company_ID = Title.Company_ID AND "
        "Title.Title_ID = Issue.Title_ID AND Condition.Condition_ID = Issue.Condition AND (" +
            where +
            ") ORDER BY Company.Company COLLATE PKNAME, Title.Title COLLATE PKNAME, Issue.IssueNum, "
            "Issue.Condition",
        RecordsetType::Snapshot, params);
    const auto scaled = [](const QVariant &v) {
        return v.isNull() ? QString() : QString::number(v.value<Currency>().scaled());
    };
    for (; !rs->eof(); rs->moveNext())
        expected << QStringList{rs->value("co").toString(), rs->value("ti").toString(),
                                rs->value("n").toString(),  rs->value("k").toString(),
                                rs->value("q").toString(),  scaled(rs->value("paid")),
                                scaled(rs->value("value")), rs->value("notes").toString()};
    QVERIFY(expected.size() > 2);

    QTemporaryDir out;
    const auto readBack = [](const QString &path) {
        QFile f(path);
        bool ok = f.open(QIODevice::ReadOnly);
        QList<QStringList> rows = readCsv(f.readAll(), ok);
        for (qsizetype r = 1; r < rows.size(); ++r)
            for (const int col : {5, 6})
                if (rows[r].size() > col && !rows[r][col].isEmpty())
                    rows[r][col] = scaledText(rows[r][col]);
        return std::make_pair(ok, rows);
    };

    ScriptedUi ui;
    frmBrowseComics browse;
    QVERIFY(reports::LoadBrowseData(browse, true, sel.company, sel.title, reports::browseCondition(sel)));
    const QString browsed = out.filePath("browse.csv");
    ui.chooseFile(browsed);
    browse.cmdExport_Click();
    QVERIFY(ui.boxes.isEmpty());
    const auto [browseOk, browseRows] = readBack(browsed);
    QVERIFY(browseOk);
    QCOMPARE(browseRows, expected);

    for (const int n : {1, 3}) {
        const auto doc = ReportDocument::open(
            {c.path(), QCoreApplication::applicationDirPath() + QStringLiteral("/Kepix00%1.rpt").arg(n),
             "Report", reports::reportFormula(sel)});
        const QString reported = out.filePath(QStringLiteral("report%1.csv").arg(n));
        QCOMPARE(doc->writeCsv(reported), int(expected.size() - 1));
        const auto [reportOk, reportRows] = readBack(reported);
        QVERIFY(reportOk);
        QCOMPARE(reportRows, expected);
    }
}

QTEST_MAIN(tst_ReportRun)
#include "tst_reportrun.moc"
