#include "catalogue/issue/frmaddissue.h"

#include "catalogue/issue/issuerecords.h"
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

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace frmissue;
using platform::EngineError;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;
using platform::showStatus;
using platform::twipsRect;

namespace {
constexpr int KeyBackspace = 8;
constexpr int KeyEnter = 13;
const char *const TagProperty = "Tag";

QLineEdit *textBox(QWidget *parent, const char *name, const QRect &geometry)
{
    return platform::placeControl<QLineEdit>(parent, name, geometry);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = platform::placeControl<QPushButton>(parent, name, geometry, caption);
    // Enter must not press a button behind the user's back.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void setButton(QPushButton *b, bool on)
{
    b->setVisible(on);
    b->setEnabled(on);
}

bool isDigitKey(int key)
{
    return key >= '0' && key <= '9';
}

void refuseKey(int &keyAscii)
{
    keyAscii = 0;
    platform::beep();
    showStatus(QStringLiteral("Value must be numeric..."));
}

// The lookup refuses what cannot be an issue number: text that is not a
// number at all, and numbers that are not whole or lie outside 16 bits.
enum class NumberCheck { Whole, NotNumeric, OutOfRange };
NumberCheck checkNumber(const QString &text)
{
    try {
        platform::toInteger16(text);
        return NumberCheck::Whole;
    } catch (const EngineError &) {
    }
    bool numeric = false;
    text.trimmed().toDouble(&numeric);
    return numeric || platform::isNumericText(text) ? NumberCheck::OutOfRange : NumberCheck::NotNumeric;
}
} // namespace

frmAddIssue::frmAddIssue(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddIssue"));
    setWindowTitle(QStringLiteral("Maintain Comic Issue Information"));
    setFixedSize(platform::twipsToPixels(6825), platform::twipsToPixels(5670));
    // The layout is dense: the smaller dialog font keeps every caption whole.
    QFont compact = font();
    compact.setPointSizeF(8);
    setFont(compact);

    cboCompany = platform::placeControl<QComboBox>(this, "cboCompany", twipsRect(120, 360, 3375, 315));
    Label1 = platform::placeLabel(this, "Label1", QStringLiteral("Company:"), twipsRect(120, 120, 2295, 255),
                                  cboCompany);
    cboTitle = platform::placeControl<QComboBox>(this, "cboTitle", twipsRect(120, 1080, 4455, 315));
    Label2 = platform::placeLabel(this, "Label2", QStringLiteral("Title:"), twipsRect(120, 840, 2295, 255),
                                  cboTitle);
    cmdExit = button(this, "cmdExit", QStringLiteral("&Close"), twipsRect(5040, 120, 1455, 435));

    fraAddIssue = platform::placeControl<QGroupBox>(this, "fraAddIssue", twipsRect(120, 1680, 6615, 3855),
                                                    QStringLiteral("Maintain Issue"));
    QWidget *fra = fraAddIssue;

    txtIssueNumber = textBox(fra, "txtIssueNumber", twipsRect(1320, 420, 855, 285));
    Label3 = platform::placeLabel(fra, "Label3", QStringLiteral("Issue Number:"),
                                  twipsRect(120, 420, 1200, 285), txtIssueNumber);

    fraCondition = platform::placeControl<QGroupBox>(fra, "fraCondition", twipsRect(2400, 120, 2415, 1815),
                                                     QStringLiteral("Condition"));
    const QString captions[] = {QString(),
                                QStringLiteral("Mint"),
                                QStringLiteral("Near Mint"),
                                QStringLiteral("Very Fine"),
                                QStringLiteral("Fine"),
                                QStringLiteral("Very Good"),
                                QStringLiteral("Good"),
                                QStringLiteral("Fair"),
                                QStringLiteral("Poor")};
    for (int i = 1; i <= 8; ++i) {
        auto *o = new QRadioButton(captions[i], fraCondition);
        o->setObjectName(QStringLiteral("optCondition%1").arg(i));
        // The left column reaches to the right one so "Very Good" is not cut.
        o->setGeometry(twipsRect(i % 2 ? 120 : 1320, 240 + (i - 1) / 2 * 360, i % 2 ? 1200 : 1095, 255));
        optCondition[size_t(i)] = o;
        // Only a change of selection counts: choosing the option already
        // selected does nothing.
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optCondition_Click(i);
        });
    }

    txtQuantity = textBox(fra, "txtQuantity", twipsRect(1320, 780, 855, 285));
    Label4 = platform::placeLabel(fra, "Label4", QStringLiteral("Quantity"), twipsRect(120, 780, 1200, 285),
                                  txtQuantity);
    txtOriginalPrice = textBox(fra, "txtOriginalPrice", twipsRect(1320, 1140, 855, 285));
    Label5 = platform::placeLabel(fra, "Label5", QStringLiteral("Original Price:"),
                                  twipsRect(120, 1140, 1200, 285), txtOriginalPrice);
    txtCurrentValue = textBox(fra, "txtCurrentValue", twipsRect(1320, 1500, 855, 285));
    Label6 = platform::placeLabel(fra, "Label6", QStringLiteral("Current Value:"),
                                  twipsRect(120, 1500, 1200, 285), txtCurrentValue);
    // Several lines that wrap: four show at once.
    txtNotes = platform::placeControl<platform::TextArea>(fra, "txtNotes", twipsRect(240, 2400, 4455, 1335));
    Label7 = platform::placeLabel(fra, "Label7", QStringLiteral("Notes:"), twipsRect(240, 2100, 1200, 255),
                                  txtNotes);

    cmdAddIssue = button(fra, "cmdAddIssue", QStringLiteral("&Add Issue"), twipsRect(4920, 240, 1455, 435));
    cmdUpdateIssue =
        button(fra, "cmdUpdateIssue", QStringLiteral("&Update Issue"), twipsRect(4920, 840, 1455, 435));
    cmdDeleteIssue =
        button(fra, "cmdDeleteIssue", QStringLiteral("&Delete Issue"), twipsRect(4920, 1440, 1455, 435));
    cmdScroll[0] =
        button(fra, "cmdScroll0", QStringLiteral("Scroll &Next"), twipsRect(4920, 2040, 1455, 435));
    cmdScroll[1] =
        button(fra, "cmdScroll1", QStringLiteral("Scroll &Previous"), twipsRect(4920, 2640, 1455, 435));

    lblTitleID = platform::placeLabel(this, "lblTitleID", QString(), QRect());
    lblCurrentSelect = platform::placeLabel(this, "lblCurrentSelect", QString(), QRect());
    lblCondition = platform::placeLabel(this, "lblCondition", QString(), QRect());
    lblCoverPrice = platform::placeLabel(this, "lblCoverPrice", QString(), QRect());
    for (QLabel *l : {lblTitleID, lblCurrentSelect, lblCondition, lblCoverPrice})
        l->setVisible(false);

    QWidget *order[] = {cboCompany,      cboTitle,        txtIssueNumber,   optCondition[1], optCondition[2],
                        optCondition[3], optCondition[4], optCondition[5],  optCondition[6], optCondition[7],
                        optCondition[8], txtQuantity,     txtOriginalPrice, txtCurrentValue, txtNotes,
                        cmdAddIssue,     cmdUpdateIssue,  cmdDeleteIssue,   cmdScroll[0],    cmdScroll[1],
                        cmdExit};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Got-focus handlers run when the user (or the screen) moves the focus,
    // not when the window gets it back from a message box or a list's popup.
    for (QWidget *w : {static_cast<QWidget *>(cboCompany), static_cast<QWidget *>(cboTitle),
                       static_cast<QWidget *>(txtIssueNumber), static_cast<QWidget *>(txtQuantity),
                       static_cast<QWidget *>(txtOriginalPrice), static_cast<QWidget *>(txtCurrentValue),
                       static_cast<QWidget *>(txtNotes)})
        w->installEventFilter(this);

    platform::onLostFocusWithinWindow(txtIssueNumber, [this] { txtIssueNumber_LostFocus(); });
    platform::onKeyPress(txtQuantity, [this](int &k) { txtQuantity_KeyPress(k); });
    platform::onLostFocusWithinWindow(txtQuantity, [this] { txtQuantity_LostFocus(); });
    platform::onKeyPress(txtOriginalPrice, [this](int &k) { txtOriginalPrice_KeyPress(k); });
    platform::onLostFocusWithinWindow(txtOriginalPrice, [this] { txtOriginalPrice_LostFocus(); });
    platform::onKeyPress(txtCurrentValue, [this](int &k) { txtCurrentValue_KeyPress(k); });
    platform::onLostFocusWithinWindow(txtCurrentValue, [this] { txtCurrentValue_LostFocus(); });
    platform::onLostFocusWithinWindow(txtNotes, [this] { txtNotes_LostFocus(); });
    platform::onChoice(cboCompany, [this] { cboCompany_Click(); });
    platform::onChoice(cboTitle, [this] { cboTitle_Click(); });
    connect(cmdAddIssue, &QPushButton::clicked, this, [this] { cmdAddIssue_Click(); });
    connect(cmdUpdateIssue, &QPushButton::clicked, this, [this] { cmdUpdateIssue_Click(); });
    connect(cmdDeleteIssue, &QPushButton::clicked, this, [this] { cmdDeleteIssue_Click(); });
    connect(cmdScroll[0], &QPushButton::clicked, this, [this] { cmdScroll_Click(0); });
    connect(cmdScroll[1], &QPushButton::clicked, this, [this] { cmdScroll_Click(1); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });

    cboTitle->setVisible(false);
    Label2->setVisible(false);
    fraAddIssue->setVisible(false);
    platform::pressFocusedButtonOnEnter(this);
    Form_Load();
}

