#include "catalogue/coverprice/frmcoverprice.h"
#include "db/session.h"
#include "platform/currency.h"
#include "shell/commandscope.h"
#include "support/combochoice.h"
#include "support/keyboard.h"
#include "support/openscreen.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

using namespace platform;

namespace {
const QString NoTitles = describeBox("No Titles exist for Company Empty Press", "No Titles Found",
                                     MsgButtons::OK, MsgIcon::Critical);
const QString NotUpdated = describeBox("Cover Price change not saved, Ok to Close", "Cover Price Not Updated",
                                       MsgButtons::YesNo, MsgIcon::Question);
const QString InvalidPrice =
    describeBox("Must have a valid cover price", "Invalid Cover Price", MsgButtons::OK, MsgIcon::Exclamation);

void addPrice(const QString &titleId, qint64 scaled)
{
    db::dbCollection().execute("INSERT INTO CoverPrice (Title_ID, Cover_Price) VALUES (?, ?)",
                               ExecuteOption::FailOnError, {titleId, scaled});
}

// The stored price in ten-thousandths; -1 without a row.
qint64 storedPrice(TempCollection &c, const QString &titleId)
{
    const QVariant v = c.scalar("SELECT Cover_Price + 0 FROM CoverPrice WHERE Title_ID = ?", {titleId});
    return v.isNull() ? -1 : v.toLongLong();
}

// Acme with two priced titles, a company without titles, and a title
// whose names carry both kinds of quote.
void standardCollection(TempCollection &c)
{
    c.addCompany("ACM", "Acme");
    c.addCompany("EMP", "Empty Press");
    c.addCompany("I'\"", "It's \"Big\"");
    c.addTitle("IK", "Iron Kite", "ACM");
    c.addTitle("Nhl", "Nightowl", "ACM");
    c.addTitle("O'", "O'Neil's \"Été\"", "I'\"");
    addPrice("IK", 20000);
    addPrice("Nhl", 35000);
    addPrice("O'", 12500);
}
} // namespace

class tst_CoverPrice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void priceSaved_data();
    void priceSaved();
    void changeDetection_data();
    void changeDetection();
    void keyFilter_data();
    void keyFilter();
    void invalidPriceRefused_data();
    void invalidPriceRefused();
    void titleWithoutPriceRow();
    void companyWithoutTitles();
    void newChoiceDropsPendingChange_data();
    void newChoiceDropsPendingChange();
    void saveFailureKeepsChange();
    void closeQuestion_data();
    void closeQuestion();
    void tabOrder();
    void openedAsMenuCommand_data();
    void openedAsMenuCommand();

private:
    static std::unique_ptr<frmCoverPrice> open()
    {
        return openScreen<frmCoverPrice>([](frmCoverPrice &s) { return LoadCoverPriceCompanyList(s); });
    }
    // Company, then title; true when the price box shows.
    static bool choose(frmCoverPrice &f, const QString &company, const QString &title)
    {
        return chooseItem(f.cboCompany, company) && chooseItem(f.cboTitle, title) &&
               f.txtCoverPrice->isVisible();
    }
    static void typePrice(frmCoverPrice &f, const QString &text, bool leave = true)
    {
        f.txtCoverPrice->setFocus();
        QTest::keyClick(f.txtCoverPrice, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.txtCoverPrice, Qt::Key_Backspace);
        typeText(f.txtCoverPrice, text);
        if (leave)
            QTest::keyClick(f.txtCoverPrice, Qt::Key_Tab);
    }
    static bool titleControlsHidden(const frmCoverPrice &f)
    {
        return !f.cboTitle->isVisible() && !f.lblStatic[1]->isVisible() && !f.txtCoverPrice->isVisible() &&
               !f.lblStatic[2]->isVisible() && !f.cmdOK->isVisible();
    }
};

void tst_CoverPrice::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// The stored price is the amount typed, by OK or by Enter (the default
// button, pressed without leaving the box); afterwards the screen is back at
// the company choice with the company kept, and Close asks nothing.
void tst_CoverPrice::priceSaved_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("titleId");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<qint64>("stored");

    QTest::newRow("decimal") << "Acme"
                             << "Nightowl"
                             << "Nhl"
                             << "12.5"
                             << "$12.50" << false << qint64(125000);
    QTest::newRow("grouping and symbol") << "Acme"
                                         << "Iron Kite"
                                         << "IK"
                                         << "$1,234.5"
                                         << "$1,234.50" << false << qint64(12345000);
    QTest::newRow("quotes in both names") << "It's \"Big\""
                                          << "O'Neil's \"Été\""
                                          << "O'"
                                          << "3"
                                          << "$3.00" << false << qint64(30000);
    QTest::newRow("Enter in the box") << "Acme"
                                      << "Nightowl"
                                      << "Nhl"
                                      << "7.25"
                                      << "" << true << qint64(72500);
    QTest::newRow("Enter at the first change") << "Acme"
                                               << "Nightowl"
                                               << "Nhl"
                                               << "7.25"
                                               << "first" << true << qint64(72500);
    QTest::newRow("Tab onto OK, Enter") << "Acme"
                                        << "Nightowl"
                                        << "Nhl"
                                        << "8"
                                        << "tab" << true << qint64(80000);
}

