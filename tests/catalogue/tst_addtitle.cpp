#include "catalogue/addtitle/frmaddtitle.h"
#include "db/session.h"
#include "platform/currency.h"
#include "support/keyboard.h"
#include "support/openscreen.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {
const QString TitleExists = describeBox("This Title already exists, please try again", "Title Exists",
                                        MsgButtons::OK, MsgIcon::Exclamation);
const QString TooLong = describeBox("Title name must be 35 characters or less", "Name Too Long",
                                    MsgButtons::OK, MsgIcon::Exclamation);
const QString Unusable = describeBox("A Title ID cannot be made from this name, please use letters or digits "
                                     "rather than only spaces, brackets or #",
                                     "Unusable Title", MsgButtons::OK, MsgIcon::Exclamation);
const QString NoTitle =
    describeBox("Must have a Title to Add", "No Title Defined", MsgButtons::OK, MsgIcon::Exclamation);
const QString BadPrice = describeBox("Must have a valid default cover price", "Invalid Cover Price",
                                     MsgButtons::OK, MsgIcon::Exclamation);
const QString BadYear = describeBox("Beginning Year must be a year of up to 4 digits", "Invalid Year",
                                    MsgButtons::OK, MsgIcon::Exclamation);
const QString NoCompany = describeBox("Must specify a company for the title", "No Company Selected",
                                      MsgButtons::OK, MsgIcon::Exclamation);
const QString Unsaved =
    describeBox("Title not saved, Ok to Close", "Unsaved Title", MsgButtons::YesNo, MsgIcon::Question);

// Every title as "ID|title|year|company|price", year "null" when absent and
// price in ten-thousandths ("none" without a cover price row).
QStringList storedTitles()
{
    QStringList out;
    auto rs = db::dbCollection().openRecordset("Select Title.Title_ID, Title, Begin_Year, Company_ID, "
                                               "Cover_Price from Title left join CoverPrice on "
                                               "CoverPrice.Title_ID = Title.Title_ID order by Title.Title_ID",
                                               RecordsetType::Snapshot);
    while (!rs->eof()) {
        const QVariant price = rs->value("Cover_Price");
        out << QStringList{rs->value("Title_ID").toString(), rs->value("Title").toString(),
                           rs->isNull("Begin_Year") ? QStringLiteral("null")
                                                    : rs->value("Begin_Year").toString(),
                           rs->value("Company_ID").toString(),
                           price.isNull() ? QStringLiteral("none")
                                          : QString::number(price.value<Currency>().scaled())}
                   .join('|');
        rs->moveNext();
    }
    return out;
}
// The collection most cases start from: one company and no titles.
struct OneCompany : TempCollection
{
    OneCompany() { addCompany("ACM", "Acme"); }
};
} // namespace

class tst_AddTitle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addStoresTitleAndPrice();
    void companyReadBack_data();
    void companyReadBack();
    void twoTitlesInOneVisit();
    void keyFilters_data();
    void keyFilters();
    void priceFormatting_data();
    void priceFormatting();
    void nameCheck_data();
    void nameCheck();
    void addRefused_data();
    void addRefused();
    void engineRefusal_data();
    void engineRefusal();
    void identifiersExhausted();
    void setRefused_data();
    void setRefused();
    void noTitlesYet();
    void tabOrder();
    void closeQuestion_data();
    void closeQuestion();

private:
    static std::unique_ptr<frmAddTitle> open()
    {
        return openScreen<frmAddTitle>([](frmAddTitle &s) { return s.frmAddTitle_Set(); });
    }
    // Chooses a company the way the keyboard does: focus the list and type
    // the start of its name.
    static void chooseCompany(frmAddTitle &f, const QString &start)
    {
        f.cboCompany->setFocus();
        if (start == "<Down>")
            QTest::keyClick(f.cboCompany, Qt::Key_Down);
        else
            typeText(f.cboCompany, start);
    }
    // The whole form filled in by keyboard; the title box is left by Tab.
    static void fill(frmAddTitle &f, const QString &title, const QString &company, const QString &price,
                     const QString &year)
    {
        typeOver(f.txtTitle, title);
        QTest::keyClick(f.txtTitle, Qt::Key_Tab);
        if (!company.isEmpty())
            chooseCompany(f, company);
        typeOver(f.txtCoverPrice, price);
        typeOver(f.txtBeginningYear, year);
    }
};