bool frmAddIssue::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool returning = m_returningFocus && watched == txtIssueNumber;
        if (watched == txtIssueNumber)
            m_returningFocus = false;
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (returning) {
            platform::selectText(txtIssueNumber, 0, 99);
            return false;
        }
        if (watched == cboCompany)
            cboCompany_GotFocus();
        else if (watched == cboTitle)
            cboTitle_GotFocus();
        else if (watched == txtIssueNumber)
            txtIssueNumber_GotFocus();
        else if (watched == txtQuantity)
            txtQuantity_GotFocus();
        else if (watched == txtOriginalPrice)
            txtOriginalPrice_GotFocus();
        else if (watched == txtCurrentValue)
            txtCurrentValue_GotFocus();
        else if (watched == txtNotes)
            txtNotes_GotFocus();
    } else if (event->type() == QEvent::KeyPress && watched == txtIssueNumber) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            int code = KeyEnter;
            txtIssueNumber_KeyPress(code);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString frmAddIssue::tag(const QWidget *box) const
{
    return box->property(TagProperty).toString();
}

void frmAddIssue::setTag(QWidget *box, const QString &value)
{
    box->setProperty(TagProperty, value);
}

void frmAddIssue::setShown(QLineEdit *box, const QString &value)
{
    box->setText(value);
    setTag(box, value);
}