void tst_CoverPrice::priceSaved()
{
    QFETCH(QString, company);
    QFETCH(QString, title);
    QFETCH(QString, titleId);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, byEnter);
    QFETCH(qint64, stored);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(f->cboCompany->currentIndex(), -1);
    QVERIFY(titleControlsHidden(*f));
    QVERIFY(choose(*f, company, title));

    if (byEnter) {
        // Unless told otherwise, a first change reveals OK; the second is
        // still in the box. OK shows as soon as the text differs.
        if (shown.isEmpty()) {
            typePrice(*f, "1");
            QVERIFY(f->cmdOK->isVisible());
        }
        typePrice(*f, typed, false);
        QVERIFY(f->cmdOK->isVisible() && f->cmdOK->isEnabled());
        if (shown == "tab") {
            QTest::keyClick(f->txtCoverPrice, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f->cmdOK);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else {
        typePrice(*f, typed);
        QCOMPARE(f->txtCoverPrice->text(), shown);
        QVERIFY(f->cmdOK->isVisible() && f->cmdOK->isEnabled());
        QVERIFY(f->priceChanged());
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    }

    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(storedPrice(c, titleId), stored);
    QCOMPARE(ui.statuses.last(), "Title " + title + "'s Cover Price has been updated");
    QVERIFY(titleControlsHidden(*f));
    QCOMPARE(f->cboCompany->currentText(), company);
    QVERIFY(!f->priceChanged());
    QVERIFY(!db::session().rsCoverPrice);
    QVERIFY(!db::session().rsTitle);

    // The same company again leads on to another title.
    QVERIFY(choose(*f, company, title));
    QCOMPARE(f->txtCoverPrice->text(), platform::formatCurrency(Currency::fromScaled(stored)));

    QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    QVERIFY(ui.boxes.isEmpty());
    QVERIFY(!f->isVisible());
    QVERIFY(!db::session().rsCompany);
}

// Only a text that differs from the one shown counts as a change, whatever
// way it was typed; leaving the box again unchanged keeps the change.
void tst_CoverPrice::changeDetection_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("changed");

    QTest::newRow("same text") << "$2.00"
                               << "$2.00" << false;
    QTest::newRow("same amount typed short") << "2"
                                             << "$2.00" << false;
    QTest::newRow("other amount") << "2.01"
                                  << "$2.01" << true;
    QTest::newRow("not a number stays as typed") << "2.0.1"
                                                 << "2.0.1" << true;
    QTest::newRow("emptied") << ""
                             << "" << true;
}

void tst_CoverPrice::changeDetection()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, changed);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    QCOMPARE(f->txtCoverPrice->text(), QStringLiteral("$2.00"));

    typePrice(*f, typed);
    QCOMPARE(f->txtCoverPrice->text(), shown);
    QCOMPARE(f->priceChanged(), changed);
    QCOMPARE(f->cmdOK->isVisible(), changed);

    // Into the box and out again without typing.
    f->txtCoverPrice->setFocus();
    QCOMPARE(f->txtCoverPrice->selectedText(), shown);
    QTest::keyClick(f->txtCoverPrice, Qt::Key_Tab);
    QCOMPARE(f->priceChanged(), changed);
    QCOMPARE(f->cmdOK->isVisible(), changed);
    QCOMPARE(storedPrice(c, "IK"), qint64(20000));
    QVERIFY(ui.boxes.isEmpty());
}

void tst_CoverPrice::keyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("refused");

    QTest::newRow("price characters") << "$1,2.30"
                                      << "$1,2.30" << 0;
    QTest::newRow("letters") << "1a2B"
                             << "12" << 2;
    QTest::newRow("space and minus") << "1 -2"
                                     << "12" << 2;
    QTest::newRow("accented letter") << "é5"
                                     << "5" << 1;
}

