#include "catalogue/bulkdelete/frmbulkdelete.h"
#include "db/session.h"
#include "shell/commandscope.h"
#include "support/combochoice.h"
#include "support/openscreen.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

using namespace platform;

namespace {
const QString CompanyWarning = "WARNING: You are about to delete all Titles, Issues and data associated with "
                               "company, %1; are you sure you want to proceed?";
const QString TitleWarning = "WARNING: You are about to delete all Issues and data associated with title, "
                             "%1; are you sure you want to "
                             "proceed?";

QString confirmBox(const QString &text)
{
    return describeBox(text, "Confirm Delete", MsgButtons::YesNo, MsgIcon::Question, MsgAnswer::No);
}

QString noTitlesBox(const QString &company)
{
    return describeBox("No Titles exist for Company " + company, "No Titles Found", MsgButtons::OK,
                       MsgIcon::Critical);
}

void exec(const QString &sql, const QVariantList &params = {})
{
    db::dbCollection().execute(sql, ExecuteOption::FailOnError, params);
}

void addPrice(const QString &titleId)
{
    exec("INSERT INTO CoverPrice (Title_ID, Cover_Price) VALUES (?, 10000)", {titleId});
}

void addIssue(const QString &titleId, int number)
{
    exec("INSERT INTO Issue (Title_ID, IssueNum, Condition, Quantity) VALUES (?, ?, 1, 1)",
         {titleId, number});
}

// Acme: Iron Kite (price, two issues) and Nightowl (price only); Blue Moon:
// Bolt (price, one issue); O'Brien's: Jack's "Run" (price only); Empty Press
// without titles.
void standardCollection(TempCollection &c)
{
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "Blue Moon");
    c.addCompany("O'B", "O'Brien's");
    c.addCompany("EMP", "Empty Press");
    c.addTitle("IK", "Iron Kite", "ACM");
    c.addTitle("Nhl", "Nightowl", "ACM");
    c.addTitle("Bt", "Bolt", "BLM");
    c.addTitle("J'\"", "Jack's \"Run\"", "O'B");
    for (const char *id : {"IK", "Nhl", "Bt", "J'\""})
        addPrice(id);
    addIssue("IK", 1);
    addIssue("IK", 2);
    addIssue("Bt", 7);
}

// The keys left in each table, e.g. "Company:ACM,BLM Title:IK ...".
QString contents()
{
    QStringList parts;
    const QList<std::pair<QString, QString>> tables{{"Company", "Company_ID"},
                                                    {"Title", "Title_ID"},
                                                    {"CoverPrice", "Title_ID"},
                                                    {"Issue", "Title_ID || '#' || IssueNum"}};
    for (const auto &[table, key] : tables) {
        const QVariant keys = db::dbCollection().scalar("SELECT group_concat(k, ',') FROM (SELECT " + key +
                                                        " AS k FROM " + table + " ORDER BY 1)");
        parts << table + ":" + keys.toString();
    }
    return parts.join(' ');
}

const QString Untouched =
    "Company:ACM,BLM,EMP,O'B Title:Bt,IK,J'\",Nhl CoverPrice:Bt,IK,J'\",Nhl Issue:Bt#7,IK#1,IK#2";
} // namespace

class tst_BulkDelete : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void deletion_data();
    void deletion();
    void notConfirmed_data();
    void notConfirmed();
    void enterInAListDeletesNothing();
    void nothingSelected_data();
    void nothingSelected();
    void failureMidwayDeletesNothing_data();
    void failureMidwayDeletesNothing();
    void finalRowNotRemoved();
    void lastCompany();
    void close_data();
    void close();
    void openedAsMenuCommand();

private:
    static std::unique_ptr<frmBulkDelete> open()
    {
        return openScreen<frmBulkDelete>([](frmBulkDelete &s) { return LoadBulkDeleteCompanyList(s); });
    }
    // Company, then a title ("All Titles" for the whole company).
    static bool choose(frmBulkDelete &f, const QString &company, const QString &title)
    {
        return chooseItem(f.cboCompany, company) && f.cboTitle->isVisible() && chooseItem(f.cboTitle, title);
    }
};