void frmAddIssue::setShown(platform::TextArea *box, const QString &value)
{
    box->setText(value);
    setTag(box, value);
}

void frmAddIssue::selectCondition(int code)
{
    if (code >= 1 && code <= 8)
        optCondition[size_t(code)]->setChecked(true);
}

void frmAddIssue::hideIssueFrame()
{
    const QWidget *focus = QApplication::focusWidget();
    if (focus && fraAddIssue->isAncestorOf(focus))
        cmdExit->setFocus();
    fraAddIssue->setVisible(false);
}

// What the user declined to save is dropped from the screen too: left
// there, it would stand over the cursor's row, and an edit of it would be
// written into that other issue.
void frmAddIssue::showStoredIssue()
{
    const auto &rs = db::session().rsIssue;
    if (!rs || rs->absolutePosition() == -1) {
        // No stored issue to show: the title's proposal again.
        OpenTitleIssues(*this, lblTitleID->text(), editMode);
        editMode = QStringLiteral("Add");
        return;
    }
    editMode = QStringLiteral("PassThrough");
    ShowIssueKey(*this, editMode);
    editMode.clear();
    ShowIssueDetails(*this, editMode);
    showDeleteButton();
}

void frmAddIssue::showDeleteButton()
{
    setButton(cmdDeleteIssue, true);
}

void frmAddIssue::reportEngineError(const QString &what, const QString &text)
{
    showStatus(what + QStringLiteral(" failed"));
    showMessage(what + QStringLiteral(" could not be completed.\n\n") + text, QStringLiteral("Data Error"),
                MsgButtons::OK, MsgIcon::Critical);
}