void tst_AddTitle::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// The title row and its cover price row; the price shown formatted on
// leaving its box; the next title starts in an empty, focused title box with
// company, price and year kept.
void tst_AddTitle::addStoresTitleAndPrice()
{
    OneCompany c;
    c.addCompany("BLM", "Blue Moon");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(QApplication::focusWidget(), f->txtTitle);
    QCOMPARE(f->cboCompany->currentIndex(), -1);

    fill(*f, "Iron Kite", "Blu", "1.5", "1990");
    QCOMPARE(f->cboCompany->currentText(), QStringLiteral("Blue Moon")); // the name alone, no key in sight
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(storedTitles(), QStringList{"IK|Iron Kite|1990|BLM|15000"});
    QVERIFY(ui.statuses.contains("Title Iron Kite added..."));
    QCOMPARE(ui.statuses.last(), QStringLiteral("Add another Title or select close"));
    QCOMPARE(f->txtTitle->text(), QString());
    QCOMPARE(QApplication::focusWidget(), f->txtTitle);
    QVERIFY(!f->unsavedTitle());
    QCOMPARE(f->txtCoverPrice->text(), QStringLiteral("$1.50"));
    QCOMPARE(f->txtBeginningYear->text(), QStringLiteral("1990"));
    QCOMPARE(f->cboCompany->currentIndex(), 1);
    QCOMPARE(f->titleLists().names, QStringList{"Iron Kite"});
    QCOMPARE(f->titleLists().ids, QStringList{"IK"});
}

// The key stored is the chosen company's, whatever its length or its first
// character.
void tst_AddTitle::companyReadBack_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("companyId");

    QTest::newRow("one character") << u"K"_s << u"K"_s;
    QTest::newRow("two characters") << QString("Ko") << QString("KO");
    QTest::newRow("leading space, first in name order") << QString("<Down>") << QString(" MC");
    QTest::newRow("three characters") << u"MC"_s << u"MC"_s;
    QTest::newRow("quotes") << u"It"_s << u"I'\""_s;
}

void tst_AddTitle::companyReadBack()
{
    QFETCH(QString, start);
    QFETCH(QString, companyId);

    TempCollection c;
    c.addCompany("K", "K");
    c.addCompany("KO", "Ko Press");
    c.addCompany(" MC", " Marvel Comics");
    c.addCompany("MC", "MC Press");
    c.addCompany("I'\"", "It's \"Big\"");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, "Nightowl", start, "2", "");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(storedTitles(), QStringList{"Nhl|Nightowl|null|" + companyId + "|20000"});
}

// Names giving the same base identifier, in any case, get different ones;
// quotes and accents are kept; a name added once is refused when retyped.
void tst_AddTitle::twoTitlesInOneVisit()
{
    OneCompany c;
    c.addCompany("BLM", "Blue Moon");
    c.addTitle("Nhl", "Nightowl", "BLM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);

    fill(*f, "NowHotel", "Acm", "1", "");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    typeOver(f->txtTitle, "O'Neil's \"Été\"");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    typeOver(f->txtTitle, "nowhotel");
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(described(ui.boxes), QStringList{TitleExists});
    QCOMPARE(storedTitles(), (QStringList{"NHA|NowHotel|null|ACM|10000", "Nhl|Nightowl|null|BLM|none",
                                          "O\"|O'Neil's \"Été\"|null|ACM|10000"}));
}

// Refused keys never reach the box: each beeps and says why. Where the
// locale writes amounts with its own decimal mark and symbol, those keys
// pass too (besides "$" and ".").
void tst_AddTitle::keyFilters_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("price");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("refused");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("price letters") << us << true << u"1a.5b"_s << u"1.5"_s << 2;
    QTest::newRow("price symbol and point") << us << true << u"$2.25"_s << u"$2.25"_s << 0;
    QTest::newRow("price comma and space") << us << true << u"1,0 0"_s << u"100"_s << 2;
    QTest::newRow("price accented letter") << us << true << u"é3"_s << u"3"_s << 1;
    QTest::newRow("price, German marks")
        << QLocale(QLocale::German, QLocale::Germany) << true << u"1,5€x"_s << u"1,5€"_s << 1;
    QTest::newRow("year letters") << us << false << u"19x9y"_s << u"199"_s << 2;
    QTest::newRow("year point and dollar") << us << false << u"$1.9"_s << u"19"_s << 2;
    QTest::newRow("year space") << us << false << u"19 99"_s << u"1999"_s << 1;
    QTest::newRow("year of five digits") << us << false << u"19901"_s << u"1990"_s << 0;
}

