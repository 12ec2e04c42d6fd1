#include "catalogue/issue/issuerecords.h"

#include "catalogue/issue/frmaddissue.h"
#include "catalogue/issue/frmmorematch.h"
#include "db/session.h"
#include "platform/conversion.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "platform/textbox.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

using platform::Currency;
using platform::EngineError;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;

namespace frmissue {

namespace {
const QString Names[] = {QString(),
                         QStringLiteral("Mint"),
                         QStringLiteral("NearMint"),
                         QStringLiteral("VeryFine"),
                         QStringLiteral("Fine"),
                         QStringLiteral("VeryGood"),
                         QStringLiteral("Good"),
                         QStringLiteral("Fair"),
                         QStringLiteral("Poor")};

const QString IssueNum = QStringLiteral("IssueNum");
const QString Condition = QStringLiteral("Condition");

platform::Recordset &issues()
{
    auto &rs = db::session().rsIssue;
    if (!rs)
        throw EngineError(platform::errnum::ObjectClosed, QStringLiteral("The title's issues are not open."));
    return *rs;
}

void setButton(QPushButton *b, bool on)
{
    b->setVisible(on);
    b->setEnabled(on);
}

// The cover price as a plain number text ("1.5"), read back with the C locale.
QString plainAmount(Currency amount)
{
    QString text = QLocale::c().toString(double(amount.scaled()) / double(Currency::Scale), 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString coverPriceShown(const frmAddIssue &f)
{
    const auto amount = platform::tryCurrency(f.lblCoverPrice->text(), QLocale::c());
    return platform::formatCurrency(amount.value_or(Currency()));
}

QString amountShown(const platform::Recordset &rs, const QString &field)
{
    const QVariant v = rs.value(field);
    return v.isNull() ? QString() : platform::formatCurrency(v.value<Currency>());
}

// The code and name of the condition an add or update is about: the one
// passed in, or the selected option.
bool conditionOf(const frmAddIssue &f, const QString &code, int &number, QString &name)
{
    if (code.trimmed().isEmpty()) {
        const QString selected = SelectedCondition(f);
        if (selected.isEmpty())
            return false;
        number = selected.left(1).toInt();
        name = selected.mid(1);
    } else {
        number = code.trimmed().toInt();
        name = ConditionName(number);
    }
    return !name.isEmpty();
}

struct IssueValues
{
    int issueNum = 0;
    int quantity = 0;
    QVariant originalPrice; // null for an empty box
    QVariant currentValue;
};

void refuseValue(const QString &text, const QString &title)
{
    platform::showStatus(QStringLiteral("Issue not saved"));
    showMessage(text, title, MsgButtons::OK, MsgIcon::Exclamation);
}

std::optional<QVariant> amountIn(QLineEdit *box, const QString &what)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty())
        return QVariant();
    const auto amount =
        std::all_of(text.begin(), text.end(), IsAmountCharacter) ? platform::tryCurrency(text) : std::nullopt;
    if (amount)
        return QVariant::fromValue(*amount);
    refuseValue(what + QStringLiteral(" must be an amount of money"), QStringLiteral("Bad ") + what);
    return std::nullopt;
}

// Every value checked before anything is written, so a refused value never
// leaves a half-written row behind.
bool readValues(const frmAddIssue &f, IssueValues &v)
{
    try {
        v.issueNum = platform::toInteger16(f.txtIssueNumber->text());
    } catch (const EngineError &) {
        refuseValue(QStringLiteral("Issue Number must be a whole number from -32768 to 32767"),
                    QStringLiteral("Bad Issue Number"));
        return false;
    }
    try {
        v.quantity = platform::toInteger16(f.txtQuantity->text());
        if (v.quantity < 0)
            throw EngineError(platform::errnum::Overflow, QString());
    } catch (const EngineError &) {
        refuseValue(QStringLiteral("Quantity must be a whole number from 0 to 32767"),
                    QStringLiteral("Bad Quantity"));
        return false;
    }
    const auto original = amountIn(f.txtOriginalPrice, QStringLiteral("Original Price"));
    if (!original)
        return false;
    const auto current = amountIn(f.txtCurrentValue, QStringLiteral("Current Value"));
    if (!current)
        return false;
    v.originalPrice = *original;
    v.currentValue = *current;
    return true;
}

// The engine refused the row: the pending add or edit is dropped so the
// cursor holds only stored rows, and the user is told why.
void refuseWrite(platform::Recordset &rs, const EngineError &e, const QString &number, const QString &name)
{
    try {
        rs.cancelUpdate();
    } catch (const EngineError &) {
    }
    platform::showStatus(QStringLiteral("Issue not saved"));
    const QString text = e.number() == platform::errnum::DuplicateKey
                             ? QStringLiteral("Issue Number ") + number + QStringLiteral(" in ") + name +
                                   QStringLiteral(" condition is already stored.")
                             : QStringLiteral("The issue could not be saved.\n\n") + e.text();
    showMessage(text, QStringLiteral("Data Error"), MsgButtons::OK, MsgIcon::Critical);
}

bool focusInside(const QWidget *container)
{
    const QWidget *w = QApplication::focusWidget();
    return !w || container->isAncestorOf(w);
}
} // namespace

bool IsAmountCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
           c == QLatin1Char(',') || c == QLatin1Char('$');
}

