#include "catalogue/addtitle/frmaddtitle.h"
#include "db/session.h"
#include "platform/currency.h"
#include "support/keyboard.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace platform;

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
const QString NoCompany = describeBox("Must specify a company for the title", "No Company Selected",
                                      MsgButtons::OK, MsgIcon::Exclamation);
const QString Unsaved =
    describeBox("Title not saved, Ok to Close", "Unsaved Title", MsgButtons::YesNo, MsgIcon::Question);

QStringList described(const QList<MessageRequest> &boxes)
{
    QStringList out;
    for (const MessageRequest &b : boxes)
        out << describe(b);
    return out;
}

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
    void priceKeysOfTheLocale();
    void priceFormatting_data();
    void priceFormatting();
    void nameCheck_data();
    void nameCheck();
    void addRefused_data();
    void addRefused();
    void engineRefusal_data();
    void engineRefusal();
    void titleNeverLeftWithoutPrice();
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
        auto f = std::make_unique<frmAddTitle>();
        if (!f->frmAddTitle_Set())
            return nullptr;
        f->show();
        if (!QTest::qWaitForWindowActive(f.get()))
            return nullptr;
        return f;
    }
    static void typeInto(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        typeText(box, text);
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
        typeInto(f.txtTitle, title);
        QTest::keyClick(f.txtTitle, Qt::Key_Tab);
        if (!company.isEmpty())
            chooseCompany(f, company);
        typeInto(f.txtCoverPrice, price);
        typeInto(f.txtBeginningYear, year);
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
    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "Blue Moon");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(QApplication::focusWidget(), f->txtTitle);
    QCOMPARE(f->cboCompany->currentIndex(), -1);

    fill(*f, "Iron Kite", "Blu", "1.5", "1990");
    QCOMPARE(f->cboCompany->currentText(), "Blue Moon" + QString(65, ' ') + "BLM");
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

    QTest::newRow("one character") << "K"
                                   << "K";
    QTest::newRow("two characters") << QString("Ko") << QString("KO");
    QTest::newRow("leading space, first in name order") << QString("<Down>") << QString(" MC");
    QTest::newRow("three characters") << "MC"
                                      << "MC";
    QTest::newRow("quotes") << "It"
                            << "I'\"";
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
    QVERIFY(f->cboCompany->currentText().endsWith(QString(65, ' ') + companyId));
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(storedTitles(), QStringList{"Nhl|Nightowl|null|" + companyId + "|20000"});
}

// Names giving the same base identifier, in any case, get different ones;
// quotes and accents are kept; a name added once is refused when retyped.
void tst_AddTitle::twoTitlesInOneVisit()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "Blue Moon");
    c.addTitle("Nhl", "Nightowl", "BLM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);

    fill(*f, "NowHotel", "Acm", "1", "");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    typeInto(f->txtTitle, "O'Neil's \"Été\"");
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    typeInto(f->txtTitle, "nowhotel");
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(described(ui.boxes), QStringList{TitleExists});
    QCOMPARE(storedTitles(), (QStringList{"NHA|NowHotel|null|ACM|10000", "Nhl|Nightowl|null|BLM|none",
                                          "O\"|O'Neil's \"Été\"|null|ACM|10000"}));
}

// Refused keys never reach the box: each beeps and says why.
void tst_AddTitle::keyFilters_data()
{
    QTest::addColumn<bool>("price");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("refused");

    QTest::newRow("price letters") << true << "1a.5b"
                                   << "1.5" << 2;
    QTest::newRow("price symbol and point") << true << "$2.25"
                                            << "$2.25" << 0;
    QTest::newRow("price comma and space") << true << "1,0 0"
                                           << "100" << 2;
    QTest::newRow("price accented letter") << true << "é3"
                                           << "3" << 1;
    QTest::newRow("year letters") << false << "19x9y"
                                  << "199" << 2;
    QTest::newRow("year point and dollar") << false << "$1.9"
                                           << "19" << 2;
    QTest::newRow("year space") << false << "19 99"
                                << "1999" << 1;
}

void tst_AddTitle::keyFilters()
{
    QFETCH(bool, price);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, refused);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QLineEdit *box = price ? f->txtCoverPrice : f->txtBeginningYear;
    ui.clearRecords();
    typeInto(box, typed);
    QCOMPARE(box->text(), shown);
    QCOMPARE(ui.beeps, refused);
    QCOMPARE(ui.statuses.count("Value must be numeric"), refused);

    // Backspace passes the filter.
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), shown.chopped(1));
    QCOMPARE(ui.beeps, refused);
}

