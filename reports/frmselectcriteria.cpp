#include "reports/frmselectcriteria.h"

#include "db/dataproblem.h"
#include "db/lookuplists.h"
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
#include "reports/browsecomics.h"
#include "reports/frmbrowsecomics.h"
#include "reports/selection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <optional>

using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;
using platform::showStatus;
using platform::twipsRect;
using platform::twipsToPixels;

namespace {
constexpr int FormWidth = 7080;
constexpr int CollapsedHeight = 2250;
constexpr int ExpandedHeight = 4605;
// The heights above are the window's outer heights; this much of them is
// title bar and border.
constexpr int FrameHeight = 405;
constexpr int KeyBackspace = 8;
constexpr int MaxQuantity = 32767;

const char *const ConditionEntries[] = {"Any",      "Mint", "NearMint", "VeryFine", "Fine",
                                        "VeryGood", "Good", "Fair",     "Poor"};

QRadioButton *option(QWidget *frame, const char *name, const QString &caption, int top, int width)
{
    return platform::placeControl<QRadioButton>(frame, name, twipsRect(105, top, width, 300), caption);
}

QLineEdit *valueBox(QWidget *frame, const char *name, const QRect &geometry)
{
    auto *t = platform::placeControl<QLineEdit>(frame, name, geometry);
    t->hide();
    return t;
}

// The value box writes amounts the US way whatever the user's locale: a "$"
// pattern with "." before the cents, the form the query and the report
// formula are given.
const QLocale &amountLocale()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

// The amount in the value box in whole cents, as the "$0.00" pattern rounds
// it; nothing when the text is no amount (or a negative one).
std::optional<qint64> valueCents(const QString &text)
{
    const std::optional<platform::Currency> amount = platform::tryCurrency(text, amountLocale());
    if (!amount || amount->scaled() < 0)
        return std::nullopt;
    constexpr qint64 perCent = platform::Currency::Scale / 100;
    const qint64 scaled = amount->scaled();
    return scaled / perCent + (scaled % perCent >= perCent / 2 ? 1 : 0);
}

QString centsText(qint64 cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// The width a box needs to show text whole, frame and margins included.
int boxWidthFor(QLineEdit *box, const QString &text)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QMargins margins = box->textMargins();
    // A line edit keeps two pixels each side beside its style's frame.
    const int textWidth = box->fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() + 4;
    return box->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(textWidth, box->height()), box)
        .width();
}

void refuseKey(int &keyAscii, const QString &status)
{
    platform::beep();
    showStatus(status);
    keyAscii = 0;
}

void refuseZero(QLineEdit *box, const QString &status)
{
    showStatus(status);
    platform::beep();
    platform::beep();
    box->setFocus();
}

void refuseEntry(QLineEdit *box, const QString &text, const QString &title)
{
    showMessage(text, title, MsgButtons::OK, MsgIcon::Exclamation);
    platform::refocusAndSelect(box, 0, 99);
}
} // namespace