QString ConditionName(int code)
{
    return code >= 1 && code <= 8 ? Names[code] : QString();
}

int ConditionCode(const QString &name)
{
    if (name == QStringLiteral("New"))
        return 0;
    for (int i = 1; i <= 8; ++i) {
        if (Names[i] == name)
            return i;
    }
    return -1;
}

QString SelectedCondition(const frmAddIssue &f)
{
    for (int i = 1; i <= 8; ++i) {
        if (f.optCondition[size_t(i)]->isChecked())
            return QString::number(i) + Names[i];
    }
    return QString();
}

platform::Criteria IssueCriteria(const frmAddIssue &f, const QString &code)
{
    // Bound as values: whatever the box holds, it cannot change the search.
    QVariant number = f.txtIssueNumber->text();
    try {
        number = int(platform::toInteger16(f.txtIssueNumber->text()));
    } catch (const EngineError &) {
    }
    platform::Criteria criteria{{IssueNum, number}};
    if (!code.isEmpty())
        criteria.append({Condition, code.toInt()});
    return criteria;
}

bool OpenTitleIssues(frmAddIssue &f, const QString &titleId, QString &editMode)
{
    db::Session &s = db::session();
    s.rsCoverPrice =
        s.dbCollection.openRecordset(QStringLiteral("Select Cover_Price from CoverPrice where Title_ID = ?"),
                                     platform::RecordsetType::Dynaset, {titleId});
    if (s.rsCoverPrice->eof() || s.rsCoverPrice->isNull(QStringLiteral("Cover_Price")))
        f.lblCoverPrice->setText(QStringLiteral("0.00"));
    else
        f.lblCoverPrice->setText(
            plainAmount(s.rsCoverPrice->value(QStringLiteral("Cover_Price")).value<Currency>()));
    s.rsCoverPrice.reset();

    const QString select =
        QStringLiteral("Select * from Issue where Title_ID = ? order by IssueNUM, Condition");
    f.lblCurrentSelect->setText(select);
    s.rsIssue.reset();
    s.rsIssue = s.dbCollection.openRecordset(select, platform::RecordsetType::Dynaset, {titleId});

    if (s.rsIssue->eof()) {
        editMode = QStringLiteral("PassThrough");
        f.selectCondition(1);
        f.setShown(f.txtIssueNumber, QStringLiteral("1"));
        editMode = QStringLiteral("Init");
        f.fraAddIssue->setVisible(true);
        f.setShown(f.txtQuantity, QStringLiteral("1"));
        f.setShown(f.txtOriginalPrice, coverPriceShown(f));
        f.setShown(f.txtCurrentValue, coverPriceShown(f));
        f.setShown(f.txtNotes, QString());
        setButton(f.cmdAddIssue, true);
        for (QPushButton *b : {f.cmdScroll[0], f.cmdScroll[1], f.cmdUpdateIssue, f.cmdDeleteIssue})
            setButton(b, false);
        return true;
    }
    s.rsIssue->moveFirst();
    PrepareNewIssue(f);
    editMode = QStringLiteral("PassThrough");
    f.selectCondition(1);
    const QString next = QString::number(s.rsIssue->value(IssueNum).toInt() + 1);
    f.setShown(f.txtIssueNumber, next);
    editMode = QStringLiteral("Init");
    f.fraAddIssue->setVisible(true);
    return true;
}

bool PrepareNewIssue(frmAddIssue &f)
{
    issues().moveLast();
    f.setShown(f.txtQuantity, QStringLiteral("1"));
    f.setShown(f.txtOriginalPrice, coverPriceShown(f));
    f.setShown(f.txtCurrentValue, coverPriceShown(f));
    f.setShown(f.txtNotes, QString());
    setButton(f.cmdScroll[0], true);
    setButton(f.cmdScroll[1], true);
    setButton(f.cmdAddIssue, true);
    setButton(f.cmdUpdateIssue, false);
    setButton(f.cmdDeleteIssue, false);
    f.setTag(f.txtIssueNumber, f.txtIssueNumber->text());
    platform::showStatus(QStringLiteral("Set to add new issue"));
    return true;
}

