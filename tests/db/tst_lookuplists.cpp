#include "db/lookuplists.h"
#include "db/session.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QComboBox>
#include <QListWidget>
#include <QStandardPaths>
#include <QTest>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {
QStringList items(const QComboBox &box)
{
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

QStringList items(const QListWidget &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}
} // namespace

class tst_LookupLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void companiesInNameOrder();
    void noCompanies();
    void closedCollectionIsADataError();
    void titlesOfOneCompany();
    void companyWithoutTitles();
    void keysOfQuotedNames_data();
    void keysOfQuotedNames();
    void unknownNameHasNoKey();
};

// Ordered by name without regard to case or accents (names equal that way
// by their exact text); a list widget fills like a combo, and an existing
// list is appended to, not cleared.
void tst_LookupLists::companiesInNameOrder()
{
    TempCollection c;
    c.addCompany("ZEB", "zebra Press");
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "blue Moon");
    c.addCompany("BRT", "Bright");
    c.addCompany("EDI", "Éditions Lumière");
    c.addCompany("EDG", "edge");
    c.addCompany("OLU", "ölund");
    c.addCompany("OLT", "Olt");
    c.addCompany("ECL", "Eclair");
    c.addCompany("ECA", "Éclair");
    const QStringList sorted{"Acme", "blue Moon",        "Bright", "Eclair", "Éclair",
                             "edge", "Éditions Lumière", "Olt",    "ölund",  "zebra Press"};

    ScriptedUi ui;
    QComboBox combo;
    QVERIFY(db::FillCompanyList(&combo));
    QCOMPARE(items(combo), sorted);

    QListWidget list;
    list.addItem("(already there)");
    QVERIFY(db::FillCompanyList(&list));
    QCOMPARE(items(list), QStringList{"(already there)"} + sorted);
    QVERIFY(ui.boxes.isEmpty());
}

void tst_LookupLists::noCompanies()
{
    TempCollection c;
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    QComboBox combo;
    QVERIFY(!db::FillCompanyList(&combo));
    QCOMPARE(combo.count(), 0);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()),
             describeBox("Please enter Company information prior to using this function.", "No Company Data",
                         MsgButtons::OK, MsgIcon::None));
}

// A failure other than an empty table is reported as a data error, not as
// missing companies, even when an earlier fill left rows in rsCompany.
void tst_LookupLists::closedCollectionIsADataError()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    QComboBox combo;
    QVERIFY(db::FillCompanyList(&combo));
    db::dbCollection().close();

    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    QVERIFY(!db::FillCompanyList(&combo));
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()),
             describeBox("Unexpected data error, restart application and try again.  If problem persists, "
                         "contact vendor",
                         "Data Error", MsgButtons::OK, MsgIcon::None));
    QVERIFY(!db::CompanyIdForName("Acme"));
}

void tst_LookupLists::titlesOfOneCompany()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "Blue Moon");
    c.addTitle("rKt", "rocket Rangers", "ACM");
    c.addTitle("Alp", "Alpha Flight", "ACM");
    c.addTitle("Bzz", "Buzz", "ACM");
    c.addTitle("Ete", "Été Indien", "ACM");
    c.addTitle("Mon", "Moonlight", "BLM");

    QComboBox titles;
    titles.setVisible(false);
    QVERIFY(db::FillTitleList(&titles, "ACM"));
    QCOMPARE(items(titles), (QStringList{"Alpha Flight", "Buzz", "Été Indien", "rocket Rangers"}));
    QVERIFY(!titles.isHidden());
    QCOMPARE(db::TitleIdForName("rocket Rangers"), std::optional<QString>("rKt"));
    QVERIFY(!db::TitleIdForName("Moonlight"));
}

void tst_LookupLists::companyWithoutTitles()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addCompany("EMP", "Empty");
    c.addTitle("Alp", "Alpha Flight", "ACM");

    QComboBox titles;
    titles.addItem("kept");
    titles.setVisible(false);
    QVERIFY(!db::FillTitleList(&titles, "EMP"));
    QCOMPARE(items(titles), QStringList{"kept"});
    QVERIFY(titles.isHidden());
}

// Quotes in names and keys are ordinary characters for the list, the find
// and the title query.
void tst_LookupLists::keysOfQuotedNames_data()
{
    QTest::addColumn<QString>("companyId");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("titleId");
    QTest::addColumn<QString>("title");

    QTest::newRow("apostrophes") << u"D'R"_s << u"D'Or Comics"_s << u"O'N"_s << u"O'Neil's Tales"_s;
    QTest::newRow("double quotes") << u"\"Q\""_s << u"The \"Quick\" Press"_s << u"\"A"_s
                                   << u"\"Ace\" Adventures"_s;
    QTest::newRow("both") << u"'\""_s << u"It's \"Big\""_s << u"'x"_s << u"'Twas \"Night\""_s;
    QTest::newRow("accents") << u"ÉLR"_s << u"Éclair"_s << u"ÉtÉ"_s << u"Été Éternel"_s;
}

void tst_LookupLists::keysOfQuotedNames()
{
    QFETCH(QString, companyId);
    QFETCH(QString, company);
    QFETCH(QString, titleId);
    QFETCH(QString, title);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addCompany(companyId, company);
    c.addTitle(titleId, title, companyId);
    c.addTitle("Alp", "Alpha Flight", "ACM");

    ScriptedUi ui;
    QComboBox companies;
    QVERIFY(db::FillCompanyList(&companies));
    QVERIFY(companies.findText(company) >= 0);
    QCOMPARE(db::CompanyIdForName(company), std::optional<QString>(companyId));
    QCOMPARE(db::CompanyIdForName("Acme"), std::optional<QString>("ACM"));

    QComboBox titles;
    QVERIFY(db::FillTitleList(&titles, companyId));
    QCOMPARE(items(titles), QStringList{title});
    QCOMPARE(db::TitleIdForName(title), std::optional<QString>(titleId));
    QVERIFY(ui.boxes.isEmpty());
}

void tst_LookupLists::unknownNameHasNoKey()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    QComboBox companies;
    QVERIFY(db::FillCompanyList(&companies));
    QVERIFY(!db::CompanyIdForName("Acme Press"));
    QVERIFY(!db::CompanyIdForName("\" or \"\"=\""));
    db::session().closeSlots();
    QVERIFY(!db::CompanyIdForName("Acme"));
    QVERIFY(!db::TitleIdForName("Anything"));
}

QTEST_MAIN(tst_LookupLists)
#include "tst_lookuplists.moc"
