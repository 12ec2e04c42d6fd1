#include "catalogue/addcompany/frmaddcompany.h"
#include "db/identifiers.h"
#include "db/session.h"
#include "support/keyboard.h"
#include "support/openscreen.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {
const QString CompanyExists = describeBox("This Company name already exists, please try again",
                                          "Company Exists", MsgButtons::OK, MsgIcon::Exclamation);
const QString NoName = describeBox("No Company Name Defined, please enter Company Name", "Enter Company Name",
                                   MsgButtons::OK, MsgIcon::Exclamation);
const QString TooLong = describeBox("Company name must be 25 characters or less", "Name Too Long",
                                    MsgButtons::OK, MsgIcon::Exclamation);
const QString Unusable =
    describeBox("A Company ID cannot be made from this name, please use letters or digits "
                "rather than only spaces, brackets or #",
                "Unusable Company Name", MsgButtons::OK, MsgIcon::Exclamation);

// The companies stored, as "ID=name" in key order.
QStringList storedCompanies()
{
    QStringList out;
    auto rs = db::dbCollection().openRecordset("Select * from Company order by Company_ID");
    while (!rs->eof()) {
        out << rs->value("Company_ID").toString() + "=" + rs->value("Company").toString();
        rs->moveNext();
    }
    out.sort();
    return out;
}
} // namespace

class tst_AddCompany : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void addInOneVisit_data();
    void addInOneVisit();
    void nameCheck_data();
    void nameCheck();
    void checkRunsOnceAndNotForEmpty();
    void addRefused_data();
    void addRefused();
    void identifiersExhausted();
    void engineRefusalLeavesScreenUsable();
    void emptyTableAtLoad();
    void tabOrderAndClose_data();
    void tabOrderAndClose();

private:
    std::unique_ptr<frmAddCompany> open() { return openScreen<frmAddCompany>(); }
};

// Each name is typed over the box's text and Add is clicked (which leaves
// the box first): identifiers differ, names are stored as typed.
void tst_AddCompany::addInOneVisit_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<bool>("keyboard"); // Tab to Add and Enter, else a click on Add

    QTest::newRow("same base identifier")
        << QStringList{"Starlight", "Sorbet"} << QStringList{"SRA=Sorbet", "SRT=Starlight"} << false;
    QTest::newRow("Tab, Enter on Add")
        << QStringList{"Starlight", "Sorbet"} << QStringList{"SRA=Sorbet", "SRT=Starlight"} << true;
    QTest::newRow("spacing and case kept") << QStringList{"blue  MOON ", "Blue Moon"}
                                           << QStringList{"BMA=Blue Moon", "BMN=blue  MOON "} << false;
    QTest::newRow("quotes") << QStringList{"D'Or", "\"Q\" Press"}
                            << QStringList{"\"PS=\"Q\" Press", "D'R=D'Or"} << false;
    QTest::newRow("accents") << QStringList{"éclair", "Éloir"} << QStringList{"ÉLA=Éloir", "ÉLR=éclair"}
                             << false;
    QTest::newRow("25 characters") << QStringList{"Abcdefghijklmnopqrstuvwxy"}
                                   << QStringList{"ALY=Abcdefghijklmnopqrstuvwxy"} << false;
    QTest::newRow("short names") << QStringList{"K", "k2"} << QStringList{"K2=k2", "K=K"} << false;
    QTest::newRow("pasted invisible characters")
        << QStringList{"\uFEFFStarlight", "Sorbet\u200B", "E\u0301clair"}
        << QStringList{"SRA=Sorbet", "SRT=Starlight", "ÉLR=Éclair"} << false;
}

