#include "catalogue/addtitle/frmaddtitle.h"

#include "db/dataproblem.h"
#include "db/lookuplists.h"
#include "db/session.h"
#include "platform/controls.h"
#include "platform/conversion.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/eventbinding.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "platform/picklist.h"
#include "platform/textbox.h"
#include "platform/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;
using platform::showStatus;
using platform::twipsToPixels;

namespace {
constexpr int MaxTitleLength = 35;
constexpr int MaxYearDigits = 4;
constexpr int KeyBackspace = 8;

const QString CoverPriceSql = QStringLiteral("Select * from CoverPrice");
const QString TitleSql = QStringLiteral("Select * from Title order by Title_ID");

bool isDigitKey(int key)
{
    return key >= '0' && key <= '9';
}

// What a cover price box lets through besides digits and backspace: "$" and
// "." always, and the locale's own decimal mark and one-character currency
// symbol, so a price can be typed as the locale writes it.
bool isPriceKey(int key)
{
    if (key == '$' || key == '.')
        return true;
    const QLocale locale = platform::currencyLocale();
    const QString decimal = locale.decimalPoint();
    const QString symbol = locale.currencySymbol();
    return (decimal.size() == 1 && key == decimal.at(0).unicode()) ||
           (symbol.size() == 1 && key == symbol.at(0).unicode());
}

void refuseKey(int &keyAscii)
{
    showStatus(QStringLiteral("Value must be numeric"));
    platform::beep();
    keyAscii = 0;
}
} // namespace

