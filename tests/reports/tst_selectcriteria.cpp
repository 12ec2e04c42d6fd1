#include "browsefixture.h"
#include "db/session.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "platform/twips.h"
#include "reports/browsegrid.h"
#include "reports/frmbrowsecomics.h"
#include "reports/frmselectcriteria.h"
#include "shell/commandscope.h"
#include "support/keyboard.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace platform;
using namespace browsefixture;

namespace {
const QString NoCompanyData = describeBox("Please enter Company information prior to using this function.",
                                          "No Company Data", MsgButtons::OK, MsgIcon::None);
const QString NoneSelected = describeBox("No data exists for the specified selection criteria",
                                         "No Comic Book Data", MsgButtons::OK, MsgIcon::None);
const QString BadQuantity = describeBox("Quantity must be a whole number from 1 to 32767", "Invalid Quantity",
                                        MsgButtons::OK, MsgIcon::Exclamation);
const QString BadValue = describeBox("Current Value must be an amount such as $10.00",
                                     "Invalid Current Value", MsgButtons::OK, MsgIcon::Exclamation);

QString noTitlesBox(const QString &company)
{
    return describeBox("No Titles found for Company: " + company, applicationTitle(), MsgButtons::OK,
                       MsgIcon::Information);
}

QStringList items(const QComboBox &box)
{
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

// Three companies with titles (one with quotes in its names and keys) and
// one without.
void sampleCollection(TempCollection &c)
{
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "Blue Moon");
    c.addCompany("B'\"", "Bob's \"Best\"");
    c.addCompany("NTC", "No Titles Co");
    c.addTitle("IK", "Iron Kite", "ACM");
    c.addTitle("BF", "Blue Fox", "ACM");
    c.addTitle("MT", "Moon Tales", "BLM");
    c.addTitle("R\"'", "The \"Real\" One", "B'\"");
    addIssue("IK", 1, 1, 1, 500);
    addIssue("IK", 2, 4, 2, 1000);
    addIssue("IK", 3, 2, 3, 999);
    addIssue("IK", 3, 4, 1);
    addIssue("BF", 1, 1, 2, 50);
    addIssue("BF", 2, 8, 5, 12000);
    addIssue("MT", 1, 4, 1, 1001);
    addIssue("MT", 2, 1, 10, 300);
    addIssue("R\"'", 1, 3, 1, 100);
}

const QStringList Everything{"BF 1 Mint", "BF 2 Poor", "IK 1 Mint", "IK 2 Fine",    "IK 3 NearMint",
                             "IK 3 Fine", "MT 1 Fine", "MT 2 Mint", "RO 1 VeryFine"};

// What the user does on the screen, one step per entry:
// "company:NAME", "title:NAME", "more", "cond:N" (click), "cond+:N"
// (Ctrl+click), "qty:OPTION:TEXT", "value:OPTION:TEXT" with OPTION one of
// All, Equal, Greater, Less.
using Steps = QStringList;

void typeInto(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

void clickOption(QRadioButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
}

void clickCondition(frmSelectCriteria &f, int entry, Qt::KeyboardModifiers modifiers)
{
    const QRect r = f.lstCondition->visualItemRect(f.lstCondition->item(entry));
    QTest::mouseClick(f.lstCondition->viewport(), Qt::LeftButton, modifiers, r.center());
}

// Picks the entry whose text starts with start the way the keyboard does:
// Home, then Down to it, and Enter.
void chooseEntry(QComboBox *box, const QString &start)
{
    const int index = box->findText(start, Qt::MatchStartsWith);
    QVERIFY2(index >= 0, qPrintable(start));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentIndex(), index);
    QTest::keyClick(box, Qt::Key_Return);
}

void perform(frmSelectCriteria &f, const Steps &steps)
{
    for (const QString &step : steps) {
        const QString arg = step.section(':', 1);
        if (step.startsWith("company:") || step.startsWith("title:")) {
            QComboBox *box = step.startsWith("company:") ? f.cboCompany : f.cboTitle;
            chooseEntry(box, arg);
        } else if (step == "more") {
            QTest::mouseClick(f.cmdMore, Qt::LeftButton);
        } else if (step.startsWith("cond:")) {
            clickCondition(f, arg.toInt(), Qt::NoModifier);
        } else if (step.startsWith("cond+:")) {
            clickCondition(f, arg.toInt(), Qt::ControlModifier);
        } else if (step.startsWith("qty:") || step.startsWith("value:")) {
            const bool qty = step.startsWith("qty:");
            const QString option = step.section(':', 1, 1);
            const QString text = step.section(':', 2);
            QRadioButton *button = f.findChild<QRadioButton *>((qty ? "optQuantity" : "optValue") + option);
            QVERIFY2(button, qPrintable(step));
            clickOption(button);
            if (option != "All")
                typeInto(qty ? f.txtQuantity : f.txtValue, text);
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }
}

// Watches for the browse grid to be shown modally, reads its rows and
// closes it as the user would.
struct BrowseWatch
{
    bool shown = false;
    QStringList rows; // "TITLEID ISSUE CONDITION"
    QString statusWhenShown;

    void arm(QObject *context, int tries = 500)
    {
        QTimer::singleShot(10, context, [this, context, tries] {
            auto *b = qobject_cast<frmBrowseComics *>(QApplication::activeModalWidget());
            if (!b) {
                if (tries > 0)
                    arm(context, tries - 1);
                return;
            }
            shown = true;
            statusWhenShown = platform::lastStatus();
            const QHash<QString, QString> ids{
                {"Iron Kite", "IK"}, {"Blue Fox", "BF"}, {"Moon Tales", "MT"}, {"The \"Real\" One", "RO"}};
            for (const QString &row : gridRows(*b->grdBrowse)) {
                const QStringList cells = row.split('|');
                rows << ids.value(cells.at(1), cells.at(1)) + " " + cells.at(2) + " " + cells.at(3);
            }
            QTest::mouseClick(b->cmdClose, Qt::LeftButton);
        });
    }
};
} // namespace

class tst_SelectCriteria : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void initialState_data();
    void initialState();
    void moreShowsTheRestricitions();
    void tabOrder();
    void titleChoice();
    void companyWithoutTitles();
    void browseSelections_data();
    void browseSelections();
    void emptyBrowseKeepsTheScreen();
    void reportPieces_data();
    void reportPieces();
    void optionTexts_data();
    void optionTexts();
    void keyFilters_data();
    void keyFilters();
    void valueFormatting_data();
    void valueFormatting();
    void okRefusals_data();
    void okRefusals();
    void openedAsTheMenuCommand_data();
    void openedAsTheMenuCommand();
    void noCompanies();
    void collectionGoneWhileChoosing();

private:
    static std::unique_ptr<frmSelectCriteria> open(int use)
    {
        auto f = std::make_unique<frmSelectCriteria>();
        if (!f->frmSelectCriteria_SetUpForm(use))
            return nullptr;
        f->show();
        if (!QTest::qWaitForWindowActive(f.get()))
            return nullptr;
        return f;
    }
};