frmSelectCriteria::frmSelectCriteria(QWidget *parent)
    : QDialog(parent)
    , KepixReport(this)
{
    setObjectName(QStringLiteral("frmSelectCriteria"));
    setWindowTitle(QStringLiteral("Select Criteria for Report"));

    cboCompany = platform::placeControl<QComboBox>(this, "cboCompany", twipsRect(105, 300, 3735, 315));
    lblCompany =
        platform::placeLabel(this, "lblCompany", QStringLiteral("Company:"), twipsRect(105, 60, 1455, 240));
    lblCompany->setBuddy(cboCompany);

    cboTitle = platform::placeControl<QComboBox>(this, "cboTitle", twipsRect(105, 960, 4455, 315));
    cboTitle->hide();
    lblTitle =
        platform::placeLabel(this, "lblTitle", QStringLiteral("Title:"), twipsRect(105, 720, 1455, 240));
    lblTitle->setBuddy(cboTitle);
    lblTitle->hide();

    chkPrintPreview = platform::placeControl<QCheckBox>(
        this, "chkPrintPreview", twipsRect(120, 1560, 1575, 255), QStringLiteral("Print P&review"));
    chkPrintPreview->setChecked(true);
    chkPrintPreview->hide();

    cmdOK = platform::placeControl<QPushButton>(this, "cmdOK", twipsRect(5460, 60, 1455, 435),
                                                QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdCancel = platform::placeControl<QPushButton>(this, "cmdCancel", twipsRect(5460, 600, 1455, 435),
                                                    QStringLiteral("Close"));
    cmdCancel->setAutoDefault(false);
    cmdMore = platform::placeControl<QPushButton>(this, "cmdMore", twipsRect(5460, 1200, 1455, 435),
                                                  QStringLiteral("More >>"));
    cmdMore->setAutoDefault(false);

    lstCondition =
        platform::placeControl<QListWidget>(this, "lstCondition", twipsRect(105, 2140, 1485, 1815));
    lstCondition->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lblStatic = platform::placeLabel(this, "lblStatic", QStringLiteral("Condition:"),
                                     twipsRect(120, 1900, 1455, 240));
    lblStatic->setBuddy(lstCondition);

    fraQuantity = platform::placeControl<QGroupBox>(this, "fraQuantity", twipsRect(1785, 2040, 2325, 1935),
                                                    QStringLiteral("Quantity:"));
    optQuantityAll = option(fraQuantity, "optQuantityAll", QStringLiteral("No Restriction"), 360, 2100);
    optQuantityEqual = option(fraQuantity, "optQuantityEqual", QStringLiteral("Is Equal to:"), 780, 1650);
    optQuantityGreater =
        option(fraQuantity, "optQuantityGreater", QStringLiteral("Is Greater Than:"), 1200, 1650);
    optQuantityLess = option(fraQuantity, "optQuantityLess", QStringLiteral("Is Less Than:"), 1620, 1650);
    txtQuantity = valueBox(fraQuantity, "txtQuantity", twipsRect(1785, 1200, 450, 285));
    optQuantityAll->setChecked(true);

    fraCurrentValue = platform::placeControl<QGroupBox>(
        this, "fraCurrentValue", twipsRect(4200, 2040, 2745, 1935), QStringLiteral("Current Value:"));
    optValueAll = option(fraCurrentValue, "optValueAll", QStringLiteral("No Restriction"), 360, 2500);
    optValueGreater =
        option(fraCurrentValue, "optValueGreater", QStringLiteral("Is Greater Than:"), 900, 1560);
    optValueLess = option(fraCurrentValue, "optValueLess", QStringLiteral("Is Less Than:"), 1500, 1560);
    txtValue = valueBox(fraCurrentValue, "txtValue", twipsRect(1680, 900, 960, 285));
    optValueAll->setChecked(true);

    setTabOrder(cboCompany, cboTitle);
    setTabOrder(cboTitle, chkPrintPreview);
    setTabOrder(chkPrintPreview, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cmdMore);
    setTabOrder(cmdMore, lstCondition);
    setTabOrder(lstCondition, optQuantityAll);
    setTabOrder(optQuantityAll, optQuantityEqual);
    setTabOrder(optQuantityEqual, optQuantityGreater);
    setTabOrder(optQuantityGreater, optQuantityLess);
    setTabOrder(optQuantityLess, txtQuantity);
    setTabOrder(txtQuantity, optValueAll);
    setTabOrder(optValueAll, optValueGreater);
    setTabOrder(optValueGreater, optValueLess);
    setTabOrder(optValueLess, txtValue);

    platform::onChoice(cboCompany, [this] { cboCompany_Click(); });
    platform::onChoice(cboTitle, [this] { cboTitle_Click(); });
    connect(cmdMore, &QPushButton::clicked, this, [this] { cmdMore_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    const std::pair<QRadioButton *, void (frmSelectCriteria::*)()> options[] = {
        {optQuantityAll, &frmSelectCriteria::optQuantityAll_Click},
        {optQuantityEqual, &frmSelectCriteria::optQuantityEqual_Click},
        {optQuantityGreater, &frmSelectCriteria::optQuantityGreater_Click},
        {optQuantityLess, &frmSelectCriteria::optQuantityLess_Click},
        {optValueAll, &frmSelectCriteria::optValueAll_Click},
        {optValueGreater, &frmSelectCriteria::optValueGreater_Click},
        {optValueLess, &frmSelectCriteria::optValueLess_Click},
    };
    for (const auto &[button, handler] : options) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    }
    platform::onGotFocus(txtQuantity, [this] { txtQuantity_GotFocus(); });
    platform::onKeyPress(txtQuantity, [this](int &k) { txtQuantity_KeyPress(k); });
    platform::onGotFocus(txtValue, [this] { txtValue_GotFocus(); });
    platform::onKeyPress(txtValue, [this](int &k) { txtValue_KeyPress(k); });
    platform::onLostFocusWithinWindow(txtValue, [this] { txtValue_LostFocus(); });

    platform::pressFocusedButtonOnEnter(this);
    Form_Load();
    fitToText();
    setFormHeight(CollapsedHeight);
}

void frmSelectCriteria::setFormHeight(int twips)
{
    int height = twipsToPixels(twips - FrameHeight);
    if (twips == ExpandedHeight)
        height = qMax(height, qMax(lstCondition->geometry().bottom(), fraQuantity->geometry().bottom()) +
                                  twipsToPixels(120));
    setFixedSize(m_formWidth, height);
}

void frmSelectCriteria::fitToText()
{
    // The option captions and the nine conditions must be readable whatever
    // the font: the boxes move right of the widest option, the frames and
    // the window widen with them, and the list shows every condition.
    int optionWidth = 0;
    for (QRadioButton *o : {optQuantityAll, optQuantityEqual, optQuantityGreater, optQuantityLess,
                            optValueAll, optValueGreater, optValueLess})
        optionWidth = qMax(optionWidth, o->sizeHint().width());
    const int optionLeft = twipsToPixels(105);
    const int gap = twipsToPixels(60);
    const int boxLeft = qMax(optionLeft + optionWidth + gap, txtValue->x());
    for (QRadioButton *o :
         {optQuantityEqual, optQuantityGreater, optQuantityLess, optValueGreater, optValueLess})
        o->resize(boxLeft - gap - optionLeft, o->height());
    txtQuantity->move(qMax(boxLeft, txtQuantity->x()), txtQuantity->y());
    txtQuantity->resize(qMax(txtQuantity->width(), boxWidthFor(txtQuantity, QStringLiteral("00000"))),
                        txtQuantity->height());
    txtValue->move(boxLeft, txtValue->y());
    fraQuantity->resize(qMax(fraQuantity->width(), txtQuantity->geometry().right() + 1 + gap * 2),
                        fraQuantity->height());
    fraCurrentValue->move(qMax(fraCurrentValue->x(), fraQuantity->geometry().right() + 1 + gap),
                          fraCurrentValue->y());
    fraCurrentValue->resize(qMax(fraCurrentValue->width(), txtValue->geometry().right() + 1 + gap * 2),
                            fraCurrentValue->height());
    for (QRadioButton *o : {optQuantityAll, optValueAll})
        o->resize(o->parentWidget()->width() - optionLeft - gap, o->height());

    const int rows = lstCondition->count() > 0 ? lstCondition->count() : int(std::size(ConditionEntries));
    const int rowHeight = lstCondition->sizeHintForRow(0) > 0 ? lstCondition->sizeHintForRow(0)
                                                              : lstCondition->fontMetrics().height() + 2;
    lstCondition->resize(lstCondition->width(),
                         qMax(lstCondition->height(), rows * rowHeight + 2 * lstCondition->frameWidth()));
    fraQuantity->resize(fraQuantity->width(), qMax(fraQuantity->height(),
                                                   lstCondition->geometry().bottom() - fraQuantity->y() + 1));
    fraCurrentValue->resize(fraCurrentValue->width(), fraQuantity->height());

    m_formWidth =
        qMax(twipsToPixels(FormWidth), fraCurrentValue->geometry().right() + 1 + twipsToPixels(135));
    const int buttonLeft = m_formWidth - twipsToPixels(FormWidth - 5460);
    for (QPushButton *b : {cmdOK, cmdCancel, cmdMore})
        b->move(buttonLeft, b->y());
}

void frmSelectCriteria::Form_Load()
{
    setFormHeight(CollapsedHeight);
    {
        // The first entry is chosen below, once the list is complete.
        const QSignalBlocker blocker(cboCompany);
        cboCompany->addItem(QStringLiteral("All Companies"));
        m_loaded = db::FillCompanyList(cboCompany);
    }
    if (!m_loaded)
        return;
    cboCompany->setCurrentIndex(0);
    cboCompany_Click();
    for (const char *entry : ConditionEntries)
        lstCondition->addItem(QString::fromLatin1(entry));
    lstCondition->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

bool frmSelectCriteria::frmSelectCriteria_SetUpForm(int inStyle)
{
    m_inStyle = inStyle;
    if (inStyle >= 1)
        chkPrintPreview->show();
    // Missing issues are the numbers held in no condition, whatever the
    // quantity or value: the restrictions are not offered, not even to Tab.
    if (inStyle == MissingIssuesUse) {
        for (QWidget *w :
             std::initializer_list<QWidget *>{cmdMore, lblStatic, lstCondition, fraQuantity, fraCurrentValue})
            w->hide();
    }
    return m_loaded;
}

void frmSelectCriteria::HideTitleChoice()
{
    // Clearing the choice from code runs its handler as a choice does.
    const bool chosen = cboTitle->currentIndex() != -1;
    cboTitle->setCurrentIndex(-1);
    if (chosen)
        cboTitle_Click();
    cboTitle->hide();
    lblTitle->hide();
}

void frmSelectCriteria::cboCompany_Click()
{
    const int entry = cboCompany->currentIndex();
    if (entry < 0) {
        showStatus(QStringLiteral("Please select a Company..."));
        return;
    }
    if (entry == 0) {
        HideTitleChoice();
        return;
    }
    const QString name = cboCompany->currentText();
    try {
        const std::optional<QString> id = db::CompanyIdForName(name);
        if (!id) {
            showMessage(QStringLiteral("No information found for Company: ") + name, QString(),
                        MsgButtons::OK, MsgIcon::Information);
            return;
        }
        m_companyId = *id;
        bool found = false;
        {
            // Refilling is not the user choosing a title.
            const QSignalBlocker blocker(cboTitle);
            cboTitle->clear();
            cboTitle->addItem(QStringLiteral("All Titles"));
            found = db::FillTitleList(cboTitle, m_companyId);
            cboTitle->setCurrentIndex(found ? 0 : -1);
        }
        if (found) {
            cboTitle->show();
            lblTitle->show();
        } else {
            HideTitleChoice();
            showMessage(QStringLiteral("No Titles found for Company: ") + name, QString(), MsgButtons::OK,
                        MsgIcon::Information);
        }
    } catch (const platform::EngineError &e) {
        HideTitleChoice();
        db::showDataProblem(QStringLiteral("The titles of the company could not be read."), e);
    }
}

void frmSelectCriteria::cboTitle_Click()
{
    const int entry = cboTitle->currentIndex();
    if (entry < 0) {
        showStatus(QStringLiteral("Please select a Title..."));
        return;
    }
    if (entry == 0)
        return;
    const QString title = cboTitle->currentText();
    try {
        const std::optional<QString> id = db::TitleIdForName(title);
        if (!id) {
            showMessage(QStringLiteral("No Information found for Title: ") + title, QString(), MsgButtons::OK,
                        MsgIcon::Information);
            return;
        }
        m_titleId = *id;
    } catch (const platform::EngineError &e) {
        db::showDataProblem(QStringLiteral("The title could not be read."), e);
    }
}

void frmSelectCriteria::cmdMore_Click()
{
    if (m_inStyle == MissingIssuesUse)
        return;
    setFormHeight(ExpandedHeight);
    cmdMore->hide();
    if (QListWidgetItem *any = lstCondition->item(0))
        any->setSelected(true);
    platform::processPendingEvents();
}

void frmSelectCriteria::placeBox(QLineEdit *box, QRadioButton *option, const QString &text)
{
    box->hide();
    box->move(box->x(), option->y() - twipsToPixels(50));
    box->setText(text);
    box->show();
}

void frmSelectCriteria::optQuantityAll_Click()
{
    txtQuantity->hide();
    txtQuantity->clear();
}

void frmSelectCriteria::optQuantityEqual_Click()
{
    placeBox(txtQuantity, optQuantityEqual, QStringLiteral("1"));
}

void frmSelectCriteria::optQuantityGreater_Click()
{
    placeBox(txtQuantity, optQuantityGreater, QStringLiteral("1"));
}

void frmSelectCriteria::optQuantityLess_Click()
{
    placeBox(txtQuantity, optQuantityLess, QStringLiteral("10"));
}

void frmSelectCriteria::optValueAll_Click()
{
    txtValue->hide();
    txtValue->clear();
}

void frmSelectCriteria::optValueGreater_Click()
{
    placeBox(txtValue, optValueGreater, QStringLiteral("$1.00"));
}

void frmSelectCriteria::optValueLess_Click()
{
    placeBox(txtValue, optValueLess, QStringLiteral("$10.00"));
}

void frmSelectCriteria::txtQuantity_GotFocus()
{
    platform::selectText(txtQuantity, 0, 99);
}

void frmSelectCriteria::txtQuantity_KeyPress(int &keyAscii)
{
    if (keyAscii < '0' || keyAscii > '9')
        refuseKey(keyAscii, QStringLiteral("Value must be numeric"));
}

void frmSelectCriteria::txtValue_GotFocus()
{
    platform::selectText(txtValue, 0, 99);
}

void frmSelectCriteria::txtValue_KeyPress(int &keyAscii)
{
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != KeyBackspace && keyAscii != '.' && keyAscii != ',' && keyAscii != '$')
        refuseKey(keyAscii, QStringLiteral("Value must be numeric..."));
}

void frmSelectCriteria::txtValue_LostFocus()
{
    // Text that is no amount stays as typed; OK says what is wrong with it.
    if (const std::optional<qint64> cents = valueCents(txtValue->text()))
        txtValue->setText(QLatin1Char('$') + centsText(*cents));
}

void frmSelectCriteria::cmdOK_Click()
{
    reports::Selection selection;
    if (cboCompany->currentIndex() > 0) {
        selection.company = m_companyId;
        if (cboTitle->currentIndex() > 0)
            selection.title = m_titleId;
    }

    if (m_inStyle == MissingIssuesUse) {
        BuildReport(selection);
        return;
    }

    // "Any" among the chosen conditions means no restriction.
    for (int k = 1; k < lstCondition->count(); ++k) {
        if (lstCondition->item(k)->isSelected())
            selection.conditions.insert(k);
    }
    if (QListWidgetItem *any = lstCondition->item(0); any && any->isSelected())
        selection.conditions.clear();

    if (!optQuantityAll->isChecked()) {
        const reports::Comparison op = optQuantityEqual->isChecked()     ? reports::Comparison::Equal
                                       : optQuantityGreater->isChecked() ? reports::Comparison::Greater
                                                                         : reports::Comparison::Less;
        const QString text = txtQuantity->text().trimmed();
        bool ok = false;
        const qlonglong number = text.toLongLong(&ok);
        const bool digitsOnly = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
        if (digitsOnly && ok && number == 0) {
            refuseZero(txtQuantity, QStringLiteral("Zero is not a valid Quantity!"));
            return;
        }
        if (!digitsOnly || !ok || number > MaxQuantity) {
            refuseEntry(txtQuantity, QStringLiteral("Quantity must be a whole number from 1 to 32767"),
                        QStringLiteral("Invalid Quantity"));
            return;
        }
        selection.quantity = reports::QuantityRestriction{op, int(number)};
    }

    if (!optValueAll->isChecked()) {
        const reports::Comparison op =
            optValueGreater->isChecked() ? reports::Comparison::Greater : reports::Comparison::Less;
        const std::optional<qint64> cents = valueCents(txtValue->text());
        if (cents && *cents == 0) {
            refuseZero(txtValue, QStringLiteral("Zero is not a valid Current Value!"));
            return;
        }
        if (!cents) {
            refuseEntry(txtValue, QStringLiteral("Current Value must be an amount such as $10.00"),
                        QStringLiteral("Invalid Current Value"));
            return;
        }
        // Enter runs OK without leaving the box: show what is used.
        txtValue_LostFocus();
        selection.value = reports::ValueRestriction{
            op, platform::Currency::fromScaled(*cents * (platform::Currency::Scale / 100))};
    }

    if (m_inStyle >= 1)
        BuildReport(selection);
    else
        browse(selection);
}

void frmSelectCriteria::browse(const reports::Selection &selection)
{
    setCursor(Qt::WaitCursor);
    showStatus(QStringLiteral("Please be patient, this may take awhile..."));
    bool shown = false;
    try {
        frmBrowseComics browse(this);
        if (reports::LoadBrowseData(browse, true, selection.company, selection.title,
                                    reports::browseCondition(selection))) {
            unsetCursor();
            browse.exec();
            shown = true;
        }
    } catch (const platform::EngineError &e) {
        showStatus(QStringLiteral("Unexpected error condition"));
        db::showDataProblem(QStringLiteral("The collection could not be browsed."), e);
    }
    unsetCursor();
    // A browse that was shown ends the command; otherwise the choices stay
    // for another try.
    if (shown)
        QDialog::accept();
}

void frmSelectCriteria::BuildReport(const reports::Selection &selection)
{
    struct Report
    {
        const char *file;
        const char *title;
    };
    static const Report Reports[] = {
        {"Kepix001.rpt", "Panelkeep: Report 001 - Issue Details"},
        {"Kepix002.rpt", "Panelkeep: Report 002 - Issue Details with Notes"},
        {"Kepix003.rpt", "Panelkeep: Report 003 - Value by Title & Company"},
        {"Kepix004.rpt", "Panelkeep: Report 004 - Missing Issues"},
    };
    try {
        KepixReport.setDataFile(0, currentPath);
        if (m_inStyle >= 1 && m_inStyle <= MissingIssuesUse) {
            const Report &r = Reports[m_inStyle - 1];
            KepixReport.setReportFileName(QDir(appDir).filePath(QLatin1String(r.file)));
            KepixReport.setWindowTitle(QLatin1String(r.title));
        }
        if (chkPrintPreview->isChecked()) {
            KepixReport.setDestination(0);
            KepixReport.setWindowState(2);
            KepixReport.setWindowShowPageButtons(true);
            KepixReport.setWindowShowPrintButtons(true);
            KepixReport.setWindowModal(false);
        } else {
            KepixReport.setDestination(1);
        }
        // An empty formula also removes the one an earlier run was given.
        KepixReport.setSelectionFormula(reports::reportFormula(selection));
        KepixReport.setAction(1);
    } catch (const platform::EngineError &e) {
        if (e.number() == platform::errnum::ReportCancelled) {
            showStatus(QStringLiteral("Report Cancelled..."));
            return;
        }
        // The box's text is fixed; the status line says what went wrong.
        showStatus(e.text());
        showMessage(QStringLiteral("If you have another report request already open please close that report "
                                   "and try your request again.  If not, please contact vendor for help with "
                                   "problem."),
                    QStringLiteral("Title"), MsgButtons::OK, MsgIcon::Exclamation);
    }
}

void frmSelectCriteria::cmdCancel_Click()
{
    QDialog::reject();
}

void frmSelectCriteria::reject()
{
    cmdCancel_Click();
}
