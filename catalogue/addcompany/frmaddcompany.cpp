#include "catalogue/addcompany/frmaddcompany.h"

#include "db/dataproblem.h"
#include "db/lookuplists.h"
#include "db/session.h"
#include "platform/controls.h"
#include "platform/engineerror.h"
#include "platform/eventbinding.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "platform/textbox.h"
#include "platform/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;
using platform::showStatus;
using platform::twipsToPixels;

namespace {
constexpr int MaxNameLength = 25;
} // namespace

frmAddCompany::frmAddCompany(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddCompany"));
    setWindowTitle(QStringLiteral("Add a New Company"));
    setFixedSize(twipsToPixels(6000), twipsToPixels(1560));

    Label1 = platform::placeControl<QLabel>(this, "Label1", platform::twipsRect(120, 270, 2040, 255),
                                            QStringLiteral("New Company Name:"));

    txtCompanyName =
        platform::placeControl<QLineEdit>(this, "txtCompanyName", platform::twipsRect(2220, 210, 3600, 345));
    Label1->setBuddy(txtCompanyName);

    cmdExit = platform::placeControl<QPushButton>(this, "cmdExit", platform::twipsRect(3000, 840, 1215, 420),
                                                  QStringLiteral("&Close"));

    cmdAdd = platform::placeControl<QPushButton>(this, "cmdAdd", platform::twipsRect(4605, 840, 1215, 420),
                                                 QStringLiteral("&Add"));

    // Enter in the name box must not pick a button (the first one in tab
    // order is Close); on a focused button it presses that one.
    for (QPushButton *b : {cmdExit, cmdAdd}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setTabOrder(txtCompanyName, cmdExit);
    setTabOrder(cmdExit, cmdAdd);

    platform::onGotFocus(txtCompanyName, [this] { txtCompanyName_GotFocus(); });
    platform::onLostFocusWithinWindow(txtCompanyName, [this] { txtCompanyName_LostFocus(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });

    platform::pressFocusedButtonOnEnter(this);
    Form_Load();
}

void frmAddCompany::Form_Load()
{
    db::Session &s = db::session();
    m_pendingId.clear();
    showStatus(QStringLiteral("Retrieving Company information"));
    m_lists.clear();
    try {
        s.rsCompany.reset();
        s.rsCompany =
            s.dbCollection.openRecordset(QStringLiteral("Select * from Company order by Company_ID"));
    } catch (const platform::EngineError &) {
        db::showDataError();
        return;
    }
    try {
        s.rsCompany->moveFirst();
        while (!s.rsCompany->eof()) {
            m_lists.append(s.rsCompany->value(QStringLiteral("Company_ID")).toString(),
                           s.rsCompany->value(QStringLiteral("Company")).toString());
            s.rsCompany->moveNext();
        }
        showStatus(QStringLiteral("Please enter new company name"));
    } catch (const platform::EngineError &) {
        // An empty table: MoveFirst has no row to go to.
        try {
            if (s.rsCompany->recordCount() != -1)
                showStatus(QStringLiteral("No Company data"));
        } catch (const platform::EngineError &) {
            showStatus(QStringLiteral("No Company data"));
        }
    }
}

void frmAddCompany::txtCompanyName_GotFocus()
{
    platform::selectText(txtCompanyName, 0, MaxNameLength);
}

void frmAddCompany::txtCompanyName_LostFocus()
{
    try {
        if (checkName())
            return;
    } catch (const platform::EngineError &e) {
        db::showDataProblem(QStringLiteral("The company name could not be checked."), e);
    }
    platform::refocusAndSelect(txtCompanyName, 0, 99);
}

bool frmAddCompany::checkName()
{
    // What is checked, keyed and stored is the cleaned name, shown as such.
    if (const QString cleaned = db::CleanName(txtCompanyName->text()); cleaned != txtCompanyName->text())
        txtCompanyName->setText(cleaned);
    const QString text = txtCompanyName->text();
    if (db::trimSpaces(text).isEmpty()) {
        m_tag = text;
        return true;
    }
    if (m_tag == text)
        return true;
    m_examined = text;

    if (db::characterCount(text) > MaxNameLength) {
        showMessage(QStringLiteral("Company name must be 25 characters or less"),
                    QStringLiteral("Name Too Long"), MsgButtons::OK, MsgIcon::Exclamation);
        showStatus(QStringLiteral("Company name must be less than 25 characters"));
        return false;
    }
    const int count = db::session().rsCompany ? db::session().rsCompany->recordCount() : 0;
    if (count != 0 && count != -1) {
        showStatus(QStringLiteral("Checking for unique Company name"));
        if (!db::IsNameUnique(text, m_lists, QStringLiteral("Company Exists"),
                              QStringLiteral("This Company name already exists, please try again"))) {
            showStatus(QStringLiteral("Company name already exists"));
            return false;
        }
    }
    showStatus(QStringLiteral("Establishing the Company ID"));
    const QString id = db::MakeCompanyID(text, m_lists.ids);
    if (id.isEmpty()) {
        // Nothing in the name can make a key; the last accepted one stays pending
        // but Add will not use it for this text.
        showMessage(QStringLiteral("A Company ID cannot be made from this name, please use letters or digits "
                                   "rather than only spaces, brackets or #"),
                    QStringLiteral("Unusable Company Name"), MsgButtons::OK, MsgIcon::Exclamation);
        showStatus(QStringLiteral("Company name cannot be used"));
        return false;
    }
    m_pendingId = id;
    if (m_pendingId == db::FailedID) {
        m_failedName = text;
        // The identifier of the name accepted before is gone: that name,
        // typed again, must be given one afresh rather than pass as checked.
        m_tag.clear();
        return false;
    }
    m_tag = text;
    cmdAdd->setFocus();
    showStatus(QStringLiteral("Enter Add to add company data or close to abort"));
    return true;
}

void frmAddCompany::cmdAdd_Click()
{
    // What is checked, keyed and stored is the cleaned name, shown as such.
    if (const QString cleaned = db::CleanName(txtCompanyName->text()); cleaned != txtCompanyName->text())
        txtCompanyName->setText(cleaned);
    const QString name = txtCompanyName->text();
    // An emptied box would store an empty name (the engine refuses it).
    if (db::trimSpaces(name).isEmpty()) {
        showMessage(QStringLiteral("No Company Name Defined, please enter Company Name"),
                    QStringLiteral("Enter Company Name"), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    // A name typed but never checked is checked now, with its messages.
    if (name != m_tag && name != m_examined)
        txtCompanyName_LostFocus();
    if (m_pendingId == db::FailedID && name == m_failedName) {
        showMessage(
            QStringLiteral("Company Name exists in the database, please define a different Company Name"),
            QStringLiteral("Company Name must be unique"), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    // A refused name: the check has just said why, and the identifier pending
    // (if any) belongs to an earlier name.
    if (name != m_tag) {
        txtCompanyName->setFocus();
        return;
    }
    if (m_pendingId.isEmpty()) {
        showMessage(QStringLiteral("No Company Name Defined, please enter Company Name"),
                    QStringLiteral("Enter Company Name"), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }

    db::Session &s = db::session();
    try {
        showStatus(QStringLiteral("Adding new Company"));
        if (!s.rsCompany)
            s.rsCompany =
                s.dbCollection.openRecordset(QStringLiteral("Select * from Company order by Company_ID"));
        s.rsCompany->addNew();
        try {
            s.rsCompany->setValue(QStringLiteral("Company_ID"), m_pendingId);
            s.rsCompany->setValue(QStringLiteral("Company"), name);
            s.rsCompany->update();
        } catch (...) {
            s.rsCompany->cancelUpdate();
            throw;
        }
        s.rsCompany->moveLast();
        showStatus(QStringLiteral("Company ") + name + QStringLiteral(" added..."));
        m_lists.append(s.rsCompany->value(QStringLiteral("Company_ID")).toString(),
                       s.rsCompany->value(QStringLiteral("Company")).toString());
    } catch (const platform::EngineError &e) {
        showStatus(QStringLiteral("Company not added"));
        db::showDataProblem(QStringLiteral("The company could not be added."), e);
        return;
    }

    txtCompanyName->setText(QStringLiteral("Add another company?"));
    m_tag = txtCompanyName->text();
    m_pendingId.clear();
    txtCompanyName->setFocus();
    showStatus(QStringLiteral("Enter another Company or Close to quit"));
}

void frmAddCompany::cmdExit_Click()
{
    db::session().rsCompany.reset();
    QDialog::reject();
}

void frmAddCompany::reject()
{
    cmdExit_Click();
}