void tst_SelectCriteria::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_SelectCriteria::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Every use starts collapsed on "All Companies" with no title choice, no
// restriction and preview checked; only the reports show the preview box.
// The missing-issues report offers no restriction at all: no More, and Tab
// never reaches the controls below the window's edge.
void tst_SelectCriteria::initialState_data()
{
    QTest::addColumn<int>("use");
    QTest::newRow("browse") << 0;
    QTest::newRow("report 001") << 1;
    QTest::newRow("report 002") << 2;
    QTest::newRow("report 003") << 3;
    QTest::newRow("missing issues") << 4;
}

void tst_SelectCriteria::initialState()
{
    QFETCH(int, use);
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(use);
    QVERIFY(f);

    QCOMPARE(f->windowTitle(), QStringLiteral("Select Criteria for Report"));
    QCOMPARE(items(*f->cboCompany),
             (QStringList{"All Companies", "Acme", "Blue Moon", "Bob's \"Best\"", "No Titles Co"}));
    QCOMPARE(f->cboCompany->currentIndex(), 0);
    QVERIFY(!f->cboTitle->isVisible());
    QVERIFY(!f->lblTitle->isVisible());
    QCOMPARE(f->chkPrintPreview->isVisible(), use >= 1);
    QVERIFY(f->chkPrintPreview->isChecked());
    QCOMPARE(f->chkPrintPreview->text(), QStringLiteral("Print P&review"));
    QVERIFY(f->cmdOK->isDefault());
    QCOMPARE(f->cmdCancel->text(), QStringLiteral("Close"));
    QCOMPARE(f->cmdMore->text(), QStringLiteral("More >>"));
    QVERIFY(f->optQuantityAll->isChecked());
    QVERIFY(f->optValueAll->isChecked());
    QVERIFY(!f->txtQuantity->isVisible());
    QVERIFY(!f->txtValue->isVisible());
    QStringList conditions;
    for (int i = 0; i < f->lstCondition->count(); ++i)
        conditions << f->lstCondition->item(i)->text();
    QCOMPARE(conditions, (QStringList{"Any", "Mint", "NearMint", "VeryFine", "Fine", "VeryGood", "Good",
                                      "Fair", "Poor"}));
    QCOMPARE(f->lstCondition->currentRow(), 0);
    QVERIFY(f->lstCondition->selectedItems().isEmpty());
    // Collapsed: the condition list and the frames lie below the window's edge.
    QVERIFY(f->lblStatic->y() >= f->height());
    QVERIFY(f->fraQuantity->y() >= f->height());
    QVERIFY(f->chkPrintPreview->geometry().bottom() < f->height());
    QVERIFY(ui.boxes.isEmpty());

    QCOMPARE(f->cmdMore->isVisible(), use != 4);
    if (use != 4)
        return;
    const int height = f->height();
    chooseEntry(f->cboCompany, "Acme");
    QStringList walk;
    for (int i = 0; i < 6; ++i) {
        walk << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walk,
             (QStringList{"cboCompany", "cboTitle", "chkPrintPreview", "cmdOK", "cmdCancel", "cboCompany"}));
    QCOMPARE(f->height(), height);
    for (QWidget *w : std::initializer_list<QWidget *>{f->lstCondition, f->fraQuantity, f->fraCurrentValue})
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

// More opens the lower part, hides itself and adds "Any" to the selection.
void tst_SelectCriteria::moreShowsTheRestricitions()
{
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);
    const int collapsed = f->height();

    QTest::mouseClick(f->cmdMore, Qt::LeftButton);

    QCOMPARE(f->height() - collapsed, twipsToPixels(4605 - 2250));
    QVERIFY(!f->cmdMore->isVisible());
    for (QWidget *w : {static_cast<QWidget *>(f->lstCondition), static_cast<QWidget *>(f->fraQuantity),
                       static_cast<QWidget *>(f->fraCurrentValue)})
        QVERIFY2(w->geometry().bottom() < f->height() && w->isVisible(), qPrintable(w->objectName()));
    QCOMPARE(f->lstCondition->selectedItems().size(), 1);
    QVERIFY(f->lstCondition->item(0)->isSelected());
}