void tst_AddTitle::keyFilters()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, price);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, refused);

    OneCompany c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QLineEdit *box = price ? f->txtCoverPrice : f->txtBeginningYear;
    ui.clearRecords();
    QLocale::setDefault(locale);
    typeOver(box, typed);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(box->text(), shown);
    QCOMPARE(ui.beeps, refused);
    QCOMPARE(ui.statuses.count("Value must be numeric"), refused);

    // Backspace passes the filter.
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), shown.chopped(1));
    QCOMPARE(ui.beeps, refused);
}

void tst_AddTitle::priceFormatting_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("decimal") << u"1.5"_s << u"$1.50"_s;
    QTest::newRow("whole") << u"12"_s << u"$12.00"_s;
    QTest::newRow("grouping") << u"1234.5"_s << u"$1,234.50"_s;
    QTest::newRow("symbol typed") << u"$0.75"_s << u"$0.75"_s;
    QTest::newRow("empty stays") << u""_s << u""_s;
    QTest::newRow("not a number stays") << u"1.2.3"_s << u"1.2.3"_s;
    QTest::newRow("beyond the currency range stays")
        << u"99999999999999999999"_s << u"99999999999999999999"_s;
}

void tst_AddTitle::priceFormatting()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    OneCompany c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    typeOver(f->txtCoverPrice, typed);
    QTest::keyClick(f->txtCoverPrice, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f->txtBeginningYear);
    QCOMPARE(f->txtCoverPrice->text(), shown);
    QVERIFY(ui.boxes.isEmpty());
}

// Leaving the title box: refusals bring their box and keep the focus on the
// selected name; accepted names let the focus go where the user sent it.
void tst_AddTitle::nameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("status");

    QTest::newRow("other company's title") << u"Nightowl"_s << TitleExists << u"Tile must be unique"_s;
    QTest::newRow("other case") << u"NIGHTOWL"_s << TitleExists << u"Tile must be unique"_s;
    QTest::newRow("accented other case") << u"ÉTÉ"_s << TitleExists << u"Tile must be unique"_s;
    QTest::newRow("trailing space") << u"Nightowl "_s << QString() << QString();
    QTest::newRow("35 characters") << QString(35, 'w') << QString() << QString();
    QTest::newRow("35 characters, one beyond 16 bits")
        << QString(34, 'w') + QString::fromUcs4(U"\U0001D50A") << QString() << QString();
    QTest::newRow("36 characters") << QString(36, 'w') << TooLong << u"Tile must less than 35 characters"_s;
    QTest::newRow("only brackets") << u"(#)"_s << Unusable << u"Title cannot be used"_s;
}

void tst_AddTitle::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(QString, box);
    QFETCH(QString, status);

    OneCompany c;
    c.addCompany("BLM", "Blue Moon");
    c.addTitle("Nhl", "Nightowl", "BLM");
    c.addTitle("été", "Été", "BLM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    ui.clearRecords();
    if (!box.isEmpty())
        ui.answer(MsgAnswer::OK);
    typeOver(f->txtTitle, name);
    QTest::keyClick(f->txtTitle, Qt::Key_Tab);

    QCOMPARE(described(ui.boxes), box.isEmpty() ? QStringList() : QStringList{box});
    if (box.isEmpty()) {
        QVERIFY(ui.statuses.isEmpty());
        QCOMPARE(QApplication::focusWidget(), f->cboCompany);
        QVERIFY(f->unsavedTitle());
    } else {
        QCOMPARE(ui.statuses.last(), status);
        QCOMPARE(QApplication::focusWidget(), f->txtTitle);
        QTRY_COMPARE(f->txtTitle->selectedText(), name);
        QVERIFY(!f->unsavedTitle());
    }
}