frmAddTitle::frmAddTitle(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddTitle"));
    setWindowTitle(QStringLiteral("Add a Comic Book Title"));
    setFixedSize(twipsToPixels(6480), twipsToPixels(3000));

    txtTitle = platform::placeControl<QLineEdit>(this, "txtTitle", platform::twipsRect(1680, 180, 4560, 345));
    Label1 = platform::placeLabel(this, "Label1", QStringLiteral("New Title:"),
                                  platform::twipsRect(120, 240, 1440, 255), txtTitle);

    cboCompany =
        platform::placeControl<QComboBox>(this, "cboCompany", platform::twipsRect(1680, 660, 4560, 345));
    platform::onChoice(cboCompany, {});
    Label4 = platform::placeLabel(this, "Label4", QStringLiteral("Company:"),
                                  platform::twipsRect(120, 720, 1440, 255), cboCompany);

    txtCoverPrice =
        platform::placeControl<QLineEdit>(this, "txtCoverPrice", platform::twipsRect(1680, 1140, 1560, 345));
    Label2 = platform::placeLabel(this, "Label2", QStringLiteral("Cover Price:"),
                                  platform::twipsRect(120, 1200, 1440, 255), txtCoverPrice);

    txtBeginningYear = platform::placeControl<QLineEdit>(this, "txtBeginningYear",
                                                         platform::twipsRect(1680, 1620, 900, 345));
    txtBeginningYear->setMaxLength(MaxYearDigits);
    Label5 = platform::placeLabel(this, "Label5", QStringLiteral("Begining Year:"),
                                  platform::twipsRect(120, 1680, 1440, 255), txtBeginningYear);

    cmdAdd = platform::placeControl<QPushButton>(this, "cmdAdd", platform::twipsRect(3480, 2340, 1215, 420),
                                                 QStringLiteral("&Add"));

    cmdExit = platform::placeControl<QPushButton>(this, "cmdExit", platform::twipsRect(5025, 2340, 1215, 420),
                                                  QStringLiteral("&Close"));

    // Enter must not pick a button behind the user's back.
    for (QPushButton *b : {cmdAdd, cmdExit}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setTabOrder(txtTitle, cboCompany);
    setTabOrder(cboCompany, txtCoverPrice);
    setTabOrder(txtCoverPrice, txtBeginningYear);
    setTabOrder(txtBeginningYear, cmdAdd);
    setTabOrder(cmdAdd, cmdExit);

    platform::onLostFocusWithinWindow(txtTitle, [this] { txtTitle_LostFocus(); });
    platform::onGotFocus(txtCoverPrice, [this] { txtCoverPrice_GotFocus(); });
    platform::onKeyPress(txtCoverPrice, [this](int &k) { txtCoverPrice_KeyPress(k); });
    platform::onLostFocusWithinWindow(txtCoverPrice, [this] { txtCoverPrice_LostFocus(); });
    platform::onGotFocus(txtBeginningYear, [this] { txtBeginningYear_GotFocus(); });
    platform::onKeyPress(txtBeginningYear, [this](int &k) { txtBeginningYear_KeyPress(k); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });

    platform::pressFocusedButtonOnEnter(this);
    Form_Load();
}

void frmAddTitle::Form_Load()
{
    m_unsavedTitle = false;
}

bool frmAddTitle::frmAddTitle_Set()
{
    db::Session &s = db::session();
    s.rsCompany.reset();
    s.rsTitle.reset();
    s.rsCoverPrice.reset();
    try {
        s.rsCompany = s.dbCollection.openRecordset(db::CompanyListSql);
    } catch (const platform::EngineError &) {
        showStatus(QStringLiteral("Unexpected error condition"));
        db::showDataError();
        return false;
    }
    try {
        s.rsCompany->moveFirst();
        if (s.rsCompany->eof()) {
            showStatus(QStringLiteral("No Company data exists, add Company data"));
            showMessage(QStringLiteral("You must have Company data to enter titles"),
                        QStringLiteral("Enter Company Data First"), MsgButtons::OK, MsgIcon::Exclamation);
            return false;
        }
        cboCompany->clear();
        while (!s.rsCompany->eof()) {
            const QString id = s.rsCompany->value(QStringLiteral("Company_ID")).toString();
            // The list shows names only; the identifier rides along as the
            // item's data, exactly as stored (a padded text would show it
            // beside short names, and trimming would lose a leading space).
            cboCompany->addItem(s.rsCompany->value(QStringLiteral("Company")).toString(), id);
            s.rsCompany->moveNext();
        }
        cboCompany->setCurrentIndex(-1);

        s.rsCoverPrice = s.dbCollection.openRecordset(CoverPriceSql);
        m_lists.clear();
        s.rsTitle = s.dbCollection.openRecordset(TitleSql);
        s.rsTitle->moveFirst();
        while (!s.rsTitle->eof()) {
            m_lists.append(s.rsTitle->value(QStringLiteral("Title_ID")).toString(),
                           s.rsTitle->value(QStringLiteral("Title")).toString());
            s.rsTitle->moveNext();
        }
        showStatus(QStringLiteral("Add Title or select close"));
        return true;
    } catch (const platform::EngineError &) {
        auto emptySlot = [](const std::unique_ptr<platform::Recordset> &rs) {
            if (!rs)
                return false;
            const int count = rs->recordCount();
            return count == 0 || count == -1;
        };
        try {
            if (emptySlot(s.rsCompany)) {
                showStatus(QStringLiteral("No Company data exists, add Company data"));
                showMessage(QStringLiteral("Please enter Company information prior to adding Titles."),
                            QStringLiteral("No Company Data"), MsgButtons::OK, MsgIcon::None);
                return false;
            }
            if (emptySlot(s.rsTitle)) {
                showStatus(QStringLiteral("Add Title or select close"));
                return true;
            }
        } catch (const platform::EngineError &) {
        }
        showStatus(QStringLiteral("Unexpected error condition"));
        db::showDataError();
        return false;
    }
}

void frmAddTitle::txtTitle_LostFocus()
{
    try {
        if (checkTitle())
            return;
    } catch (const platform::EngineError &e) {
        db::showDataProblem(QStringLiteral("The title could not be checked."), e);
    }
    platform::refocusAndSelect(txtTitle, 0, 99);
}

bool frmAddTitle::checkTitle()
{
    // What is checked, keyed and stored is the cleaned name, shown as such.
    if (const QString cleaned = db::CleanName(txtTitle->text()); cleaned != txtTitle->text())
        txtTitle->setText(cleaned);
    const QString text = txtTitle->text();
    if (db::trimSpaces(text).isEmpty()) {
        m_tag = text;
        return true;
    }
    if (m_tag == text)
        return true;
    m_examined = text;

    if (db::characterCount(text) > MaxTitleLength) {
        showMessage(QStringLiteral("Title name must be 35 characters or less"),
                    QStringLiteral("Name Too Long"), MsgButtons::OK, MsgIcon::Exclamation);
        showStatus(QStringLiteral("Tile must less than 35 characters"));
        return false;
    }
    const int count = db::session().rsTitle ? db::session().rsTitle->recordCount() : 0;
    if (count != 0 && count != -1) {
        if (!db::IsNameUnique(text, m_lists, QStringLiteral("Title Exists"),
                              QStringLiteral("This Title already exists, please try again"))) {
            showStatus(QStringLiteral("Tile must be unique"));
            return false;
        }
    }
    const QString id = db::MakeTitleID(text, m_lists.ids);
    if (id.isEmpty()) {
        showMessage(QStringLiteral("A Title ID cannot be made from this name, please use letters or digits "
                                   "rather than only spaces, brackets or #"),
                    QStringLiteral("Unusable Title"), MsgButtons::OK, MsgIcon::Exclamation);
        showStatus(QStringLiteral("Title cannot be used"));
        return false;
    }
    m_pendingId = id;
    if (m_pendingId == db::FailedID) {
        // The identifier of the name accepted before is gone: that name,
        // typed again, must be given one afresh rather than pass as checked.
        m_tag.clear();
        return false;
    }
    m_tag = text;
    m_unsavedTitle = true;
    return true;
}

void frmAddTitle::txtCoverPrice_GotFocus()
{
    platform::selectText(txtCoverPrice, 0, 99);
}

void frmAddTitle::txtCoverPrice_KeyPress(int &keyAscii)
{
    if (!isDigitKey(keyAscii) && keyAscii != KeyBackspace && !isPriceKey(keyAscii))
        refuseKey(keyAscii);
}

void frmAddTitle::txtCoverPrice_LostFocus()
{
    const QString text = txtCoverPrice->text();
    if (!platform::isNumericText(text))
        return;
    try {
        txtCoverPrice->setText(platform::formatCurrency(platform::toCurrency(text)));
    } catch (const platform::EngineError &) {
        // Beyond the currency range: left as typed; Add says what is wrong.
    }
}

void frmAddTitle::txtBeginningYear_GotFocus()
{
    platform::selectText(txtBeginningYear, 0, 99);
}

void frmAddTitle::txtBeginningYear_KeyPress(int &keyAscii)
{
    if (!isDigitKey(keyAscii) && keyAscii != KeyBackspace)
        refuseKey(keyAscii);
}

void frmAddTitle::cmdAdd_Click()
{
    // What is checked, keyed and stored is the cleaned name, shown as such.
    if (const QString cleaned = db::CleanName(txtTitle->text()); cleaned != txtTitle->text())
        txtTitle->setText(cleaned);
    const QString title = txtTitle->text();
    if (db::trimSpaces(title).isEmpty()) {
        showStatus(QStringLiteral("Must have Title defined"));
        showMessage(QStringLiteral("Must have a Title to Add"), QStringLiteral("No Title Defined"),
                    MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    // A name typed but never checked is checked now, with its messages. A
    // refused one has just been explained by that check; the identifier
    // pending then belongs to another name and must not be stored.
    if (title != m_tag && title != m_examined)
        txtTitle_LostFocus();
    if (title != m_tag || !m_unsavedTitle || m_pendingId.isEmpty() || m_pendingId == db::FailedID) {
        txtTitle->setFocus();
        return;
    }
    const QString price = db::trimSpaces(txtCoverPrice->text());
    // The key filters' rules hold for pasted texts too.
    const bool priceTypeable = std::all_of(price.begin(), price.end(), [](QChar c) {
        return isDigitKey(c.unicode()) || isPriceKey(c.unicode());
    });
    if (!priceTypeable || !platform::isNumericText(price)) {
        showStatus(QStringLiteral("Cover price is required"));
        showMessage(QStringLiteral("Must have a valid default cover price"),
                    QStringLiteral("Invalid Cover Price"), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    const QString year = db::trimSpaces(txtBeginningYear->text());
    if (year.size() > MaxYearDigits ||
        !std::all_of(year.begin(), year.end(), [](QChar c) { return isDigitKey(c.unicode()); })) {
        showStatus(QStringLiteral("Beginning Year must be 4 digits or fewer"));
        showMessage(QStringLiteral("Beginning Year must be a year of up to 4 digits"),
                    QStringLiteral("Invalid Year"), MsgButtons::OK, MsgIcon::Exclamation);
        platform::refocusAndSelect(txtBeginningYear, 0, 99);
        return;
    }
    if (cboCompany->currentIndex() < 0) {
        showStatus(QStringLiteral("Company information is required"));
        showMessage(QStringLiteral("Must specify a company for the title"),
                    QStringLiteral("No Company Selected"), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }

    if (!storeTitle(title, cboCompany->currentData().toString()))
        return;

    showStatus(QStringLiteral("Title ") + title + QStringLiteral(" added..."));
    const platform::Recordset &rs = *db::session().rsTitle;
    m_lists.append(rs.value(QStringLiteral("Title_ID")).toString(),
                   rs.value(QStringLiteral("Title")).toString());
    txtTitle->clear();
    // The box is empty now; retyping the same name must meet the check again.
    m_tag.clear();
    txtTitle->setFocus();
    m_unsavedTitle = false;
    showStatus(QStringLiteral("Add another Title or select close"));
}

bool frmAddTitle::storeTitle(const QString &title, const QString &companyId)
{
    db::Session &s = db::session();
    try {
        const platform::Currency price = platform::toCurrency(db::trimSpaces(txtCoverPrice->text()));
        if (!s.rsTitle || !s.rsCoverPrice)
            reopenTitleSlots();

        // Both rows or neither: a title is never left without its price.
        platform::Transaction transaction(s.dbCollection);
        s.rsTitle->addNew();
        s.rsTitle->setValue(QStringLiteral("Title_ID"), m_pendingId);
        s.rsTitle->setValue(QStringLiteral("Title"), title);
        if (const QString year = db::trimSpaces(txtBeginningYear->text()); !year.isEmpty())
            s.rsTitle->setValue(QStringLiteral("Begin_Year"), year);
        s.rsTitle->setValue(QStringLiteral("Company_ID"), companyId);
        s.rsTitle->update();
        s.rsTitle->moveLast();

        s.rsCoverPrice->addNew();
        s.rsCoverPrice->setValue(QStringLiteral("Title_ID"), m_pendingId);
        s.rsCoverPrice->setValue(QStringLiteral("Cover_Price"), QVariant::fromValue(price));
        s.rsCoverPrice->update();
        transaction.commit();
        return true;
    } catch (const platform::EngineError &e) {
        // The transaction has rolled back; fresh recordsets drop any row they
        // still hold from the attempt.
        try {
            reopenTitleSlots();
        } catch (const platform::EngineError &) {
        }
        showStatus(QStringLiteral("Title not added"));
        db::showDataProblem(QStringLiteral("The title could not be added."), e);
        return false;
    }
}

void frmAddTitle::reopenTitleSlots()
{
    db::Session &s = db::session();
    s.rsTitle.reset();
    s.rsCoverPrice.reset();
    s.rsTitle = s.dbCollection.openRecordset(TitleSql);
    s.rsCoverPrice = s.dbCollection.openRecordset(CoverPriceSql);
}

void frmAddTitle::cmdExit_Click()
{
    platform::leaveFocusedBox(this);
    if (m_unsavedTitle &&
        showMessage(QStringLiteral("Title not saved, Ok to Close"), QStringLiteral("Unsaved Title"),
                    MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::No)
        return;
    db::Session &s = db::session();
    s.rsTitle.reset();
    s.rsCompany.reset();
    s.rsCoverPrice.reset();
    QDialog::reject();
}

void frmAddTitle::reject()
{
    cmdExit_Click();
}