void ShowIssueKey(frmAddIssue &f, QString &editMode)
{
    const platform::Recordset &rs = issues();
    f.setShown(f.txtIssueNumber, QString::number(rs.value(IssueNum).toInt()));
    const QString remembered = editMode;
    f.selectCondition(rs.value(Condition).toInt());
    editMode = remembered;
}

bool ShowIssueDetails(frmAddIssue &f, QString &)
{
    platform::Recordset &rs = issues();
    f.setShown(f.txtQuantity, rs.value(QStringLiteral("Quantity")).toString());
    f.setShown(f.txtOriginalPrice, amountShown(rs, QStringLiteral("Original_Price")));
    f.setShown(f.txtCurrentValue, amountShown(rs, QStringLiteral("Current_Value")));
    const QVariant notes = rs.value(QStringLiteral("Notes"));
    const bool noNotes = notes.isNull() || notes.toString() == QStringLiteral("#NULL#");
    f.setShown(f.txtNotes, noNotes ? QString() : notes.toString());

    const platform::Bookmark here = rs.bookmark();
    if (rs.recordCount() > 1) {
        f.cmdScroll[0]->setVisible(true);
        f.cmdScroll[1]->setVisible(true);
        f.cmdScroll[0]->setEnabled(true);
        f.cmdScroll[1]->setEnabled(true);
    }
    rs.setBookmark(here);
    setButton(f.cmdAddIssue, false);
    setButton(f.cmdUpdateIssue, false);
    f.setTag(f.txtIssueNumber, f.txtIssueNumber->text());
    return true;
}

bool FindIssue(frmAddIssue &f, int kind, const QString &code, QString &editMode)
{
    if (!db::session().rsIssue)
        return false;
    platform::Recordset &rs = *db::session().rsIssue;
    try {
        const platform::Criteria criteria = IssueCriteria(f, kind == 2 ? code : QString());
        const platform::Bookmark remembered = rs.bookmark();
        rs.findFirst(criteria);
        if (rs.noMatch()) {
            rs.setBookmark(remembered);
            return false;
        }
        if (kind == 2)
            return true;
        return ChooseCondition(f, criteria, editMode);
    } catch (const EngineError &) {
        try {
            if (rs.absolutePosition() == -1)
                return false;
        } catch (const EngineError &) {
        }
        showMessage(QStringLiteral("Unexpected Error, please close this dialog box ") +
                        QStringLiteral("and try again.  If problem persists ") +
                        QStringLiteral(" please contact vendor"),
                    QStringLiteral("Unexpected Error"), MsgButtons::OK, MsgIcon::None);
        return false;
    }
}

bool ChooseCondition(frmAddIssue &f, const platform::Criteria &criteria, QString &editMode)
{
    platform::Recordset &rs = issues();
    QList<int> codes{rs.value(Condition).toInt()};
    while (codes.size() < 8) {
        const platform::Bookmark remembered = rs.bookmark();
        rs.findNext(criteria);
        if (rs.noMatch()) {
            rs.setBookmark(remembered);
            break;
        }
        codes.append(rs.value(Condition).toInt());
    }
    if (codes.size() == 1)
        return true;
    std::sort(codes.begin(), codes.end());

    {
        frmMoreMatch picker(f.txtIssueNumber->text(), f.lblCondition, &f);
        for (int i = 1; i <= int(codes.size()); ++i) {
            picker.optCondition[size_t(i)]->setText(ConditionName(codes.at(i - 1)));
            picker.optCondition[size_t(i)]->setVisible(true);
        }
        if (codes.size() < 8) {
            picker.optCondition[size_t(codes.size() + 1)]->setText(QStringLiteral("New"));
            picker.optCondition[size_t(codes.size() + 1)]->setVisible(true);
        }
        picker.exec();
    }

    const QString chosen = f.lblCondition->text();
    if (chosen == QStringLiteral("0")) {
        const QString remembered = editMode;
        editMode = QStringLiteral("PassThrough");
        int free = 1;
        while (codes.contains(free))
            ++free;
        f.selectCondition(free);
        editMode = remembered;
        return false;
    }
    // Closed without a choice: the number's first stored condition is shown,
    // as nothing new was asked for.
    platform::Criteria withCondition = criteria;
    if (!chosen.isEmpty())
        withCondition.append({Condition, chosen.toInt()});
    rs.findFirst(withCondition);
    return !rs.noMatch();
}