// Add with something missing or refused writes nothing and says why once.
void tst_AddTitle::addRefused_data()
{
    QTest::addColumn<QString>("accepted"); // a name accepted first ("" for none)
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("year"); // the price and the year are pasted, past the key filters

    QTest::newRow("no title") << u""_s << u""_s << u"Acm"_s << u"1"_s << QStringList{NoTitle}
                              << u"Must have Title defined"_s << u""_s;
    QTest::newRow("spaces only") << u""_s << u"   "_s << u"Acm"_s << u"1"_s << QStringList{NoTitle}
                                 << u"Must have Title defined"_s << u""_s;
    QTest::newRow("no price") << u""_s << u"Iron Kite"_s << u"Acm"_s << u""_s << QStringList{BadPrice}
                              << u"Cover price is required"_s << u""_s;
    QTest::newRow("price only a point") << u""_s << u"Iron Kite"_s << u"Acm"_s << u"."_s
                                        << QStringList{BadPrice} << u"Cover price is required"_s << u""_s;
    QTest::newRow("no company") << u""_s << u"Iron Kite"_s << u""_s << u"1"_s << QStringList{NoCompany}
                                << u"Company information is required"_s << u""_s;
    QTest::newRow("duplicate") << u""_s << u"nightowl"_s << u"Acm"_s << u"1"_s << QStringList{TitleExists}
                               << u"Tile must be unique"_s << u""_s;
    QTest::newRow("duplicate after acceptance")
        << u"Iron Kite"_s << u"nightowl"_s << u"Acm"_s << u"1"_s << QStringList{TitleExists}
        << u"Tile must be unique"_s << u""_s;
    QTest::newRow("too long after acceptance")
        << u"Iron Kite"_s << QString(36, 'q') << u"Acm"_s << u"1"_s << QStringList{TooLong}
        << u"Tile must less than 35 characters"_s << u""_s;
    QTest::newRow("emptied after acceptance")
        << u"Iron Kite"_s << u""_s << u"Acm"_s << u"1"_s << QStringList{NoTitle}
        << u"Must have Title defined"_s << u""_s;
    QTest::newRow("pasted negative price") << u""_s << u"Iron Kite"_s << u"Acm"_s << u"-3"_s
                                           << QStringList{BadPrice} << u"Cover price is required"_s << u""_s;
    QTest::newRow("pasted year with a letter")
        << u""_s << u"Iron Kite"_s << u"Acm"_s << u"1"_s << QStringList{BadYear}
        << u"Beginning Year must be 4 digits or fewer"_s << u"19a5"_s;
}

void tst_AddTitle::addRefused()
{
    QFETCH(QString, accepted);
    QFETCH(QString, title);
    QFETCH(QString, company);
    QFETCH(QString, price);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);
    QFETCH(QString, year);

    OneCompany c;
    c.addTitle("Nhl", "Nightowl", "ACM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    if (!accepted.isEmpty()) {
        typeOver(f->txtTitle, accepted);
        QTest::keyClick(f->txtTitle, Qt::Key_Tab);
        QVERIFY(f->unsavedTitle());
    }
    // A refused name keeps the focus in its box, so the title comes last.
    paste(f->txtCoverPrice, price);
    paste(f->txtBeginningYear, year);
    if (!company.isEmpty())
        chooseCompany(*f, company);
    typeOver(f->txtTitle, title);
    for (int i = 0; i < boxes.size(); ++i)
        ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(described(ui.boxes), boxes);
    QCOMPARE(ui.statuses.last(), status);
    QCOMPARE(storedTitles(), QStringList{"Nhl|Nightowl|null|ACM|none"});
    QCOMPARE(c.count("CoverPrice"), 0);
}