// Tab walks from the lists through the buttons into the restrictions.
void tst_SelectCriteria::tabOrder()
{
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(1);
    QVERIFY(f);
    perform(*f, {"company:Acme", "more", "qty:Equal:2", "value:Less:5"});
    f->cboCompany->setFocus();

    QStringList walk;
    for (int i = 0; i < 10; ++i) {
        walk << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walk,
             (QStringList{"cboCompany", "cboTitle", "chkPrintPreview", "cmdOK", "cmdCancel", "lstCondition",
                          "optQuantityEqual", "txtQuantity", "optValueLess", "txtValue"}));
}

// A company with titles offers them after "All Titles"; going back to all
// companies hides the title choice again.
void tst_SelectCriteria::titleChoice()
{
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);

    perform(*f, {"company:Acme"});
    QVERIFY(f->cboTitle->isVisible());
    QVERIFY(f->lblTitle->isVisible());
    QCOMPARE(items(*f->cboTitle), (QStringList{"All Titles", "Blue Fox", "Iron Kite"}));
    QCOMPARE(f->cboTitle->currentIndex(), 0);

    perform(*f, {"title:Iron", "company:Blue Moon"});
    QCOMPARE(items(*f->cboTitle), (QStringList{"All Titles", "Moon Tales"}));
    QCOMPARE(f->cboTitle->currentIndex(), 0);

    ui.clearRecords();
    perform(*f, {"company:All C"});
    QVERIFY(!f->cboTitle->isVisible());
    QVERIFY(!f->lblTitle->isVisible());
    QCOMPARE(f->cboTitle->currentIndex(), -1);
    QCOMPARE(ui.statuses, QStringList{"Please select a Title..."});
    QVERIFY(ui.boxes.isEmpty());
}

