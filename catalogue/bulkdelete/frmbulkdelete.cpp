#include "catalogue/bulkdelete/frmbulkdelete.h"

#include "db/dataproblem.h"
#include "db/lookuplists.h"
#include "db/session.h"
#include "platform/controls.h"
#include "platform/engineerror.h"
#include "platform/eventbinding.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "platform/picklist.h"
#include "platform/twips.h"
#include "platform/workspace.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using db::showDataProblem;
using platform::EngineError;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::showMessage;
using platform::showStatus;
using platform::twipsToPixels;

namespace {
const QString AllTitles = QStringLiteral("All Titles");

// Dependants first: the relationships cascade nothing, so a title or company
// with rows under it cannot be deleted. The last statement removes the row
// the user chose; it must remove one for the deletion to count.
const QStringList CompanyStatements{
    QStringLiteral(
        "DELETE FROM CoverPrice WHERE Title_ID IN (SELECT Title_ID FROM Title WHERE Company_ID = ?)"),
    QStringLiteral("DELETE FROM Issue WHERE Title_ID IN (SELECT Title_ID FROM Title WHERE Company_ID = ?)"),
    QStringLiteral("DELETE FROM Title WHERE Company_ID = ?"),
    QStringLiteral("DELETE FROM Company WHERE Company_ID = ?"),
};
const QStringList TitleStatements{
    QStringLiteral("DELETE FROM CoverPrice WHERE Title_ID = ?"),
    QStringLiteral("DELETE FROM Issue WHERE Title_ID = ?"),
    QStringLiteral("DELETE FROM Title WHERE Title_ID = ?"),
};

QString counted(int n, const QString &thing)
{
    return QString::number(n) + QLatin1Char(' ') + thing + (n == 1 ? QString() : QStringLiteral("s"));
}

// The screen's busy pointer, put back however the work ends.
class Hourglass
{
public:
    explicit Hourglass(QWidget *w)
        : m_w(w)
    {
        m_w->setCursor(Qt::WaitCursor);
    }
    ~Hourglass() { arrow(); }
    void arrow() { m_w->unsetCursor(); }

private:
    QWidget *m_w;
};
} // namespace