// What the engine or the conversion refuses, or the cover price row failing
// after the title row was written: one clear box, nothing stored (the title
// row is taken back with its price), and the screen still adds once the
// value is put right.
void tst_AddTitle::engineRefusal_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("year");
    QTest::addColumn<bool>("priceRowFails");
    QTest::addColumn<QString>("goodPrice");
    QTest::addColumn<QString>("goodYear");
    QTest::addColumn<QString>("stored");

    QTest::newRow("price beyond the range") << u"99999999999999999999"_s << QString() << false << u"2"_s
                                            << QString() << u"IK|Iron Kite|null|ACM|20000"_s;
    QTest::newRow("price row fails") << u"1"_s << QString() << true << u"1"_s << QString()
                                     << u"IK|Iron Kite|null|ACM|10000"_s;
}

void tst_AddTitle::engineRefusal()
{
    QFETCH(QString, price);
    QFETCH(QString, year);
    QFETCH(bool, priceRowFails);
    QFETCH(QString, goodPrice);
    QFETCH(QString, goodYear);
    QFETCH(QString, stored);

    OneCompany c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, "Iron Kite", "Acm", price, year);
    if (priceRowFails)
        db::session().rsCoverPrice->close();
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    const MessageRequest box = ui.boxes.first();
    QCOMPARE(box.title, QStringLiteral("Data Error"));
    QCOMPARE(box.icon, MsgIcon::Critical);
    QCOMPARE(box.buttons, MsgButtons::OK);
    const QString lead = QStringLiteral("The title could not be added.\n\n");
    QVERIFY(box.text.startsWith(lead));
    QVERIFY(box.text.size() > lead.size());
    QCOMPARE(ui.statuses.last(), QStringLiteral("Title not added"));
    QCOMPARE(c.count("Title"), 0);
    QCOMPARE(c.count("CoverPrice"), 0);
    QVERIFY(f->unsavedTitle());

    typeOver(f->txtCoverPrice, goodPrice);
    typeOver(f->txtBeginningYear, goodYear);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(storedTitles(), QStringList{stored});
}

// Every variant of a name's identifier taken: the generator's box and
// nothing stored; the name accepted before, typed again, is stored under its
// own identifier.
void tst_AddTitle::identifiersExhausted()
{
    OneCompany c;
    c.addTitle("Nhl", "Nightowl", "ACM");
    for (char s = 'A'; s <= 'Y'; ++s) // "NhL" is the base itself, letter case aside
        if (s != 'L')
            c.addTitle(QStringLiteral("Nh") + QChar(s), QStringLiteral("Variant ") + QChar(s), "ACM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, "Iron Kite", "Acm", "1", "");
    QCOMPARE(f->pendingId(), QStringLiteral("IK"));

    ui.answer(MsgAnswer::OK);
    typeOver(f->txtTitle, "Nhxl"); // first, middle and last character: "Nhl"
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(described(ui.boxes), QStringList{describeBox("Sorry, could not generate a TitleID", "Panelkeep",
                                                          MsgButtons::OK, MsgIcon::None)});
    QCOMPARE(f->pendingId(), QStringLiteral("@@@"));
    QCOMPARE(c.count("Title"), 25);

    typeOver(f->txtTitle, "Iron Kite");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 1);
    QVERIFY(storedTitles().contains("IK|Iron Kite|null|ACM|10000"));
    QCOMPARE(c.count("Title"), 26);
}

// The screen is not shown without companies, nor when the collection
// cannot be read; the user is told which.
void tst_AddTitle::setRefused_data()
{
    QTest::addColumn<int>("broken"); // 0 no companies, 1 Title table gone, 2 collection closed
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("status");

    const QString dataError = describeBox(
        "Unexpected data error, restart application and try again.  If problem persists, contact vendor",
        "Data Error", MsgButtons::OK, MsgIcon::None);
    QTest::newRow("no companies") << 0
                                  << describeBox("Please enter Company information prior to adding Titles.",
                                                 "No Company Data", MsgButtons::OK, MsgIcon::None)
                                  << u"No Company data exists, add Company data"_s;
    QTest::newRow("titles unreadable") << 1 << dataError << u"Unexpected error condition"_s;
    QTest::newRow("collection closed") << 2 << dataError << u"Unexpected error condition"_s;
}