void tst_AddCompany::addInOneVisit()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, stored);
    QFETCH(bool, keyboard);

    TempCollection c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    for (const QString &name : names) {
        typeOver(f->txtCompanyName, name);
        if (keyboard) {
            QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f->cmdAdd);
            QTest::keyClick(f->cmdAdd, Qt::Key_Return);
        } else {
            QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        }
        QVERIFY2(ui.statuses.contains("Company " + db::CleanName(name) + " added..."),
                 qPrintable(ui.statuses.join('/')));
        // The prompt is shown, selected, with the focus, so typing replaces it.
        QCOMPARE(f->txtCompanyName->text(), QStringLiteral("Add another company?"));
        QCOMPARE(QApplication::focusWidget(), f->txtCompanyName);
        QCOMPARE(f->txtCompanyName->selectedText(), QStringLiteral("Add another company?"));
        QCOMPARE(ui.statuses.last(), QStringLiteral("Enter another Company or Close to quit"));
    }
    QCOMPARE(storedCompanies(), stored);
    QCOMPARE(f->companyLists().count(), names.size());
    QVERIFY(ui.boxes.isEmpty());
}

// Leaving the box with a name: refused ones bring a box and put the focus
// back on the selected name; accepted ones move the focus to Add.
void tst_AddCompany::nameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("status");

    const QString accepted = "Enter Add to add company data or close to abort";
    QTest::newRow("same name") << u"Blue Moon"_s << CompanyExists << u"Company name already exists"_s;
    QTest::newRow("other case") << u"BLUE moon"_s << CompanyExists << u"Company name already exists"_s;
    QTest::newRow("accented other case") << u"ÉCLAIR"_s << CompanyExists << u"Company name already exists"_s;
    QTest::newRow("quoted other case")
        << u"IT'S \"BIG\""_s << CompanyExists << u"Company name already exists"_s;
    QTest::newRow("trailing space") << u"Blue Moon "_s << QString() << accepted;
    QTest::newRow("25 characters") << QString(25, 'z') << QString() << accepted;
    QTest::newRow("25 characters, one beyond 16 bits")
        << QString(24, 'z') + QString::fromUcs4(U"\U0001D50A") << QString() << accepted;
    QTest::newRow("26 characters") << QString(26, 'z') << TooLong
                                   << u"Company name must be less than 25 characters"_s;
    QTest::newRow("only brackets and hashes") << u"( # )"_s << Unusable << u"Company name cannot be used"_s;
    QTest::newRow("bracketed letter") << u"(a)"_s << Unusable << u"Company name cannot be used"_s;
}

void tst_AddCompany::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(QString, box);
    QFETCH(QString, status);

    TempCollection c;
    c.addCompany("BMN", "Blue Moon");
    c.addCompany("ÉLR", "Éclair");
    c.addCompany("IBG", "It's \"Big\"");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    if (!box.isEmpty())
        ui.answer(MsgAnswer::OK);
    typeOver(f->txtCompanyName, name);
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);

    QCOMPARE(described(ui.boxes), box.isEmpty() ? QStringList() : QStringList{box});
    QCOMPARE(ui.statuses.last(), status);
    if (box.isEmpty()) {
        QCOMPARE(QApplication::focusWidget(), f->cmdAdd);
        QVERIFY(!f->pendingId().isEmpty());
    } else {
        QCOMPARE(QApplication::focusWidget(), f->txtCompanyName);
        QTRY_COMPARE(f->txtCompanyName->selectedText(), name);
        QVERIFY(f->pendingId().isEmpty());
    }
    QCOMPARE(c.count("Company"), 3);
}

void tst_AddCompany::checkRunsOnceAndNotForEmpty()
{
    TempCollection c;
    c.addCompany("BMN", "Blue Moon");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);

    ui.clearRecords();
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f->cmdExit);
    QVERIFY(ui.statuses.isEmpty());

    typeOver(f->txtCompanyName, "Starlight");
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    QTest::mouseClick(f->txtCompanyName, Qt::LeftButton);
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    QCOMPARE(ui.statuses.count("Checking for unique Company name"), 1);
    QCOMPARE(ui.statuses.count("Establishing the Company ID"), 1);
    QCOMPARE(f->pendingId(), QStringLiteral("SRT"));
}