void tst_BulkDelete::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

// Exactly the rows under the choice go, names with quotes included; the
// lists then show what is left and the screen stays for more.
void tst_BulkDelete::deletion_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QStringList>("titlesAfter"); // empty: title controls hidden
    QTest::addColumn<QString>("afterBox");
    QTest::addColumn<QString>("status");

    QTest::newRow("company with issues")
        << "Acme"
        << "All Titles" << CompanyWarning.arg("Acme")
        << "Company:BLM,EMP,O'B Title:Bt,J'\" CoverPrice:Bt,J'\" Issue:Bt#7" << QStringList() << QString()
        << "Company Acme deleted with its 2 titles, 2 issues and 2 cover prices";
    QTest::newRow("company whose title has no issues, apostrophe")
        << "O'Brien's"
        << "All Titles" << CompanyWarning.arg("O'Brien's")
        << "Company:ACM,BLM,EMP Title:Bt,IK,Nhl CoverPrice:Bt,IK,Nhl Issue:Bt#7,IK#1,IK#2" << QStringList()
        << QString() << "Company O'Brien's deleted with its 1 title, 0 issues and 1 cover price";
    QTest::newRow("title with issues")
        << "Acme"
        << "Iron Kite" << TitleWarning.arg("Iron Kite")
        << "Company:ACM,BLM,EMP,O'B Title:Bt,J'\",Nhl CoverPrice:Bt,J'\",Nhl Issue:Bt#7"
        << QStringList{"All Titles", "Nightowl"} << QString()
        << "Title Iron Kite deleted with its 2 issues and 1 cover price";
    QTest::newRow("title without issues")
        << "Acme"
        << "Nightowl" << TitleWarning.arg("Nightowl")
        << "Company:ACM,BLM,EMP,O'B Title:Bt,IK,J'\" CoverPrice:Bt,IK,J'\" Issue:Bt#7,IK#1,IK#2"
        << QStringList{"All Titles", "Iron Kite"} << QString()
        << "Title Nightowl deleted with its 0 issues and 1 cover price";
    QTest::newRow("last title of its company, quotes")
        << "O'Brien's"
        << "Jack's \"Run\"" << TitleWarning.arg("Jack's \"Run\"")
        << "Company:ACM,BLM,EMP,O'B Title:Bt,IK,Nhl CoverPrice:Bt,IK,Nhl Issue:Bt#7,IK#1,IK#2"
        << QStringList() << noTitlesBox("O'Brien's")
        << "Title Jack's \"Run\" deleted with its 0 issues and 1 cover price";
}

void tst_BulkDelete::deletion()
{
    QFETCH(QString, company);
    QFETCH(QString, title);
    QFETCH(QString, warning);
    QFETCH(QString, left);
    QFETCH(QStringList, titlesAfter);
    QFETCH(QString, afterBox);
    QFETCH(QString, status);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(f->cboCompany->currentIndex(), -1);
    QVERIFY(!f->cboTitle->isVisible() && !f->lblStatic[1]->isVisible());
    QVERIFY(chooseItem(f->cboCompany, company));
    QCOMPARE(f->cboTitle->currentIndex(), 0);
    QVERIFY(f->lblStatic[1]->isVisible());
    QVERIFY(chooseItem(f->cboTitle, title));

    ui.answer(MsgAnswer::Yes);
    if (!afterBox.isEmpty())
        ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);

    QStringList expected{confirmBox(warning)};
    if (!afterBox.isEmpty())
        expected << afterBox;
    QStringList shown;
    for (const MessageRequest &b : ui.boxes)
        shown << describe(b);
    QCOMPARE(shown, expected);
    QCOMPARE(contents(), left);
    QVERIFY2(ui.statuses.contains(status), qPrintable(ui.statuses.join('/')));
    QVERIFY(f->isVisible());
    QCOMPARE(f->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!db::dbCollection().inTransaction());

    if (title == "All Titles") {
        QVERIFY(!itemsOf(f->cboCompany).contains(company));
        QCOMPARE(f->cboCompany->currentIndex(), -1);
        QCOMPARE(f->cboTitle->count(), 0);
    } else {
        QCOMPARE(f->cboCompany->currentText(), company);
        QCOMPARE(itemsOf(f->cboTitle), titlesAfter.isEmpty() ? QStringList{"All Titles"} : titlesAfter);
        QCOMPARE(f->cboTitle->currentIndex(), titlesAfter.isEmpty() ? -1 : 0);
    }
    QCOMPARE(f->cboTitle->isVisible(), !titlesAfter.isEmpty());
    QCOMPARE(f->lblStatic[1]->isVisible(), !titlesAfter.isEmpty());

    // Whatever is left can be deleted next without reopening the screen.
    ui.answer(MsgAnswer::Yes);
    QVERIFY(choose(*f, "Blue Moon", "All Titles"));
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);
    QVERIFY(!contents().contains("Bt"));
}