// A company without titles is said so; its selection still restricts the
// browse, which then finds nothing.
void tst_SelectCriteria::companyWithoutTitles()
{
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    auto f = open(0);
    QVERIFY(f);
    perform(*f, {"company:Acme"});

    perform(*f, {"company:No Titles"});

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), noTitlesBox("No Titles Co"));
    QVERIFY(!f->cboTitle->isVisible());
    QCOMPARE(f->cboTitle->currentIndex(), -1);

    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 2);
    QCOMPARE(describe(ui.boxes.last()), NoneSelected);
    QVERIFY(f->isVisible());
}

// The selection the user makes picks exactly its issues in the grid.
void tst_SelectCriteria::browseSelections_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("nothing touched") << Steps{} << Everything;
    QTest::newRow("one company") << Steps{"company:Acme"}
                                 << QStringList{"BF 1 Mint", "BF 2 Poor",     "IK 1 Mint",
                                                "IK 2 Fine", "IK 3 NearMint", "IK 3 Fine"};
    QTest::newRow("company and title") << Steps{"company:Acme", "title:Iron"}
                                       << QStringList{"IK 1 Mint", "IK 2 Fine", "IK 3 NearMint", "IK 3 Fine"};
    QTest::newRow("title, then All Titles again")
        << Steps{"company:Acme", "title:Iron", "title:All"}
        << QStringList{"BF 1 Mint", "BF 2 Poor", "IK 1 Mint", "IK 2 Fine", "IK 3 NearMint", "IK 3 Fine"};
    QTest::newRow("title, then All Companies again")
        << Steps{"company:Acme", "title:Iron", "company:All C"} << Everything;
    QTest::newRow("title, then another company")
        << Steps{"company:Acme", "title:Iron", "company:Blue Moon"} << QStringList{"MT 1 Fine", "MT 2 Mint"};
    QTest::newRow("names and keys with quotes")
        << Steps{"company:Bob's \"Best\"", "title:The \"Real\""} << QStringList{"RO 1 VeryFine"};
    QTest::newRow("More alone keeps Any") << Steps{"more"} << Everything;
    QTest::newRow("one condition") << Steps{"more", "cond:3"} << QStringList{"RO 1 VeryFine"};
    QTest::newRow("two conditions clicked high first")
        << Steps{"more", "cond:4", "cond+:1"}
        << QStringList{"BF 1 Mint", "IK 1 Mint", "IK 2 Fine", "IK 3 Fine", "MT 1 Fine", "MT 2 Mint"};
    QTest::newRow("Any with another") << Steps{"more", "cond+:8"} << Everything;
    QTest::newRow("no condition selected") << Steps{"more", "cond+:0"} << Everything;
    QTest::newRow("quantity equal") << Steps{"qty:Equal:1"}
                                    << QStringList{"IK 1 Mint", "IK 3 Fine", "MT 1 Fine", "RO 1 VeryFine"};
    QTest::newRow("quantity greater")
        << Steps{"qty:Greater:1"}
        << QStringList{"BF 1 Mint", "BF 2 Poor", "IK 2 Fine", "IK 3 NearMint", "MT 2 Mint"};
    QTest::newRow("quantity less, two digits")
        << Steps{"qty:Less:10"} << QStringList{"BF 1 Mint",     "BF 2 Poor", "IK 1 Mint", "IK 2 Fine",
                                               "IK 3 NearMint", "IK 3 Fine", "MT 1 Fine", "RO 1 VeryFine"};
    QTest::newRow("quantity with leading zero")
        << Steps{"qty:Greater:03"} << QStringList{"BF 2 Poor", "MT 2 Mint"};
    QTest::newRow("value greater, no value never matches")
        << Steps{"value:Greater:9.99"} << QStringList{"BF 2 Poor", "IK 2 Fine", "MT 1 Fine"};
    QTest::newRow("value less") << Steps{"value:Less:$10.00"}
                                << QStringList{"BF 1 Mint", "IK 1 Mint", "IK 3 NearMint", "MT 2 Mint",
                                               "RO 1 VeryFine"};
    QTest::newRow("value with grouping") << Steps{"value:Greater:$1,000"} << QStringList{};
    QTest::newRow("everything at once")
        << Steps{"company:Acme", "more", "cond:4", "cond+:1", "qty:Greater:1", "value:Less:10.01"}
        << QStringList{"BF 1 Mint", "IK 2 Fine"};
}