void tst_AddTitle::setRefused()
{
    QFETCH(int, broken);
    QFETCH(QString, box);
    QFETCH(QString, status);

    TempCollection c;
    if (broken != 0)
        c.addCompany("ACM", "Acme");
    if (broken == 1)
        db::dbCollection().execute("Drop Table Title");
    if (broken == 2)
        db::dbCollection().close();
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    frmAddTitle f;
    QVERIFY(!f.frmAddTitle_Set());
    QCOMPARE(described(ui.boxes), QStringList{box});
    QCOMPARE(ui.statuses.last(), status);
}

// The first title of a collection: the screen opens, the name check is
// skipped and its identifier is the bare candidate; an empty or spaces-only
// year stores no year.
void tst_AddTitle::noTitlesYet()
{
    OneCompany c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(ui.statuses.last(), QStringLiteral("Add Title or select close"));
    QVERIFY(f->titleLists().ids.isEmpty());

    fill(*f, "q", "Acm", "0.5", "");
    f->txtBeginningYear->setText("   "); // pasted, the key filter never saw it
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(storedTitles(), QStringList{"qX|q|null|ACM|5000"});
    QVERIFY(ui.boxes.isEmpty());
}

void tst_AddTitle::tabOrder()
{
    OneCompany c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    const QList<QWidget *> order{f->txtTitle,         f->cboCompany, f->txtCoverPrice,
                                 f->txtBeginningYear, f->cmdAdd,     f->cmdExit};
    for (QWidget *w : order) {
        QCOMPARE(QApplication::focusWidget(), w);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), f->txtTitle);
    QVERIFY(ui.boxes.isEmpty());
}

// Close, Escape and the window's close button ask about an accepted, unsaved
// name; No stays, Yes leaves and releases the shared recordsets. After Add
// there is nothing to ask.
void tst_AddTitle::closeQuestion_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("added");
    QTest::addColumn<bool>("inTitle"); // the focus still in the title box typed

    QTest::newRow("Close button") << 0 << false << false;
    QTest::newRow("Escape") << 1 << false << false;
    QTest::newRow("window close") << 2 << false << false;
    QTest::newRow("Close after add") << 0 << true << false;
    QTest::newRow("Escape after add") << 1 << true << false;
    QTest::newRow("Escape in the title box") << 1 << false << true;
    QTest::newRow("window close, in the title box") << 2 << false << true;
}

void tst_AddTitle::closeQuestion()
{
    QFETCH(int, how);
    QFETCH(bool, added);
    QFETCH(bool, inTitle);

    OneCompany c;
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, inTitle ? "" : "Iron Kite", "Acm", "1", "");
    if (inTitle)
        typeOver(f->txtTitle, "Iron Kite");
    if (added)
        QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    auto close = [&] {
        if (how == 0)
            QTest::mouseClick(f->cmdExit, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            f->close();
    };

    if (!added) {
        ui.answer(MsgAnswer::No);
        close();
        QCOMPARE(described(ui.boxes), QStringList{Unsaved});
        QVERIFY(f->isVisible());
        QVERIFY(db::session().rsTitle);
        ui.answer(MsgAnswer::Yes);
    }
    close();
    QCOMPARE(ui.boxes.size(), added ? 0 : 2);
    QVERIFY(!f->isVisible());
    QVERIFY(!db::session().rsTitle);
    QVERIFY(!db::session().rsCompany);
    QVERIFY(!db::session().rsCoverPrice);
    QCOMPARE(c.count("Title"), added ? 1 : 0);
}

QTEST_MAIN(tst_AddTitle)
#include "tst_addtitle.moc"