// Where the locale writes amounts with its own decimal mark and symbol,
// those keys pass too (besides "$" and ".").
void tst_AddTitle::priceKeysOfTheLocale()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ui.clearRecords();
    typeInto(f->txtCoverPrice, "1,5€x");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(f->txtCoverPrice->text(), QString("1,5€"));
    QCOMPARE(ui.beeps, 1);
}

void tst_AddTitle::priceFormatting_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("decimal") << "1.5"
                             << "$1.50";
    QTest::newRow("whole") << "12"
                           << "$12.00";
    QTest::newRow("grouping") << "1234.5"
                              << "$1,234.50";
    QTest::newRow("symbol typed") << "$0.75"
                                  << "$0.75";
    QTest::newRow("empty stays") << ""
                                 << "";
    QTest::newRow("not a number stays") << "1.2.3"
                                        << "1.2.3";
    QTest::newRow("beyond the currency range stays") << "99999999999999999999"
                                                     << "99999999999999999999";
}

void tst_AddTitle::priceFormatting()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    typeInto(f->txtCoverPrice, typed);
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

    QTest::newRow("other company's title") << "Nightowl" << TitleExists << "Tile must be unique";
    QTest::newRow("other case") << "NIGHTOWL" << TitleExists << "Tile must be unique";
    QTest::newRow("accented other case") << "ÉTÉ" << TitleExists << "Tile must be unique";
    QTest::newRow("trailing space") << "Nightowl " << QString() << QString();
    QTest::newRow("35 characters") << QString(35, 'w') << QString() << QString();
    QTest::newRow("35 characters, one beyond 16 bits")
        << QString(34, 'w') + QString::fromUcs4(U"\U0001D50A") << QString() << QString();
    QTest::newRow("36 characters") << QString(36, 'w') << TooLong << "Tile must less than 35 characters";
    QTest::newRow("only brackets") << "(#)" << Unusable << "Title cannot be used";
}

void tst_AddTitle::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(QString, box);
    QFETCH(QString, status);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addCompany("BLM", "Blue Moon");
    c.addTitle("Nhl", "Nightowl", "BLM");
    c.addTitle("été", "Été", "BLM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    ui.clearRecords();
    if (!box.isEmpty())
        ui.answer(MsgAnswer::OK);
    typeInto(f->txtTitle, name);
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

    QTest::newRow("no title") << ""
                              << ""
                              << "Acm"
                              << "1" << QStringList{NoTitle} << "Must have Title defined";
    QTest::newRow("spaces only") << ""
                                 << "   "
                                 << "Acm"
                                 << "1" << QStringList{NoTitle} << "Must have Title defined";
    QTest::newRow("no price") << ""
                              << "Iron Kite"
                              << "Acm"
                              << "" << QStringList{BadPrice} << "Cover price is required";
    QTest::newRow("price only a point") << ""
                                        << "Iron Kite"
                                        << "Acm"
                                        << "." << QStringList{BadPrice} << "Cover price is required";
    QTest::newRow("no company") << ""
                                << "Iron Kite"
                                << ""
                                << "1" << QStringList{NoCompany} << "Company information is required";
    QTest::newRow("duplicate") << ""
                               << "nightowl"
                               << "Acm"
                               << "1" << QStringList{TitleExists} << "Tile must be unique";
    QTest::newRow("duplicate after acceptance") << "Iron Kite"
                                                << "nightowl"
                                                << "Acm"
                                                << "1" << QStringList{TitleExists} << "Tile must be unique";
    QTest::newRow("too long after acceptance")
        << "Iron Kite" << QString(36, 'q') << "Acm"
        << "1" << QStringList{TooLong} << "Tile must less than 35 characters";
    QTest::newRow("emptied after acceptance") << "Iron Kite"
                                              << ""
                                              << "Acm"
                                              << "1" << QStringList{NoTitle} << "Must have Title defined";
}