void tst_CoverPrice::keyFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, refused);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    ui.clearRecords();
    typePrice(*f, typed, false);
    QCOMPARE(f->txtCoverPrice->text(), kept);
    QCOMPARE(ui.beeps, refused);
    QCOMPARE(ui.statuses.count("Value must be numeric..."), refused);
    QCOMPARE(ui.statuses.size(), refused);
    QTest::keyClick(f->txtCoverPrice, Qt::Key_Backspace);
    QCOMPARE(f->txtCoverPrice->text(), kept.chopped(1));
    QCOMPARE(ui.beeps, refused);
}

// What the filter lets through but is no amount is refused at OK: the
// stored price stays, the change stays pending with its text selected.
void tst_CoverPrice::invalidPriceRefused_data()
{
    QTest::addColumn<QString>("typed");

    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("lone dollar") << "$";
    QTest::newRow("empty") << "";
    QTest::newRow("beyond the currency range") << "99999999999999999999";
    QTest::newRow("pasted minus") << "paste:-5";
}

void tst_CoverPrice::invalidPriceRefused()
{
    QFETCH(QString, typed);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    if (typed.startsWith("paste:")) {
        typed = typed.mid(6);
        paste(f->txtCoverPrice, typed);
        QTest::keyClick(f->txtCoverPrice, Qt::Key_Tab);
    } else {
        typePrice(*f, typed);
    }
    QCOMPARE(f->txtCoverPrice->text(), typed);
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), InvalidPrice);
    QCOMPARE(storedPrice(c, "IK"), qint64(20000));
    QVERIFY(f->priceChanged());
    QVERIFY(f->cmdOK->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), f->txtCoverPrice);
    QTRY_COMPARE(f->txtCoverPrice->selectedText(), typed);

    typePrice(*f, "4");
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(storedPrice(c, "IK"), qint64(40000));
}

// A title without a price row shows $0.00; a price set for it is kept in
// a new row.
void tst_CoverPrice::titleWithoutPriceRow()
{
    TempCollection c;
    standardCollection(c);
    c.addTitle("NP", "No Price", "ACM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "No Price"));
    QCOMPARE(f->txtCoverPrice->text(), QStringLiteral("$0.00"));
    typePrice(*f, "0");
    QVERIFY(!f->priceChanged());
    typePrice(*f, "1.75");
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(storedPrice(c, "NP"), qint64(17500));
    QCOMPARE(c.count("CoverPrice"), 4);
}

// Titles listed are the company's, in name order; a company without titles
// is reported and leaves the title controls hidden.
void tst_CoverPrice::companyWithoutTitles()
{
    TempCollection c;
    standardCollection(c);
    c.addTitle("ABC", "aardvark", "ACM");
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(itemsOf(f->cboCompany), (QStringList{"Acme", "Empty Press", "It's \"Big\""}));
    QVERIFY(chooseItem(f->cboCompany, "Acme"));
    QCOMPARE(itemsOf(f->cboTitle), (QStringList{"aardvark", "Iron Kite", "Nightowl"}));
    QCOMPARE(f->cboTitle->currentIndex(), -1);
    QVERIFY(f->cboTitle->isVisible() && f->lblStatic[1]->isVisible());
    QVERIFY(!f->txtCoverPrice->isVisible());

    ui.answer(MsgAnswer::OK);
    QVERIFY(chooseItem(f->cboCompany, "Empty Press"));
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), NoTitles);
    QVERIFY(titleControlsHidden(*f));
}

// Another company or title chosen while a change waits: the change is
// dropped rather than saved into a row the box no longer shows.
void tst_CoverPrice::newChoiceDropsPendingChange_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("title"); // "" to stop at the company

    QTest::newRow("other title") << "Acme"
                                 << "Nightowl";
    QTest::newRow("same title again") << "Acme"
                                      << "Iron Kite";
    QTest::newRow("other company") << "It's \"Big\"" << QString();
    QTest::newRow("same company again") << "Acme" << QString();
}

void tst_CoverPrice::newChoiceDropsPendingChange()
{
    QFETCH(QString, company);
    QFETCH(QString, title);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    typePrice(*f, "9");
    QVERIFY(f->cmdOK->isVisible());

    QVERIFY(chooseItem(f->cboCompany, company));
    if (!title.isEmpty())
        QVERIFY(chooseItem(f->cboTitle, title));
    QVERIFY(!f->priceChanged());
    QVERIFY(!f->cmdOK->isVisible());
    QCOMPARE(f->txtCoverPrice->isVisible(), !title.isEmpty());

    QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(storedPrice(c, "IK"), qint64(20000));
    QCOMPARE(storedPrice(c, "Nhl"), qint64(35000));
}