void tst_SelectCriteria::browseSelections()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, rows);

    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);
    perform(*f, steps);
    BrowseWatch watch;
    if (!rows.isEmpty())
        watch.arm(f.get());
    else
        ui.answer(MsgAnswer::OK);

    QTest::mouseClick(f->cmdOK, Qt::LeftButton);

    if (rows.isEmpty()) {
        QCOMPARE(describe(ui.boxes.last()), NoneSelected);
        QVERIFY(f->isVisible());
        return;
    }
    QVERIFY(watch.shown);
    QCOMPARE(watch.rows, rows);
    QVERIFY(ui.statuses.contains("Please be patient, this may take awhile..."));
    QCOMPARE(watch.statusWhenShown, QStringLiteral("Load Done: Total = %1 rows").arg(rows.size() + 1));
    // Closing the grid ends the selection too.
    QVERIFY(!f->isVisible());
    QCOMPARE(f->result(), int(QDialog::Accepted));
    QVERIFY(ui.boxes.isEmpty());
}

// An empty browse leaves the screen open with every choice as it was.
void tst_SelectCriteria::emptyBrowseKeepsTheScreen()
{
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    auto f = open(0);
    QVERIFY(f);
    perform(*f, {"company:Blue Moon", "more", "cond:8", "qty:Greater:2"});

    QTest::mouseClick(f->cmdOK, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), NoneSelected);
    QVERIFY(f->isVisible());
    QCOMPARE(f->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(f->cboCompany->currentText(), QStringLiteral("Blue Moon"));
    QVERIFY(f->cboTitle->isVisible());
    QCOMPARE(f->lstCondition->selectedItems().size(), 1);
    QVERIFY(f->lstCondition->item(8)->isSelected());
    QVERIFY(f->optQuantityGreater->isChecked());
    QCOMPARE(f->txtQuantity->text(), QStringLiteral("2"));
}

// The selection formula OK hands to a report run, from what the user did;
// the screen stays open for the next run.
void tst_SelectCriteria::reportPieces_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("formula");

    QTest::newRow("nothing touched") << Steps{} << "";
    QTest::newRow("company") << Steps{"company:Blue Moon"} << "{Company.Company_ID} = \"BLM\";";
    QTest::newRow("company and title") << Steps{"company:Acme", "title:Blue"}
                                       << "{Company.Company_ID} = \"ACM\" and {Title.Title_ID} = \"BF\";";
    QTest::newRow("back to All Titles")
        << Steps{"company:Acme", "title:Blue", "title:All"} << "{Company.Company_ID} = \"ACM\";";
    QTest::newRow("back to All Companies") << Steps{"company:Acme", "title:Blue", "company:All C"} << "";
    QTest::newRow("keys with quotes")
        << Steps{"company:Bob", "title:The"}
        << "{Company.Company_ID} = \"B'\"\"\" and {Title.Title_ID} = \"R\"\"'\";";
    QTest::newRow("one condition") << Steps{"more", "cond:4"} << "{Issue.Condition} = 4;";
    QTest::newRow("conditions in code order")
        << Steps{"more", "cond:8", "cond+:4", "cond+:1"}
        << "({Issue.Condition} = 1 OR {Issue.Condition} = 4 OR {Issue.Condition} = 8);";
    QTest::newRow("Any among them") << Steps{"more", "cond+:2", "cond+:3"} << "";
    QTest::newRow("quantity and value")
        << Steps{"more", "cond:1", "cond+:4", "qty:Greater:1", "value:Less:$10.00"}
        << "({Issue.Condition} = 1 OR {Issue.Condition} = 4) and {Issue.Current_Value}  < 10.00 and "
           "{Issue.Quantity}  > 1;";
    QTest::newRow("quantity equal") << Steps{"qty:Equal:2"} << "{Issue.Quantity}  = 2;";
    QTest::newRow("five-digit quantity") << Steps{"qty:Less:32767"} << "{Issue.Quantity}  < 32767;";
    QTest::newRow("value typed bare") << Steps{"value:Greater:5"} << "{Issue.Current_Value}  > 5.00;";
    QTest::newRow("value rounded to cents")
        << Steps{"value:Greater:2.345"} << "{Issue.Current_Value}  > 2.35;";
}