// Only Yes deletes: No, Enter on the question (No is its default answer)
// and Escape on the screen, which presses Delete All and so asks first.
void tst_BulkDelete::notConfirmed_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("byEscape");

    QTest::newRow("company, No") << "All Titles" << false;
    QTest::newRow("title, No") << "Bolt" << false;
    QTest::newRow("company, Escape then No") << "All Titles" << true;
}

void tst_BulkDelete::notConfirmed()
{
    QFETCH(QString, title);
    QFETCH(bool, byEscape);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Blue Moon", title));
    ui.answer(MsgAnswer::No);
    if (byEscape)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
        QTest::mouseClick(f->cmdDelete, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()),
             confirmBox(title == "All Titles" ? CompanyWarning.arg("Blue Moon") : TitleWarning.arg(title)));
    QCOMPARE(contents(), Untouched);
    QVERIFY(f->isVisible());
    QCOMPARE(f->cboTitle->currentText(), title);
}

// The screen has no default button: Enter in a list presses nothing.
void tst_BulkDelete::enterInAListDeletesNothing()
{
    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Blue Moon", "All Titles"));
    for (QComboBox *list : {f->cboCompany, f->cboTitle}) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    }
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(f->isVisible());
    QCOMPARE(contents(), Untouched);
}

// Delete All without a company and title to delete says so and asks nothing.
void tst_BulkDelete::nothingSelected_data()
{
    QTest::addColumn<QString>("company"); // "" for none

    QTest::newRow("no company chosen") << QString();
    QTest::newRow("company without titles") << "Empty Press";
}

void tst_BulkDelete::nothingSelected()
{
    QFETCH(QString, company);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    if (!company.isEmpty()) {
        ui.answer(MsgAnswer::OK);
        QVERIFY(chooseItem(f->cboCompany, company));
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(describe(ui.boxes.first()), noTitlesBox(company));
        QVERIFY(!f->cboTitle->isVisible() && !f->lblStatic[1]->isVisible());
    }
    ui.clearRecords();
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);
    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(ui.statuses, QStringList{"Nothing selected for deletion..."});
    QCOMPARE(contents(), Untouched);
}

// A statement failing part-way takes back every row the deletion had
// already removed; the user is told and the screen stays usable.
void tst_BulkDelete::failureMidwayDeletesNothing_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("failingTable");

    for (const char *table : {"CoverPrice", "Issue", "Title", "Company"})
        QTest::addRow("company, fails on %s", table) << "All Titles" << table;
    for (const char *table : {"Issue", "Title"})
        QTest::addRow("title, fails on %s", table) << "Iron Kite" << table;
}