frmBulkDelete::frmBulkDelete(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBulkDelete"));
    setWindowTitle(QStringLiteral("Bulk Delete by Company or Title"));
    setFixedSize(twipsToPixels(5655), twipsToPixels(1875));

    lblStatic[0] = platform::placeControl<QLabel>(
        this, "lblStatic0", platform::twipsRect(120, 120, 3615, 255), QStringLiteral("Company:"));
    cboCompany =
        platform::placeControl<QComboBox>(this, "cboCompany", platform::twipsRect(120, 480, 3615, 315));
    lblStatic[1] = platform::placeControl<QLabel>(
        this, "lblStatic1", platform::twipsRect(120, 960, 3615, 255), QStringLiteral("Title:"));
    cboTitle = platform::placeControl<QComboBox>(this, "cboTitle", platform::twipsRect(120, 1320, 3615, 315));
    lblStatic[0]->setBuddy(cboCompany);
    lblStatic[1]->setBuddy(cboTitle);

    cmdDelete = platform::placeControl<QPushButton>(
        this, "cmdDelete", platform::twipsRect(3960, 120, 1455, 435), QStringLiteral("&Delete All"));
    cmdCancel = platform::placeControl<QPushButton>(
        this, "cmdCancel", platform::twipsRect(3960, 720, 1455, 435), QStringLiteral("Close"));
    // No default button: Enter in a list must not start a deletion.
    for (QPushButton *b : {cmdDelete, cmdCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    setTabOrder(cboCompany, cboTitle);
    setTabOrder(cboTitle, cmdDelete);
    setTabOrder(cmdDelete, cmdCancel);

    platform::onChoice(cboCompany, [this] { cboCompany_Click(); });
    platform::onChoice(cboTitle, {});
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    platform::pressFocusedButtonOnEnter(this);
    Form_Load();
}

void frmBulkDelete::Form_Load()
{
    cboCompany->clear();
    cboTitle->clear();
    cboTitle->hide();
    lblStatic[1]->hide();
}

bool frmBulkDelete::fillTitles(const QString &companyId)
{
    cboTitle->clear();
    cboTitle->addItem(AllTitles);
    const bool found = db::FillTitleList(cboTitle, companyId);
    // Entry 0 chooses the whole company; it must never stay chosen unseen.
    cboTitle->setCurrentIndex(found ? 0 : -1);
    return found;
}

void frmBulkDelete::showNoTitles(const QString &company)
{
    showMessage(QStringLiteral("No Titles exist for Company ") + company, QStringLiteral("No Titles Found"),
                MsgButtons::OK, MsgIcon::Critical);
}

void frmBulkDelete::cboCompany_Click()
{
    if (cboCompany->currentIndex() < 0)
        return;
    cboTitle->hide();
    lblStatic[1]->hide();
    const QString name = cboCompany->currentText();
    try {
        const std::optional<QString> companyId = db::CompanyIdForName(name);
        if (!companyId)
            throw EngineError(platform::errnum::NoCurrentRecord,
                              QStringLiteral("The company is no longer in the collection."));
        if (fillTitles(*companyId)) {
            lblStatic[1]->show();
            return;
        }
    } catch (const EngineError &e) {
        cboTitle->clear();
        cboTitle->hide();
        showDataProblem(QStringLiteral("The titles of this company could not be read."), e);
        return;
    }
    showNoTitles(name);
}

void frmBulkDelete::cmdDelete_Click()
{
    const bool companyChosen = cboCompany->currentIndex() >= 0;
    const int titleIndex = cboTitle->currentIndex();
    if (!companyChosen || titleIndex < 0) {
        showStatus(QStringLiteral("Nothing selected for deletion..."));
        return;
    }
    const Mode mode = titleIndex == 0 ? Mode::Company : Mode::Title;

    QString warning;
    std::optional<QString> key;
    try {
        if (mode == Mode::Company) {
            const QString name = cboCompany->currentText();
            warning = QStringLiteral("WARNING: You are about to delete all Titles, Issues and data "
                                     "associated with company, ") +
                      name + QStringLiteral("; are you sure you want to proceed?");
            key = db::CompanyIdForName(name);
        } else {
            const QString title = cboTitle->currentText();
            warning = QStringLiteral(
                          "WARNING: You are about to delete all Issues and data associated with title, ") +
                      title + QStringLiteral("; are you sure you want to proceed?");
            key = db::TitleIdForName(title);
        }
    } catch (const EngineError &) {
        key.reset();
    }
    if (!key) {
        showMessage(QStringLiteral("Unexpected Error deleting Title, please close Bulk Delete Dialog and try "
                                   "again, if problem persists please contact vendor."),
                    QStringLiteral("Delete Error"), MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    // No is the default: Escape on this screen starts Delete All, and
    // Escape, Enter must never delete a whole company.
    if (showMessage(warning, QStringLiteral("Confirm Delete"), MsgButtons::YesNo, MsgIcon::Question,
                    MsgAnswer::No) != MsgAnswer::Yes)
        return;

    QList<int> removed; // rows per statement: cover prices, issues, then titles
    if (!deleteRows(mode, *key, removed))
        return;
    const QString what =
        mode == Mode::Company
            ? QStringLiteral("Company ") + cboCompany->currentText() + QStringLiteral(" deleted with its ") +
                  counted(removed.at(2), QStringLiteral("title")) + QStringLiteral(", ")
            : QStringLiteral("Title ") + cboTitle->currentText() + QStringLiteral(" deleted with its ");
    showStatus(what + counted(removed.at(1), QStringLiteral("issue")) + QStringLiteral(" and ") +
               counted(removed.at(0), QStringLiteral("cover price")));
    try {
        if (mode == Mode::Company)
            refreshAfterCompanyDelete();
        else
            refreshAfterTitleDelete();
    } catch (const EngineError &e) {
        // The deletion stands; only the lists are out of date, so the screen
        // closes rather than offer them.
        showDataProblem(QStringLiteral("The deletion is complete, but the lists could not be read again."),
                        e);
        cmdCancel_Click();
    }
}

bool frmBulkDelete::deleteRows(Mode mode, const QString &key, QList<int> &removed)
{
    platform::Workspace &ws = platform::Workspace::defaultWorkspace();
    platform::Database &db = db::dbCollection();
    Hourglass busy(this);
    enum class Stage { None, Begun, Committing } stage = Stage::None;
    try {
        ws.beginTrans();
        stage = Stage::Begun;
        // The statements below are one change only if the workspace's
        // transaction covers the collection.
        if (!db.inTransaction())
            throw EngineError(platform::errnum::NoTransaction,
                              QStringLiteral("The collection is not open in the default workspace."));
        removed.clear();
        for (const QString &sql : mode == Mode::Company ? CompanyStatements : TitleStatements) {
            db.execute(sql, platform::ExecuteOption::FailOnError, {key});
            removed << db.recordsAffected();
        }
        if (db.recordsAffected() < 1) {
            stage = Stage::None;
            ws.rollback();
            busy.arrow();
            showMessage(
                QStringLiteral("Unexpected error on deletion, please close application and try again.  "
                               "If problem persists, contact vendor."),
                QStringLiteral("Deletion Problem"), MsgButtons::OK, MsgIcon::None);
            cmdCancel_Click();
            return false;
        }
        stage = Stage::Committing;
        ws.commitTrans();
        return true;
    } catch (const EngineError &e) {
        // Nothing of a failed deletion may stay behind.
        if (stage == Stage::Begun) {
            try {
                ws.rollback();
            } catch (const EngineError &) {
            }
        }
        try {
            if (db.inTransaction())
                db.rollback();
        } catch (const EngineError &) {
        }
        busy.arrow();
        showMessage(QStringLiteral("The deletion could not be completed; nothing was deleted.\n\n") +
                        e.text(),
                    QStringLiteral("Deletion Problem"), MsgButtons::OK, MsgIcon::Critical);
        return false;
    }
}

void frmBulkDelete::refreshAfterCompanyDelete()
{
    lblStatic[1]->hide();
    cboTitle->hide();
    cboTitle->clear();
    cboCompany->clear();
    const bool companiesLeft = db::FillCompanyList(cboCompany);
    cboCompany->setCurrentIndex(-1);
    if (!companiesLeft)
        cmdCancel_Click();
}

void frmBulkDelete::refreshAfterTitleDelete()
{
    const QString name = cboCompany->currentText();
    const std::optional<QString> companyId = db::CompanyIdForName(name);
    if (!companyId)
        throw EngineError(platform::errnum::NoCurrentRecord,
                          QStringLiteral("The company is no longer in the collection."));
    if (fillTitles(*companyId))
        return;
    showNoTitles(name);
    lblStatic[1]->hide();
    cboTitle->hide();
}

void frmBulkDelete::cmdCancel_Click()
{
    db::Session &s = db::session();
    s.rsTitle.reset();
    s.rsCompany.reset();
    QDialog::reject();
}

void frmBulkDelete::reject()
{
    cmdDelete_Click();
}

void frmBulkDelete::closeEvent(QCloseEvent *event)
{
    if (isVisible())
        cmdCancel_Click();
    event->accept();
}

bool LoadBulkDeleteCompanyList(frmBulkDelete &form)
{
    const bool filled = db::FillCompanyList(form.cboCompany);
    // No company is chosen until the user picks one and sees its titles.
    form.cboCompany->setCurrentIndex(-1);
    return filled;
}