void tst_SelectCriteria::reportPieces()
{
    QFETCH(Steps, steps);
    QFETCH(QString, formula);

    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    ui.answerReport(ScriptedUi::ReportEnd::Success);
    ui.answerReport(ScriptedUi::ReportEnd::Success);
    auto f = open(2);
    QVERIFY(f);
    perform(*f, steps);
    // The quantity box shows the whole number, up to five digits.
    const QLineEdit *q = f->txtQuantity;
    if (q->isVisible())
        QVERIFY(q->fontMetrics().horizontalAdvance(q->text()) <=
                q->width() - 2 * (q->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2));

    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);

    QCOMPARE(ui.reportRuns.size(), 2);
    QCOMPARE(ui.reportRuns.at(0).formula, formula);
    QCOMPARE(ui.reportRuns.at(1).formula, formula);
    QVERIFY(f->isVisible());
    QVERIFY(ui.boxes.isEmpty());
}

// Choosing an option rewrites its box and moves it beside the option.
void tst_SelectCriteria::optionTexts_data()
{
    QTest::addColumn<QStringList>("options"); // clicked in order
    QTest::addColumn<QString>("typed");       // typed after the first click
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("beside"); // option the box stands beside; empty when hidden

    QTest::newRow("quantity less") << QStringList{"optQuantityLess"} << ""
                                   << "10"
                                   << "optQuantityLess";
    QTest::newRow("less then equal replaces") << QStringList{"optQuantityLess", "optQuantityEqual"} << "7"
                                              << "1"
                                              << "optQuantityEqual";
    QTest::newRow("quantity greater") << QStringList{"optQuantityGreater"} << ""
                                      << "1"
                                      << "optQuantityGreater";
    QTest::newRow("back to no restriction") << QStringList{"optQuantityEqual", "optQuantityAll"} << "5"
                                            << ""
                                            << "";
    QTest::newRow("value greater") << QStringList{"optValueGreater"} << ""
                                   << "$1.00"
                                   << "optValueGreater";
    QTest::newRow("value less after typing") << QStringList{"optValueGreater", "optValueLess"} << "3"
                                             << "$10.00"
                                             << "optValueLess";
    QTest::newRow("value back to no restriction") << QStringList{"optValueLess", "optValueAll"} << ""
                                                  << ""
                                                  << "";
}

void tst_SelectCriteria::optionTexts()
{
    QFETCH(QStringList, options);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, beside);

    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);
    QTest::mouseClick(f->cmdMore, Qt::LeftButton);
    QLineEdit *box = options.first().startsWith("optQuantity") ? f->txtQuantity : f->txtValue;
    for (int i = 0; i < options.size(); ++i) {
        clickOption(f->findChild<QRadioButton *>(options.at(i)));
        if (i == 0 && !typed.isEmpty())
            typeInto(box, typed);
    }

    QCOMPARE(box->text(), text);
    QCOMPARE(box->isVisible(), !beside.isEmpty());
    if (!beside.isEmpty())
        QCOMPARE(box->y(), f->findChild<QRadioButton *>(beside)->y() - twipsToPixels(50));
}

// Refused keys beep and say so; the text is not changed by them.
void tst_SelectCriteria::keyFilters_data()
{
    QTest::addColumn<bool>("quantity");
    QTest::addColumn<QString>("keys"); // "\b" for backspace
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("status");

    QTest::newRow("quantity digits replace the selection") << true << "25"
                                                           << "25" << 0 << "";
    QTest::newRow("quantity letter") << true << "2a"
                                     << "2" << 1 << "Value must be numeric";
    QTest::newRow("quantity backspace") << true << "12\b"
                                        << "12" << 1 << "Value must be numeric";
    QTest::newRow("quantity point and dollar") << true << ".$"
                                               << "1" << 2 << "Value must be numeric";
    QTest::newRow("value money keys") << false << "$1,2.5"
                                      << "$1,2.5" << 0 << "";
    QTest::newRow("value backspace") << false << "12\b"
                                     << "1" << 0 << "";
    QTest::newRow("value letter") << false << "3x"
                                  << "3" << 1 << "Value must be numeric...";
    QTest::newRow("value minus") << false << "-4"
                                 << "4" << 1 << "Value must be numeric...";
}