void tst_AddTitle::addRefused()
{
    QFETCH(QString, accepted);
    QFETCH(QString, title);
    QFETCH(QString, company);
    QFETCH(QString, price);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    c.addTitle("Nhl", "Nightowl", "ACM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    if (!accepted.isEmpty()) {
        typeInto(f->txtTitle, accepted);
        QTest::keyClick(f->txtTitle, Qt::Key_Tab);
        QVERIFY(f->unsavedTitle());
    }
    // A refused name keeps the focus in its box, so the title comes last.
    typeInto(f->txtCoverPrice, price);
    if (!company.isEmpty())
        chooseCompany(*f, company);
    typeInto(f->txtTitle, title);
    for (int i = 0; i < boxes.size(); ++i)
        ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(described(ui.boxes), boxes);
    QCOMPARE(ui.statuses.last(), status);
    QCOMPARE(storedTitles(), QStringList{"Nhl|Nightowl|null|ACM|none"});
    QCOMPARE(c.count("CoverPrice"), 0);
}

// What the engine or the conversion refuses: one clear box, nothing stored,
// and the screen still adds once the value is put right.
void tst_AddTitle::engineRefusal_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("goodPrice");
    QTest::addColumn<QString>("goodYear");

    QTest::newRow("five-digit year") << "1"
                                     << "19901"
                                     << "1"
                                     << "1990";
    QTest::newRow("price beyond the range") << "99999999999999999999"
                                            << ""
                                            << "2"
                                            << "";
}

void tst_AddTitle::engineRefusal()
{
    QFETCH(QString, price);
    QFETCH(QString, year);
    QFETCH(QString, goodPrice);
    QFETCH(QString, goodYear);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, "Iron Kite", "Acm", price, year);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes.first().title, QStringLiteral("Data Error"));
    QCOMPARE(ui.boxes.first().icon, MsgIcon::Critical);
    QCOMPARE(ui.boxes.first().buttons, MsgButtons::OK);
    QVERIFY(ui.boxes.first().text.startsWith("The title could not be added.\n\n"));
    QVERIFY(ui.boxes.first().text.size() > QString("The title could not be added.\n\n").size());
    QCOMPARE(ui.statuses.last(), QStringLiteral("Title not added"));
    QVERIFY(storedTitles().isEmpty());
    QCOMPARE(c.count("CoverPrice"), 0);
    QVERIFY(f->unsavedTitle());

    typeInto(f->txtCoverPrice, goodPrice);
    typeInto(f->txtBeginningYear, goodYear);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(storedTitles().size(), 1);
    QVERIFY(storedTitles().first().startsWith("IK|Iron Kite|"));
    QVERIFY(!storedTitles().first().endsWith("|none"));
}

// The price row failing after the title row was written takes the title
// row back with it.
void tst_AddTitle::titleNeverLeftWithoutPrice()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, "Iron Kite", "Acm", "1", "");
    db::session().rsCoverPrice->close();
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes.first().title, QStringLiteral("Data Error"));
    QCOMPARE(c.count("Title"), 0);
    QCOMPARE(c.count("CoverPrice"), 0);

    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(storedTitles(), QStringList{"IK|Iron Kite|null|ACM|10000"});
}

// Every variant of a name's identifier taken: the generator's box and
// nothing stored; the name accepted before, typed again, is stored under its
// own identifier.
void tst_AddTitle::identifiersExhausted()
{
    TempCollection c;
    c.addCompany("ACM", "Acme");
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
    typeInto(f->txtTitle, "Nhxl"); // first, middle and last character: "Nhl"
    QTest::mouseClick(f->cmdAdd, Qt::LeftButton);
    QCOMPARE(described(ui.boxes), QStringList{describeBox("Sorry, could not generate a TitleID", "Panelkeep",
                                                          MsgButtons::OK, MsgIcon::None)});
    QCOMPARE(f->pendingId(), QStringLiteral("@@@"));
    QCOMPARE(c.count("Title"), 25);

    typeInto(f->txtTitle, "Iron Kite");
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
                                  << "No Company data exists, add Company data";
    QTest::newRow("titles unreadable") << 1 << dataError << "Unexpected error condition";
    QTest::newRow("collection closed") << 2 << dataError << "Unexpected error condition";
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
    TempCollection c;
    c.addCompany("ACM", "Acme");
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
    TempCollection c;
    c.addCompany("ACM", "Acme");
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

    QTest::newRow("Close button") << 0 << false;
    QTest::newRow("Escape") << 1 << false;
    QTest::newRow("window close") << 2 << false;
    QTest::newRow("Close after add") << 0 << true;
    QTest::newRow("Escape after add") << 1 << true;
}

void tst_AddTitle::closeQuestion()
{
    QFETCH(int, how);
    QFETCH(bool, added);

    TempCollection c;
    c.addCompany("ACM", "Acme");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    fill(*f, "Iron Kite", "Acm", "1", "");
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