bool AddIssue(frmAddIssue &f, const QString &code, QString &editMode)
{
    int conditionCode = 0;
    QString name;
    if (!conditionOf(f, code, conditionCode, name)) {
        refuseValue(QStringLiteral("Pick a condition for the issue"), QStringLiteral("No Condition"));
        return false;
    }
    IssueValues v;
    if (!readValues(f, v))
        return false;

    db::Session &s = db::session();
    platform::Recordset &rs = issues();
    try {
        rs.addNew();
        rs.setValue(QStringLiteral("Title_ID"), f.lblTitleID->text());
        rs.setValue(IssueNum, v.issueNum);
        rs.setValue(Condition, conditionCode);
        rs.setValue(QStringLiteral("Quantity"), v.quantity);
        rs.setValue(QStringLiteral("Original_Price"), v.originalPrice);
        rs.setValue(QStringLiteral("Current_Value"), v.currentValue);
        const QString notes = f.txtNotes->text();
        rs.setValue(QStringLiteral("Notes"), notes.trimmed().isEmpty() ? QStringLiteral("None") : notes);
        rs.update();
    } catch (const EngineError &e) {
        refuseWrite(rs, e, QString::number(v.issueNum), name);
        return false;
    }
    const QString message = QStringLiteral("Issue Number ") + QString::number(v.issueNum) +
                            QStringLiteral(" in ") + name + QStringLiteral(" condition saved");

    s.rsIssue.reset();
    s.rsIssue = s.dbCollection.openRecordset(f.lblCurrentSelect->text(), platform::RecordsetType::Dynaset,
                                             {f.lblTitleID->text()});
    setButton(f.cmdDeleteIssue, true);
    s.rsIssue->findFirst(IssueCriteria(f));
    if (s.rsIssue->noMatch())
        s.rsIssue->moveLast();
    editMode.clear();
    ShowIssueKey(f, editMode);
    ShowIssueDetails(f, editMode);
    f.cmdAddIssue->setEnabled(false);
    if (focusInside(f.fraAddIssue))
        f.txtIssueNumber->setFocus();
    platform::showStatus(message);
    return true;
}

bool UpdateIssue(frmAddIssue &f, const QString &code, QString &editMode)
{
    int conditionCode = 0;
    QString name;
    if (!conditionOf(f, code, conditionCode, name)) {
        refuseValue(QStringLiteral("Pick a condition for the issue"), QStringLiteral("No Condition"));
        return false;
    }
    IssueValues v;
    if (!readValues(f, v))
        return false;

    platform::Recordset &rs = issues();
    // Only the row whose number and condition are on screen may take the
    // values on screen.
    if (rs.absolutePosition() == -1 || rs.value(IssueNum).toInt() != v.issueNum ||
        rs.value(Condition).toInt() != conditionCode) {
        refuseValue(QStringLiteral("Issue Number ") + QString::number(v.issueNum) + QStringLiteral(" in ") +
                        name + QStringLiteral(" condition is not stored, so it cannot be updated"),
                    QStringLiteral("Update Issue"));
        return false;
    }
    QString number;
    try {
        number = QString::number(rs.value(IssueNum).toInt());
        rs.edit();
        rs.setValue(QStringLiteral("Quantity"), v.quantity);
        rs.setValue(QStringLiteral("Original_Price"), v.originalPrice);
        rs.setValue(QStringLiteral("Current_Value"), v.currentValue);
        rs.setValue(QStringLiteral("Notes"), f.txtNotes->text());
        rs.update();
    } catch (const EngineError &e) {
        refuseWrite(rs, e, number.isEmpty() ? f.txtIssueNumber->text() : number, name);
        return false;
    }
    const QString message = QStringLiteral("Issue Number ") + number + QStringLiteral(" in ") + name +
                            QStringLiteral(" condition updated");

    rs.moveNext();
    if (rs.eof())
        rs.moveLast();
    editMode.clear();
    ShowIssueKey(f, editMode);
    ShowIssueDetails(f, editMode);
    setButton(f.cmdUpdateIssue, false);
    setButton(f.cmdDeleteIssue, true);
    platform::showStatus(message);
    return true;
}

bool ConfirmPendingSave(frmAddIssue &f, const QString &reason, QString &editMode)
{
    if (editMode.isEmpty())
        return true;
    const bool adding = editMode == QStringLiteral("Add");
    if (!adding && editMode != QStringLiteral("Update"))
        return false;
    const QString text = (adding ? QStringLiteral("Add new Issue ") : QStringLiteral("Update Issue ")) +
                         f.txtIssueNumber->text() + QStringLiteral(" in ") + SelectedCondition(f).mid(1) +
                         QStringLiteral(" condition before ") + reason;
    switch (showMessage(text, QStringLiteral("Save Changes"), MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case platform::MsgAnswer::Yes:
        if (adding)
            return AddIssue(f, QString(), editMode);
        if (!UpdateIssue(f, QString(), editMode))
            return false;
        editMode.clear();
        return true;
    case platform::MsgAnswer::No: editMode.clear(); return true;
    default: return false;
    }
}

} // namespace frmissue
