#include "catalogue/coverprice/frmcoverprice.h"

#include "db/dataproblem.h"
#include "db/identifiers.h"
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

using db::showDataProblem;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;
using platform::showStatus;
using platform::twipsToPixels;

namespace {
constexpr int KeyBackspace = 8;

bool isPriceKey(int key)
{
    return (key >= '0' && key <= '9') || key == KeyBackspace || key == '.' || key == ',' || key == '$';
}

// The amount in a price text; nothing when it is none, or holds what the key
// filter refuses (a pasted "-5").
std::optional<platform::Currency> typedAmount(const QString &text)
{
    if (!std::all_of(text.begin(), text.end(), [](QChar c) { return isPriceKey(c.unicode()); }))
        return std::nullopt;
    return platform::tryCurrency(text);
}
} // namespace

frmCoverPrice::frmCoverPrice(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCoverPrice"));
    setWindowTitle(QStringLiteral("Set Current Cover Price"));
    setFixedSize(twipsToPixels(5520), twipsToPixels(2460));

    const char *labelNames[] = {"lblStatic0", "lblStatic1", "lblStatic2"};
    const QString captions[] = {QStringLiteral("Company:"), QStringLiteral("Title:"),
                                QStringLiteral("Cover Price:")};
    for (int i = 0; i < 3; ++i) {
        lblStatic[i] = new QLabel(captions[i], this);
        lblStatic[i]->setObjectName(QLatin1String(labelNames[i]));
        lblStatic[i]->setGeometry(platform::twipsRect(120, 120 + i * 720, 3615, 255));
    }

    cboCompany =
        platform::placeControl<QComboBox>(this, "cboCompany", platform::twipsRect(120, 420, 3615, 315));
    cboTitle = platform::placeControl<QComboBox>(this, "cboTitle", platform::twipsRect(120, 1140, 3615, 315));
    txtCoverPrice =
        platform::placeControl<QLineEdit>(this, "txtCoverPrice", platform::twipsRect(120, 1860, 1560, 315));
    lblStatic[0]->setBuddy(cboCompany);
    lblStatic[1]->setBuddy(cboTitle);
    lblStatic[2]->setBuddy(txtCoverPrice);

    cmdOK = platform::placeControl<QPushButton>(this, "cmdOK", platform::twipsRect(3960, 420, 1335, 420),
                                                QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdCancel = platform::placeControl<QPushButton>(
        this, "cmdCancel", platform::twipsRect(3960, 960, 1335, 420), QStringLiteral("Close"));

    setTabOrder(cboCompany, cboTitle);
    setTabOrder(cboTitle, txtCoverPrice);
    setTabOrder(txtCoverPrice, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    // A choice by the user, also of the entry already chosen, runs the
    // handler; filling a list never does.
    platform::onChoice(cboCompany, [this] { cboCompany_Click(); });
    platform::onChoice(cboTitle, [this] { cboTitle_Click(); });
    platform::onGotFocus(txtCoverPrice, [this] { txtCoverPrice_GotFocus(); });
    platform::onKeyPress(txtCoverPrice, [this](int &k) { txtCoverPrice_KeyPress(k); });
    platform::onLostFocusWithinWindow(txtCoverPrice, [this] { txtCoverPrice_LostFocus(); });
    // OK shows while the text differs from the one shown, so Enter (OK is
    // the default button) and Tab reach it before the box is left.
    connect(txtCoverPrice, &QLineEdit::textEdited, this, [this] { showOKForChange(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    platform::pressFocusedButtonOnEnter(this);
    Form_Load();
}

void frmCoverPrice::Form_Load()
{
    m_priceChanged = false;
    cboCompany->clear();
    cboTitle->clear();
    txtCoverPrice->clear();
    m_tag.clear();
    for (QWidget *w : {static_cast<QWidget *>(lblStatic[1]), static_cast<QWidget *>(cboTitle),
                       static_cast<QWidget *>(lblStatic[2]), static_cast<QWidget *>(txtCoverPrice),
                       static_cast<QWidget *>(cmdOK)})
        w->hide();
    cmdOK->setEnabled(false);
}

// A new choice shows another title's price (or none): OK must not save the
// text typed for the title left behind into the row of the one now chosen.
void frmCoverPrice::forgetPendingChange()
{
    m_priceChanged = false;
    cmdOK->hide();
    cmdOK->setEnabled(false);
}

void frmCoverPrice::showOKForChange()
{
    const bool on = m_priceChanged || txtCoverPrice->text() != m_tag;
    cmdOK->setVisible(on);
    cmdOK->setEnabled(on);
}

void frmCoverPrice::cboCompany_Click()
{
    if (cboCompany->currentIndex() < 0)
        return;
    forgetPendingChange();
    cboTitle->hide();
    lblStatic[1]->hide();
    txtCoverPrice->hide();
    lblStatic[2]->hide();

    const QString company = cboCompany->currentText();
    try {
        const std::optional<QString> companyId = db::CompanyIdForName(company);
        cboTitle->clear();
        const bool found = companyId && db::FillTitleList(cboTitle, *companyId);
        cboTitle->setCurrentIndex(-1);
        if (found) {
            lblStatic[1]->show();
            return;
        }
    } catch (const platform::EngineError &e) {
        cboTitle->hide();
        showDataProblem(QStringLiteral("The titles of this company could not be read."), e);
        return;
    }
    showMessage(QStringLiteral("No Titles exist for Company ") + company, QStringLiteral("No Titles Found"),
                MsgButtons::OK, MsgIcon::Critical);
}

void frmCoverPrice::cboTitle_Click()
{
    if (cboTitle->currentIndex() < 0)
        return;
    forgetPendingChange();
    txtCoverPrice->hide();
    lblStatic[2]->hide();

    db::Session &s = db::session();
    try {
        const std::optional<QString> titleId = db::TitleIdForName(cboTitle->currentText());
        if (!titleId)
            throw platform::EngineError(platform::errnum::NoCurrentRecord,
                                        QStringLiteral("The title is no longer in the collection."));
        s.rsCoverPrice.reset();
        s.rsCoverPrice = s.dbCollection.openRecordset(
            QStringLiteral("Select Title_ID, Cover_Price from CoverPrice where Title_ID = ?"),
            platform::RecordsetType::Dynaset, {*titleId});
        m_titleId = *titleId;
        if (s.rsCoverPrice->eof())
            txtCoverPrice->setText(platform::formatCurrency(platform::Currency()));
        else
            txtCoverPrice->setText(platform::formatCurrency(
                s.rsCoverPrice->value(QStringLiteral("Cover_Price")).value<platform::Currency>()));
    } catch (const platform::EngineError &e) {
        s.rsCoverPrice.reset();
        showDataProblem(QStringLiteral("The cover price of this title could not be read."), e);
        return;
    }
    m_tag = txtCoverPrice->text();
    txtCoverPrice->show();
    lblStatic[2]->show();
}

void frmCoverPrice::txtCoverPrice_GotFocus()
{
    platform::selectText(txtCoverPrice, 0, 99);
}

void frmCoverPrice::txtCoverPrice_KeyPress(int &keyAscii)
{
    if (isPriceKey(keyAscii))
        return;
    platform::beep();
    showStatus(QStringLiteral("Value must be numeric..."));
    keyAscii = 0;
}

void frmCoverPrice::txtCoverPrice_LostFocus()
{
    if (const auto amount = typedAmount(txtCoverPrice->text()))
        txtCoverPrice->setText(platform::formatCurrency(*amount));
    if (txtCoverPrice->text() != m_tag) {
        m_priceChanged = true;
        m_tag = txtCoverPrice->text();
    }
    showOKForChange();
}

void frmCoverPrice::cmdOK_Click()
{
    // Enter presses OK without leaving the box: the box is taken in first,
    // formatted as on leaving it.
    platform::leaveFocusedBox(this);
    if (!savePrice(db::trimSpaces(txtCoverPrice->text())))
        return;
    const QString message = QStringLiteral("Title ") + cboTitle->currentText() +
                            QStringLiteral("'s Cover Price has been updated");
    txtCoverPrice->hide();
    lblStatic[1]->hide();
    cboTitle->hide();
    lblStatic[2]->hide();
    showStatus(message);
    forgetPendingChange();
    db::Session &s = db::session();
    s.rsCoverPrice.reset();
    s.rsTitle.reset();
}

bool frmCoverPrice::savePrice(const QString &text)
{
    const std::optional<platform::Currency> amount = typedAmount(text);
    if (!amount) {
        showMessage(QStringLiteral("Must have a valid cover price"), QStringLiteral("Invalid Cover Price"),
                    MsgButtons::OK, MsgIcon::Exclamation);
        platform::refocusAndSelect(txtCoverPrice, 0, 99);
        return false;
    }
    db::Session &s = db::session();
    try {
        if (!s.rsCoverPrice || !s.rsCoverPrice->isOpen())
            throw platform::EngineError(platform::errnum::ObjectClosed,
                                        QStringLiteral("The cover price of this title is no longer open."));
        // A title without a price row (added outside this program) gets one,
        // so the price the user set is kept rather than lost.
        if (s.rsCoverPrice->eof()) {
            s.rsCoverPrice->addNew();
            s.rsCoverPrice->setValue(QStringLiteral("Title_ID"), m_titleId);
        } else {
            s.rsCoverPrice->edit();
        }
        s.rsCoverPrice->setValue(QStringLiteral("Cover_Price"), QVariant::fromValue(*amount));
        s.rsCoverPrice->update();
        return true;
    } catch (const platform::EngineError &e) {
        try {
            if (s.rsCoverPrice && s.rsCoverPrice->isOpen())
                s.rsCoverPrice->cancelUpdate();
        } catch (const platform::EngineError &) {
        }
        showDataProblem(QStringLiteral("The cover price could not be saved."), e);
        return false;
    }
}

void frmCoverPrice::cmdCancel_Click()
{
    platform::leaveFocusedBox(this);
    if (m_priceChanged && showMessage(QStringLiteral("Cover Price change not saved, Ok to Close"),
                                      QStringLiteral("Cover Price Not Updated"), MsgButtons::YesNo,
                                      MsgIcon::Question) != MsgAnswer::Yes)
        return;
    db::session().closeSlots();
    QDialog::reject();
}

void frmCoverPrice::reject()
{
    cmdCancel_Click();
}

bool LoadCoverPriceCompanyList(frmCoverPrice &form)
{
    const bool filled = db::FillCompanyList(form.cboCompany);
    // The list opens with no company chosen, as its titles are not read yet.
    form.cboCompany->setCurrentIndex(-1);
    return filled;
}