// The engine refusing the write: a clear box, nothing stored, the change
// still pending so OK can be pressed again.
void tst_CoverPrice::saveFailureKeepsChange()
{
    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    typePrice(*f, "5");
    db::dbCollection().execute("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON CoverPrice "
                               "BEGIN SELECT RAISE(ABORT, 'refused for the test'); END");
    ui.answer(MsgAnswer::OK);
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes.first().title, QStringLiteral("Data Error"));
    QCOMPARE(ui.boxes.first().icon, MsgIcon::Critical);
    QVERIFY(ui.boxes.first().text.startsWith("The cover price could not be saved.\n\n"));
    QVERIFY(ui.boxes.first().text.contains("refused for the test"));
    QCOMPARE(storedPrice(c, "IK"), qint64(20000));
    QVERIFY(f->priceChanged() && f->cmdOK->isVisible());
    QVERIFY(f->txtCoverPrice->isVisible());

    db::dbCollection().execute("DROP TRIGGER refuse");
    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(storedPrice(c, "IK"), qint64(50000));
}

// Close, Escape and the title bar's close button all ask about a pending
// change: No keeps the screen with OK, Yes leaves without saving and
// releases the shared recordsets.
void tst_CoverPrice::closeQuestion_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("left"); // the price box left before closing, else still focused
    QTest::newRow("Close") << 0 << true;
    QTest::newRow("Escape") << 1 << true;
    QTest::newRow("title bar") << 2 << true;
    QTest::newRow("Escape in the box") << 1 << false;
    QTest::newRow("title bar, in the box") << 2 << false;
}

void tst_CoverPrice::closeQuestion()
{
    QFETCH(int, how);
    QFETCH(bool, left);

    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    typePrice(*f, "9", left);
    auto close = [&] {
        if (how == 0)
            QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            f->close();
    };

    ui.answer(MsgAnswer::No);
    close();
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), NotUpdated);
    QVERIFY(f->isVisible());
    QVERIFY(f->cmdOK->isVisible() && f->priceChanged());
    QVERIFY(db::session().rsCoverPrice);

    ui.answer(MsgAnswer::Yes);
    close();
    QCOMPARE(ui.boxes.size(), 2);
    QVERIFY(!f->isVisible());
    QCOMPARE(storedPrice(c, "IK"), qint64(20000));
    QVERIFY(!db::session().rsCoverPrice && !db::session().rsTitle && !db::session().rsCompany);
}

void tst_CoverPrice::tabOrder()
{
    TempCollection c;
    standardCollection(c);
    ScriptedUi ui;
    auto f = open();
    QVERIFY(f);
    QCOMPARE(QApplication::focusWidget(), f->cboCompany);
    QVERIFY(choose(*f, "Acme", "Iron Kite"));
    typePrice(*f, "9");
    f->cboCompany->setFocus();
    const QList<QWidget *> order{f->cboCompany, f->cboTitle, f->txtCoverPrice, f->cmdOK, f->cmdCancel};
    for (QWidget *w : order) {
        QCOMPARE(QApplication::focusWidget(), w);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), f->cboCompany);
}

// The way the main window opens the screen: not shown without companies,
// shown modally otherwise, and left with Close.
void tst_CoverPrice::openedAsMenuCommand_data()
{
    QTest::addColumn<bool>("withCompanies");
    QTest::newRow("no companies") << false;
    QTest::newRow("companies") << true;
}

void tst_CoverPrice::openedAsMenuCommand()
{
    QFETCH(bool, withCompanies);

    TempCollection c;
    if (withCompanies)
        standardCollection(c);
    ScriptedUi ui;
    if (!withCompanies)
        ui.answer(MsgAnswer::OK);
    QWidget window;
    QTimer tmrMain;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *f = qobject_cast<frmCoverPrice *>(QApplication::activeModalWidget());
        if (!f)
            return;
        shown = chooseItem(f->cboCompany, "Acme") && chooseItem(f->cboTitle, "Iron Kite") &&
                f->txtCoverPrice->text() == "$2.00";
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
    });
    shell::runScreenCommand<frmCoverPrice>(&tmrMain, &window,
                                           [](frmCoverPrice &f) { return LoadCoverPriceCompanyList(f); });
    QCOMPARE(shown, withCompanies);
    if (withCompanies)
        QVERIFY(ui.boxes.isEmpty());
    else
        QCOMPARE(describe(ui.boxes.value(0)),
                 describeBox("Please enter Company information prior to using this function.",
                             "No Company Data", MsgButtons::OK, MsgIcon::None));
    QVERIFY(tmrMain.isActive());
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(tst_CoverPrice)
#include "tst_coverprice.moc"