void tst_SelectCriteria::keyFilters()
{
    QFETCH(bool, quantity);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    QFETCH(QString, status);

    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);
    QTest::mouseClick(f->cmdMore, Qt::LeftButton);
    QLineEdit *box = quantity ? f->txtQuantity : f->txtValue;
    QRadioButton *option = quantity ? f->optQuantityEqual : f->optValueGreater;
    clickOption(option);
    ui.clearRecords();
    // Entering the box selects its whole text, so typing replaces it.
    QTest::keyClick(option, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->selectedText(), box->text());
    for (const QChar k : keys) {
        if (k == '\b')
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClick(box, k.toLatin1());
    }

    QCOMPARE(box->text(), text);
    QCOMPARE(ui.beeps, beeps);
    QCOMPARE(ui.statuses.isEmpty() ? QString() : ui.statuses.last(), status);
}

// Leaving the value box writes its amount as "$0.00", whatever the locale;
// text that is no amount stays as typed.
void tst_SelectCriteria::valueFormatting_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("whole") << "en_US"
                           << "5"
                           << "$5.00";
    QTest::newRow("cents only") << "en_US"
                                << ".5"
                                << "$0.50";
    QTest::newRow("grouped") << "en_US"
                             << "$1,250"
                             << "$1250.00";
    QTest::newRow("rounded") << "en_US"
                             << "2.345"
                             << "$2.35";
    QTest::newRow("badly grouped") << "en_US"
                                   << "1,50"
                                   << "1,50";
    QTest::newRow("only a dollar") << "en_US"
                                   << "$"
                                   << "$";
    QTest::newRow("German: point is the decimal point") << "de_DE"
                                                        << "1,250.5"
                                                        << "$1250.50";
    QTest::newRow("French") << "fr_FR"
                            << "7.25"
                            << "$7.25";
}

void tst_SelectCriteria::valueFormatting()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    QLocale::setDefault(QLocale(locale));
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);
    QTest::mouseClick(f->cmdMore, Qt::LeftButton);
    clickOption(f->optValueGreater);
    typeInto(f->txtValue, typed);

    QTest::keyClick(f->txtValue, Qt::Key_Tab);

    QCOMPARE(f->txtValue->text(), shown);
}

// OK refuses a zero or unusable restriction, says why, and leaves the
// screen as it was with the focus in the box to put right.
void tst_SelectCriteria::okRefusals_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("focus");

    QTest::newRow("quantity zero") << Steps{"qty:Equal:0"} << "Zero is not a valid Quantity!" << 2 << ""
                                   << "txtQuantity";
    QTest::newRow("quantity zeros") << Steps{"qty:Greater:00"} << "Zero is not a valid Quantity!" << 2 << ""
                                    << "txtQuantity";
    QTest::newRow("value zero") << Steps{"value:Less:$0.00"} << "Zero is not a valid Current Value!" << 2
                                << ""
                                << "txtValue";
    QTest::newRow("value rounding to zero")
        << Steps{"value:Less:.004"} << "Zero is not a valid Current Value!" << 2 << ""
        << "txtValue";
    QTest::newRow("both zero: quantity first")
        << Steps{"qty:Less:0", "value:Greater:0"} << "Zero is not a valid Quantity!" << 2 << ""
        << "txtQuantity";
    QTest::newRow("quantity empty") << Steps{"qty:Equal:"} << "" << 0 << BadQuantity << "txtQuantity";
    QTest::newRow("quantity beyond 32767")
        << Steps{"qty:Less:32768"} << "" << 0 << BadQuantity << "txtQuantity";
    QTest::newRow("quantity far beyond")
        << Steps{"qty:Less:99999999999999999999"} << "" << 0 << BadQuantity << "txtQuantity";
    QTest::newRow("value empty") << Steps{"value:Greater:"} << "" << 0 << BadValue << "txtValue";
    QTest::newRow("value only a dollar") << Steps{"value:Greater:$"} << "" << 0 << BadValue << "txtValue";
    QTest::newRow("value only a point") << Steps{"value:Greater:."} << "" << 0 << BadValue << "txtValue";
    QTest::newRow("value only a comma") << Steps{"value:Greater:,"} << "" << 0 << BadValue << "txtValue";
    QTest::newRow("value too large") << Steps{"value:Greater:99999999999999999"} << "" << 0 << BadValue
                                     << "txtValue";
}