void frmAddIssue::Form_Load()
{
    editMode.clear();
    lastCondition = 0;
    setBackgroundRole(QPalette::Midlight);
    setAutoFillBackground(true);
}

void frmAddIssue::cboCompany_GotFocus()
{
    try {
        if (ConfirmPendingSave(*this, QStringLiteral(" changing Company"), editMode)) {
            hideIssueFrame();
            cboTitle->setVisible(false);
            Label2->setVisible(false);
        } else {
            txtNotes->setFocus();
        }
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Saving the issue"), e.text());
    }
}

void frmAddIssue::cboCompany_Click()
{
    if (cboCompany->currentIndex() < 0)
        return;
    const QString company = cboCompany->currentText();
    try {
        hideIssueFrame();
        const auto companyId = db::CompanyIdForName(company);
        {
            const QSignalBlocker blocker(cboTitle);
            cboTitle->clear();
        }
        bool filled = false;
        if (companyId) {
            const QSignalBlocker blocker(cboTitle);
            filled = db::FillTitleList(cboTitle, *companyId);
            // Nothing is chosen until the user chooses.
            cboTitle->setCurrentIndex(-1);
        }
        if (!filled) {
            cboTitle->setVisible(false);
            Label2->setVisible(false);
            showMessage(QStringLiteral("No Titles exist for Company ") + company,
                        QStringLiteral("No Titles Found"), MsgButtons::OK, MsgIcon::Critical);
            return;
        }
        Label2->setVisible(true);
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Reading the titles"), e.text());
    }
}

void frmAddIssue::cboTitle_GotFocus()
{
    try {
        if (ConfirmPendingSave(*this, QStringLiteral(" changing Title"), editMode))
            hideIssueFrame();
        else
            txtNotes->setFocus();
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Saving the issue"), e.text());
    }
}

void frmAddIssue::cboTitle_Click()
{
    if (cboTitle->currentIndex() < 0)
        return;
    try {
        const auto titleId = db::TitleIdForName(cboTitle->currentText());
        if (!titleId) {
            db::showDataError();
            return;
        }
        lblTitleID->setText(*titleId);
        OpenTitleIssues(*this, *titleId, editMode);
        txtIssueNumber->setFocus();
        platform::selectText(txtIssueNumber, 0, 99);
    } catch (const EngineError &e) {
        hideIssueFrame();
        editMode.clear();
        reportEngineError(QStringLiteral("Opening the title's issues"), e.text());
    }
}

void frmAddIssue::txtIssueNumber_GotFocus()
{
    platform::selectText(txtIssueNumber, 0, 99);
    const bool adding = editMode == QStringLiteral("Add");
    try {
        if (adding || editMode == QStringLiteral("Update")) {
            const QString text =
                (adding ? QStringLiteral("Add new Issue ") : QStringLiteral("Update Issue ")) +
                txtIssueNumber->text() + QStringLiteral(" in ") + SelectedCondition(*this).mid(1) +
                QStringLiteral(" condition before changing");
            if (showMessage(text, QStringLiteral("Save Changes"), MsgButtons::YesNo, MsgIcon::Question) ==
                MsgAnswer::Yes) {
                if (adding ? AddIssue(*this, QString(), editMode) : UpdateIssue(*this, QString(), editMode))
                    editMode.clear();
            } else {
                editMode.clear();
                showStoredIssue();
                platform::selectText(txtIssueNumber, 0, 99);
            }
        } else if (editMode == QStringLiteral("Init")) {
            editMode = QStringLiteral("Add");
            platform::selectText(txtIssueNumber, 0, 99);
        }
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Saving the issue"), e.text());
    }
}

void frmAddIssue::txtIssueNumber_KeyPress(int &keyAscii)
{
    if (keyAscii != KeyEnter)
        return;
    keyAscii = 0;
    platform::selectText(txtIssueNumber, 0, 99);
    try {
        bool prepared = false;
        txtIssueNumber_LostFocus_Standin(prepared);
        // Stored, the number shows selected again, so the next one typed
        // replaces it ("50" Enter "51" Enter).
        if (prepared && AddIssue(*this, QString(), editMode) && txtIssueNumber->hasFocus())
            platform::selectText(txtIssueNumber, 0, 99);
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Adding the issue"), e.text());
    }
}