// Add without an accepted name writes nothing and says why once; a good
// name then adds. Add reached while the name box still has the focus
// (nothing has left it) checks the name first.
void tst_AddCompany::addRefused_data()
{
    QTest::addColumn<QString>("accepted"); // typed and left first ("" for none)
    QTest::addColumn<QString>("typed");    // then typed before Add
    QTest::addColumn<bool>("leftBox");     // Add clicked (leaving the box) or run with the focus still there
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("nothing typed") << QString() << QString() << true << QStringList{NoName};
    QTest::newRow("emptied after acceptance") << u"Starlight"_s << QString() << true << QStringList{NoName};
    QTest::newRow("spaces after acceptance") << u"Starlight"_s << u"   "_s << true << QStringList{NoName};
    QTest::newRow("too long after acceptance")
        << u"Starlight"_s << QString(26, 'q') << true << QStringList{TooLong};
    QTest::newRow("duplicate after acceptance")
        << u"Starlight"_s << u"blue moon"_s << true << QStringList{CompanyExists};
    QTest::newRow("duplicate") << QString() << u"Blue Moon"_s << true << QStringList{CompanyExists};
    QTest::newRow("duplicate, box never left")
        << QString() << u"blue moon"_s << false << QStringList{CompanyExists};
    QTest::newRow("unusable") << QString() << u"###"_s << true << QStringList{Unusable};
}

void tst_AddCompany::addRefused()
{
    QFETCH(QString, accepted);
    QFETCH(QString, typed);
    QFETCH(bool, leftBox);
    QFETCH(QStringList, boxes);

    TempCollection c;
    c.addCompany("BMN", "Blue Moon");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    const auto add = [&] {
        if (leftBox)
            QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
        else
            f->cmdAdd_Click();
    };
    if (!accepted.isEmpty()) {
        typeOver(f->txtCompanyName, accepted);
        QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->cmdAdd);
    }
    for (int i = 0; i < boxes.size(); ++i)
        ui.answer(MsgAnswer::OK);
    typeOver(f->txtCompanyName, typed);
    add();

    QCOMPARE(described(ui.boxes), boxes);
    QCOMPARE(storedCompanies(), QStringList{"BMN=Blue Moon"});
    QVERIFY(!ui.statuses.contains("Adding new Company"));

    typeOver(f->txtCompanyName, "Nightowl");
    add();
    QCOMPARE(storedCompanies(), (QStringList{"BMN=Blue Moon", "NHL=Nightowl"}));
    QCOMPARE(ui.boxes.size(), boxes.size());
}

// The base and every variant up to "Y" taken (the "T" variant is the base):
// the generator's box, nothing stored, and the Z variant is not used. The
// name accepted before keeps its own identifier when it is typed again.
void tst_AddCompany::identifiersExhausted()
{
    TempCollection c;
    c.addCompany("SRT", "Base");
    for (char s = 'A'; s <= 'Y'; ++s) // "SRT" is the base itself
        if (s != 'T')
            c.addCompany(QStringLiteral("SR") + QChar(s), QStringLiteral("Variant ") + QChar(s));
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);

    typeOver(f->txtCompanyName, "Blue Moon");
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    QCOMPARE(f->pendingId(), QStringLiteral("BMN"));

    ui.answer(MsgAnswer::OK);
    typeOver(f->txtCompanyName, "Starlight");
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    const QString sorry =
        describeBox("Sorry, could not generate a CompanyID", "Panelkeep", MsgButtons::OK, MsgIcon::None);
    QCOMPARE(described(ui.boxes), QStringList{sorry});
    QCOMPARE(f->pendingId(), QStringLiteral("@@@"));
    QCOMPARE(QApplication::focusWidget(), f->txtCompanyName);

    // Clicking Add leaves the box (checked again) and then says why Add
    // cannot store it.
    ui.answer(MsgAnswer::OK);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(described(ui.boxes),
             (QStringList{
                 sorry, sorry,
                 describeBox("Company Name exists in the database, please define a different Company Name",
                             "Company Name must be unique", MsgButtons::OK, MsgIcon::Exclamation)}));
    QCOMPARE(c.count("Company"), 25);

    typeOver(f->txtCompanyName, "Blue Moon");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 3);
    QVERIFY(storedCompanies().contains("BMN=Blue Moon"));
    QCOMPARE(c.count("Company"), 26);
}