void tst_SelectCriteria::okRefusals()
{
    QFETCH(Steps, steps);
    QFETCH(QString, status);
    QFETCH(int, beeps);
    QFETCH(QString, box);
    QFETCH(QString, focus);

    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(1);
    QVERIFY(f);
    perform(*f, Steps{"more"} + steps);
    if (!box.isEmpty())
        ui.answer(MsgAnswer::OK);
    ui.clearRecords();

    QTest::mouseClick(f->cmdOK, Qt::LeftButton);

    QVERIFY(ui.reportRuns.isEmpty());
    QCOMPARE(ui.beeps, beeps);
    if (!status.isEmpty())
        QCOMPARE(ui.statuses.last(), status);
    QCOMPARE(ui.boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty())
        QCOMPARE(describe(ui.boxes.first()), box);
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(f->isVisible());
}

// Opened the way the main window opens it: browse ends the command once the
// grid is closed; a report use stays until Close.
void tst_SelectCriteria::openedAsTheMenuCommand_data()
{
    QTest::addColumn<int>("use");
    QTest::addColumn<QString>("report"); // the definition run; empty for browse
    QTest::newRow("browse") << 0 << "";
    QTest::newRow("report 003") << 3 << "Kepix003.rpt";
    QTest::newRow("missing issues") << 4 << "Kepix004.rpt";
}

void tst_SelectCriteria::openedAsTheMenuCommand()
{
    QFETCH(int, use);
    QFETCH(QString, report);
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    QWidget window;
    QTimer timer;
    timer.setInterval(7000);
    timer.start();
    BrowseWatch watch;
    bool screenShown = false;
    bool timerStopped = false;
    if (use != 0)
        ui.answerReport(ScriptedUi::ReportEnd::Success);
    QTimer::singleShot(0, &window, [&] {
        auto *f = qobject_cast<frmSelectCriteria *>(QApplication::activeModalWidget());
        if (!f)
            return;
        screenShown = true;
        timerStopped = !timer.isActive();
        if (use == 0)
            watch.arm(f);
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        if (use != 0) {
            QVERIFY(f->isVisible());
            QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        }
    });

    shell::runScreenCommand<frmSelectCriteria>(
        &timer, &window, [use](frmSelectCriteria &f) { return f.frmSelectCriteria_SetUpForm(use); });

    QVERIFY(screenShown);
    QVERIFY(timerStopped);
    QVERIFY(timer.isActive());
    QCOMPARE(watch.shown, use == 0);
    if (use == 0)
        QCOMPARE(watch.rows, Everything);
    else
        QCOMPARE(ui.reportRuns.size(), 1);
    if (use != 0)
        QCOMPARE(QFileInfo(ui.reportRuns.first().reportFile).fileName(), report);
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(!window.findChild<frmSelectCriteria *>());
}

// Without companies the user is told and the screen never appears.
void tst_SelectCriteria::noCompanies()
{
    TempCollection c;
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    QWidget window;
    QTimer timer;
    bool screenShown = false;
    QTimer::singleShot(0, &window, [&] {
        if (auto *f = QApplication::activeModalWidget()) {
            screenShown = true;
            f->close();
        }
    });

    shell::runScreenCommand<frmSelectCriteria>(
        &timer, &window, [](frmSelectCriteria &f) { return f.frmSelectCriteria_SetUpForm(0); });
    QTest::qWait(20);

    QVERIFY(!screenShown);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), NoCompanyData);
}

// An engine failure while the titles are read is reported in a box and
// leaves the screen usable, without a title choice.
void tst_SelectCriteria::collectionGoneWhileChoosing()
{
    TempCollection c;
    sampleCollection(c);
    ScriptedUi ui;
    auto f = open(0);
    QVERIFY(f);
    db::dbCollection().close();
    ui.answer(MsgAnswer::OK);

    perform(*f, {"company:Acme"});

    QCOMPARE(ui.boxes.size(), 1);
    QVERIFY(ui.boxes.first().text.startsWith("The titles of the company could not be read."));
    QCOMPARE(ui.boxes.first().title, QStringLiteral("Data Error"));
    QCOMPARE(ui.boxes.first().icon, MsgIcon::Critical);
    QVERIFY(!f->cboTitle->isVisible());
    QVERIFY(f->isVisible());
}

QTEST_MAIN(tst_SelectCriteria)
#include "tst_selectcriteria.moc"