void frmAddIssue::txtIssueNumber_LostFocus()
{
    try {
        bool ignored = false;
        txtIssueNumber_LostFocus_Standin(ignored);
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Looking up the issue"), e.text());
    }
}

void frmAddIssue::txtIssueNumber_LostFocus_Standin(bool &result)
{
    result = false;
    const QString text = txtIssueNumber->text();
    if (text == tag(txtIssueNumber))
        return;
    if (text.isEmpty()) {
        setShown(txtIssueNumber, QStringLiteral("0"));
    } else if (const NumberCheck check = checkNumber(text); check != NumberCheck::Whole) {
        if (check == NumberCheck::NotNumeric)
            showMessage(QStringLiteral("Issue Number must be numeric"), QStringLiteral("Bad Issue Number"),
                        MsgButtons::OK, MsgIcon::Critical);
        else
            showMessage(QStringLiteral("Issue Number must be a whole number from -32768 to 32767"),
                        QStringLiteral("Bad Issue Number"), MsgButtons::OK, MsgIcon::Critical);
        txtIssueNumber->setText(tag(txtIssueNumber));
        // Back to the box without the got-focus questions: the user is
        // correcting the number, not leaving the issue.
        m_returningFocus = !txtIssueNumber->hasFocus();
        platform::refocusAndSelect(txtIssueNumber, 0, 99);
        return;
    }

    if (FindIssue(*this, 1, SelectedCondition(*this).left(1), editMode)) {
        ShowIssueDetails(*this, editMode);
        editMode = QStringLiteral("PassThrough");
        selectCondition(db::session().rsIssue->value(QStringLiteral("Condition")).toInt());
        editMode.clear();
        showDeleteButton();
        setButton(cmdAddIssue, false);
        return;
    }
    const auto &rs = db::session().rsIssue;
    if (rs && rs->absolutePosition() != -1)
        PrepareNewIssue(*this);
    else
        setTag(txtIssueNumber, txtIssueNumber->text());
    editMode = QStringLiteral("Add");
    setButton(cmdDeleteIssue, false);
    setButton(cmdUpdateIssue, false);
    setButton(cmdAddIssue, true);
    result = true;
}

void frmAddIssue::txtQuantity_GotFocus()
{
    platform::selectText(txtQuantity, 0, 99);
}

void frmAddIssue::txtOriginalPrice_GotFocus()
{
    platform::selectText(txtOriginalPrice, 0, 99);
}

void frmAddIssue::txtCurrentValue_GotFocus()
{
    platform::selectText(txtCurrentValue, 0, 99);
}

void frmAddIssue::txtNotes_GotFocus()
{
    platform::selectText(txtNotes, 0, 99);
}

void frmAddIssue::txtQuantity_KeyPress(int &keyAscii)
{
    if (!isDigitKey(keyAscii) && keyAscii != KeyBackspace)
        refuseKey(keyAscii);
}

void frmAddIssue::txtOriginalPrice_KeyPress(int &keyAscii)
{
    if (keyAscii != KeyBackspace && !IsAmountCharacter(QChar(keyAscii)))
        refuseKey(keyAscii);
}

void frmAddIssue::txtCurrentValue_KeyPress(int &keyAscii)
{
    txtOriginalPrice_KeyPress(keyAscii);
}

void frmAddIssue::fieldLeft(QWidget *box, const QString &text)
{
    if (text == tag(box))
        return;
    setTag(box, text);
    // A proposed issue not yet entered ("Init") is as unsaved as one being
    // added: editing it must never turn into an update of a stored row.
    if (editMode != QStringLiteral("Add") && editMode != QStringLiteral("Init")) {
        setButton(cmdUpdateIssue, true);
        editMode = QStringLiteral("Update");
    }
}

void frmAddIssue::moneyLeft(QLineEdit *box)
{
    // Amounts the currency range cannot hold stay as typed; saving says why.
    if (const auto amount = platform::tryCurrency(box->text()))
        box->setText(platform::formatCurrency(*amount));
    fieldLeft(box, box->text());
}

void frmAddIssue::txtQuantity_LostFocus()
{
    fieldLeft(txtQuantity, txtQuantity->text());
}

void frmAddIssue::txtOriginalPrice_LostFocus()
{
    moneyLeft(txtOriginalPrice);
}

