#include "browsefixture.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/messagebox.h"
#include "reports/frmselectcriteria.h"
#include "reports/selection.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>

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
    f.cboCompany->setCurrentIndex(1);
    QTest::mouseClick(f.cmdMore, Qt::LeftButton);
    QTest::mouseClick(f.optQuantityGreater, Qt::LeftButton, {},
                      QPoint(8, f.optQuantityGreater->height() / 2));
    ui.answerReport(End::Success);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    QTest::keyClick(f.chkPrintPreview, Qt::Key_Space);
    ui.answerReport(End::Success);
    QTest::mouseClick(f.cmdOK, Qt::LeftButton);
    f.cboCompany->setCurrentIndex(0);
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

QTEST_MAIN(tst_ReportRun)
#include "tst_reportrun.moc"