// A key taken behind the screen's back: the engine refuses, the user is
// told, nothing is stored and the next add works.
void tst_AddCompany::engineRefusalLeavesScreenUsable()
{
    TempCollection c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    c.addCompany("SRT", "Elsewhere");

    ui.answer(MsgAnswer::OK);
    typeOver(f->txtCompanyName, "Starlight");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes.first().title, QStringLiteral("Data Error"));
    QCOMPARE(ui.boxes.first().icon, MsgIcon::Critical);
    QVERIFY(ui.boxes.first().text.startsWith("The company could not be added."));
    QCOMPARE(ui.statuses.last(), QStringLiteral("Company not added"));
    QCOMPARE(storedCompanies(), QStringList{"SRT=Elsewhere"});

    typeOver(f->txtCompanyName, "Nightowl");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(storedCompanies(), (QStringList{"NHL=Nightowl", "SRT=Elsewhere"}));
    QCOMPARE(ui.boxes.size(), 1);
}

void tst_AddCompany::emptyTableAtLoad()
{
    {
        // An unreadable collection is a data error; the screen still opens.
        TempCollection broken;
        db::dbCollection().close();
        ScriptedUi ui;
        ui.answer(MsgAnswer::OK);
        auto f = open();
        QVERIFY(f);
        QCOMPARE(described(ui.boxes),
                 QStringList{describeBox("Unexpected data error, restart application and try again.  If "
                                         "problem persists, contact vendor",
                                         "Data Error", MsgButtons::OK, MsgIcon::None)});
    }
    TempCollection c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(ui.statuses, (QStringList{"Retrieving Company information", "No Company data"}));
    typeOver(f->txtCompanyName, "Starlight");
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    QVERIFY(!ui.statuses.contains("Checking for unique Company name"));
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(storedCompanies(), QStringList{"SRT=Starlight"});
}

// The keyboard walks name box, Close, Add; Close, Escape and the window's
// close button all leave, releasing rsCompany. Escape and the close button
// take the focus to no control of the screen, so a name the check would
// refuse brings no box.
void tst_AddCompany::tabOrderAndClose_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("Close button") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("window close") << 2;
}

void tst_AddCompany::tabOrderAndClose()
{
    QFETCH(int, how);
    TempCollection c;
    c.addCompany("BMN", "Blue Moon");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(QApplication::focusWidget(), f->txtCompanyName);
    QCOMPARE(f->companyLists().names, QStringList{"Blue Moon"});
    QTest::keyClick(f->txtCompanyName, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f->cmdExit);
    QTest::keyClick(f->cmdExit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f->cmdAdd);
    QVERIFY(db::session().rsCompany);

    if (how == 0) {
        QTest::mouseClick(f->cmdExit, Qt::LeftButton);
    } else {
        typeOver(f->txtCompanyName, QString(26, 'z'));
        if (how == 1)
            QTest::keyClick(f->txtCompanyName, Qt::Key_Escape);
        else
            f->close();
    }
    QVERIFY(!f->isVisible());
    // Let the window system's deactivation arrive.
    QTRY_VERIFY(QApplication::focusWidget() != f->txtCompanyName);
    QVERIFY(!db::session().rsCompany);
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(!ui.statuses.contains("Company name must be less than 25 characters"));
    QCOMPARE(c.count("Company"), 1);
}

QTEST_MAIN(tst_AddCompany)
#include "tst_addcompany.moc"