void tst_BulkDelete::failureMidwayDeletesNothing()
{
    QFETCH(QString, title);
    QFETCH(QString, failingTable);

    TempCollection c;
    standardCollection(c);
    exec("CREATE TEMP TRIGGER injected BEFORE DELETE ON " + failingTable +
         " BEGIN SELECT RAISE(ABORT, 'injected failure'); END");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", title));
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 2);
    const MessageRequest &box = ui.boxes.at(1);
    QCOMPARE(box.title, QStringLiteral("Deletion Problem"));
    QCOMPARE(box.icon, MsgIcon::Critical);
    QCOMPARE(box.buttons, MsgButtons::OK);
    QVERIFY(box.text.startsWith("The deletion could not be completed; nothing was deleted.\n\n"));
    QVERIFY(box.text.contains("injected failure"));
    QCOMPARE(contents(), Untouched);
    QVERIFY(!db::dbCollection().inTransaction());
    QCOMPARE(f->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(f->isVisible());

    // Once the cause is gone the same choice deletes.
    exec("DROP TRIGGER injected");
    ui.answer(MsgAnswer::Yes);
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 3);
    QVERIFY(!contents().contains("IK"));
}

// The chosen row itself not removed: everything rolls back, the usual
// notice, and the screen closes.
void tst_BulkDelete::finalRowNotRemoved()
{
    TempCollection c;
    standardCollection(c);
    exec("CREATE TEMP TRIGGER skipped BEFORE DELETE ON Company BEGIN SELECT RAISE(IGNORE); END");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "All Titles"));
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 2);
    QCOMPARE(describe(ui.boxes.at(1)),
             describeBox("Unexpected error on deletion, please close application and try again.  If problem "
                         "persists, contact vendor.",
                         "Deletion Problem", MsgButtons::OK, MsgIcon::None));
    QCOMPARE(contents(), Untouched);
    QVERIFY(!db::dbCollection().inTransaction());
    QVERIFY(!f->isVisible());
    QVERIFY(!db::session().rsCompany && !db::session().rsTitle);
}

// Removing the last company ends with the no-company notice and the screen
// closing.
void tst_BulkDelete::lastCompany()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addTitle("IK", "Iron Kite", "ACM");
    addPrice("IK");
    addIssue("IK", 1);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "All Titles"));
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdDelete, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 2);
    QCOMPARE(describe(ui.boxes.at(1)),
             describeBox("Please enter Company information prior to using this function.", "No Company Data",
                         MsgButtons::OK, MsgIcon::None));
    QCOMPARE(contents(), QStringLiteral("Company: Title: CoverPrice: Issue:"));
    QVERIFY(!f->isVisible());
}

// Close and the title bar's close button leave without deleting and release
// the shared lists.
void tst_BulkDelete::close_data()
{
    QTest::addColumn<bool>("titleBar");
    QTest::newRow("Close") << false;
    QTest::newRow("title bar") << true;
}

void tst_BulkDelete::close()
{
    QFETCH(bool, titleBar);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "All Titles"));
    if (titleBar)
        f->close();
    else
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(!f->isVisible());
    QCOMPARE(contents(), Untouched);
    QVERIFY(!db::session().rsCompany && !db::session().rsTitle);
}

// The way the main window opens the screen: shown modally with its list,
// and a deletion made there is kept after it closes.
void tst_BulkDelete::openedAsMenuCommand()
{
    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    ui.answer(MsgAnswer::Yes);
    ui.answer(MsgAnswer::OK); // Bolt was Blue Moon's only title
    QWidget window;
    QTimer tmrMain;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *f = qobject_cast<frmBulkDelete *>(QApplication::activeModalWidget());
        if (!f)
            return;
        shown = choose(*f, "Blue Moon", "Bolt");
        QTest::mouseClick(f->cmdDelete, Qt::LeftButton);
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    });
    shell::runScreenCommand<frmBulkDelete>(&tmrMain, &window,
                                           [](frmBulkDelete &f) { return LoadBulkDeleteCompanyList(f); });
    QVERIFY(shown);
    QCOMPARE(describe(ui.boxes.value(1)), noTitlesBox("Blue Moon"));
    QVERIFY(!contents().contains("Bt"));
    QVERIFY(contents().contains("BLM"));
    QVERIFY(tmrMain.isActive());
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(tst_BulkDelete)
#include "tst_bulkdelete.moc"