void frmAddIssue::txtCurrentValue_LostFocus()
{
    moneyLeft(txtCurrentValue);
}

void frmAddIssue::txtNotes_LostFocus()
{
    fieldLeft(txtNotes, txtNotes->text());
}

void frmAddIssue::optCondition_Click(int index)
{
    try {
        optConditionClickUnguarded(index);
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Changing the condition"), e.text());
    }
}

void frmAddIssue::optConditionClickUnguarded(int index)
{
    const QString code = QString::number(index);
    const QString number = txtIssueNumber->text();
    if (lastCondition == 0 || editMode == QStringLiteral("PassThrough")) {
        lastCondition = index;
        return;
    }
    platform::Recordset *rs = db::session().rsIssue.get();

    if (editMode == QStringLiteral("Update")) {
        const platform::Bookmark edited = rs ? rs->bookmark() : platform::Bookmark();
        if (FindIssue(*this, 2, code, editMode)) {
            // The edits belong to the row left behind: they are offered for
            // saving, as when the clicked condition is not stored.
            const platform::Bookmark found = rs->bookmark();
            if (showMessage(
                    QStringLiteral("Update issue ") + number + QStringLiteral(" in condition ") +
                        ConditionName(lastCondition) + QStringLiteral(", before retrieving existing issue"),
                    QStringLiteral("Update Issue"), MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes) {
                rs->setBookmark(edited);
                const int previous = lastCondition;
                if (!UpdateIssue(*this, QString::number(previous), editMode)) {
                    showMessage(QStringLiteral("Update Failed"));
                    // The edits stay on screen with their own condition.
                    editMode = QStringLiteral("PassThrough");
                    selectCondition(previous);
                    editMode = QStringLiteral("Update");
                    return;
                }
                rs->setBookmark(found);
                editMode = QStringLiteral("PassThrough");
                ShowIssueKey(*this, editMode);
            }
            editMode.clear();
            ShowIssueDetails(*this, editMode);
            showDeleteButton();
            lastCondition = index;
            return;
        }
        if (showMessage(QStringLiteral("Update issue ") + number + QStringLiteral(" in condition ") +
                            ConditionName(lastCondition) + QStringLiteral(", before defining new issue"),
                        QStringLiteral("Update Issue"), MsgButtons::YesNo,
                        MsgIcon::Question) == MsgAnswer::Yes) {
            // The update moves on to the following issue; the screen comes
            // back to the new issue the user is defining, values as shown.
            const QString fields[] = {txtQuantity->text(), txtOriginalPrice->text(), txtCurrentValue->text(),
                                      txtNotes->text()};
            if (UpdateIssue(*this, QString::number(lastCondition), editMode)) {
                setShown(txtIssueNumber, number);
                setShown(txtQuantity, fields[0]);
                setShown(txtOriginalPrice, fields[1]);
                setShown(txtCurrentValue, fields[2]);
                setShown(txtNotes, fields[3]);
                editMode = QStringLiteral("PassThrough");
                selectCondition(index);
            } else {
                showMessage(QStringLiteral("Update Failed"));
            }
        }
        editMode = QStringLiteral("Add");
        setButton(cmdDeleteIssue, false);
        setButton(cmdUpdateIssue, false);
        setButton(cmdAddIssue, true);
        lastCondition = index;
        return;
    }

    if (editMode == QStringLiteral("Add")) {
        if (FindIssue(*this, 2, code, editMode)) {
            if (showMessage(QStringLiteral("Save issue ") + number + QStringLiteral(" in condition ") +
                                ConditionName(lastCondition) +
                                QStringLiteral(", before retrieving existing issue"),
                            QStringLiteral("Add New Issue"), MsgButtons::YesNo,
                            MsgIcon::Question) == MsgAnswer::Yes) {
                const int previous = lastCondition;
                if (!AddIssue(*this, QString::number(previous), editMode)) {
                    showMessage(QStringLiteral("Add Failed"));
                    // The unsaved issue stays on screen with its condition.
                    editMode = QStringLiteral("PassThrough");
                    selectCondition(previous);
                    editMode = QStringLiteral("Add");
                    return;
                }
                // The add reopened the cursor on the number's first row; the
                // user asked for the clicked condition.
                rs = db::session().rsIssue.get();
                rs->findFirst(IssueCriteria(*this, code));
                editMode = QStringLiteral("PassThrough");
                ShowIssueKey(*this, editMode);
            }
            editMode.clear();
            ShowIssueDetails(*this, editMode);
            showDeleteButton();
        }
        lastCondition = index;
        return;
    }

    if (FindIssue(*this, 2, code, editMode)) {
        ShowIssueDetails(*this, editMode);
        showDeleteButton();
        lastCondition = index;
        return;
    }
    if (showMessage(QStringLiteral("Defining new issue ") + number + QStringLiteral(" in condition ") +
                        ConditionName(index) + QStringLiteral(", continue"),
                    QStringLiteral("Add New Issue"), MsgButtons::YesNo,
                    MsgIcon::Question) == MsgAnswer::Yes) {
        if (rs && rs->absolutePosition() != -1)
            PrepareNewIssue(*this);
        editMode = QStringLiteral("Add");
        setButton(cmdAddIssue, true);
        setButton(cmdDeleteIssue, false);
        lastCondition = index;
        return;
    }
    const QString remembered = editMode;
    editMode = QStringLiteral("PassThrough");
    const int keep = lastCondition;
    selectCondition(keep);
    lastCondition = keep;
    editMode = remembered;
}

void frmAddIssue::cmdAddIssue_Click()
{
    try {
        AddIssue(*this, QString(), editMode);
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Adding the issue"), e.text());
    }
}

void frmAddIssue::cmdUpdateIssue_Click()
{
    try {
        if (UpdateIssue(*this, QString(), editMode))
            txtCurrentValue->setFocus();
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Updating the issue"), e.text());
    }
}

void frmAddIssue::cmdDeleteIssue_Click()
{
    auto &slot = db::session().rsIssue;
    if (!slot)
        return;
    platform::Recordset &rs = *slot;
    QString message;
    try {
        message = QStringLiteral("Issue Number ") +
                  QString::number(rs.value(QStringLiteral("IssueNum")).toInt()) + QStringLiteral(" in ") +
                  SelectedCondition(*this).mid(1) + QStringLiteral(" condition deleted");
        rs.deleteRow();
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Deleting the issue"), e.text());
        return;
    }
    // The row is gone: whatever was pending for it is gone with it.
    editMode.clear();
    try {
        if (rs.recordCount() == 0) {
            showMessage(QStringLiteral("Deleted last record"),
                        QStringLiteral("No Records for ") + cboTitle->currentText());
            hideIssueFrame();
            return;
        }
        rs.movePrevious();
        if (rs.bof())
            rs.moveLast();
        ShowIssueKey(*this, editMode);
        ShowIssueDetails(*this, editMode);
        showDeleteButton();
        showStatus(message);
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Showing the next issue"), e.text());
    }
}

void frmAddIssue::cmdScroll_Click(int index)
{
    const QString direction = index == 0 ? QStringLiteral("next") : QStringLiteral("previous");
    try {
        if (!ConfirmPendingSave(*this, QStringLiteral(" scrolling ") + direction, editMode))
            return;
        platform::Recordset &rs = *db::session().rsIssue;
        if (index == 0) {
            rs.moveNext();
            if (rs.eof())
                rs.moveFirst();
        } else {
            rs.movePrevious();
            if (rs.bof())
                rs.moveLast();
        }
        ShowIssueKey(*this, editMode);
        ShowIssueDetails(*this, editMode);
        showDeleteButton();
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Scrolling"), e.text());
    }
}

void frmAddIssue::cmdExit_Click()
{
    platform::leaveFocusedBox(this);
    try {
        if (!ConfirmPendingSave(*this, QStringLiteral(" exiting form"), editMode)) {
            txtNotes->setFocus();
            return;
        }
    } catch (const EngineError &e) {
        reportEngineError(QStringLiteral("Saving the issue"), e.text());
        return;
    }
    db::session().closeSlots();
    QDialog::reject();
}

void frmAddIssue::reject()
{
    cmdExit_Click();
}

bool LoadIssueCompanyList(frmAddIssue &form)
{
    // Filling must not count as the user choosing a company.
    const QSignalBlocker blocker(form.cboCompany);
    const bool filled = db::FillCompanyList(form.cboCompany);
    form.cboCompany->setCurrentIndex(-1);
    return filled;
}
