#include "reports/browsecomics.h"

#include "db/lookuplists.h"
#include "db/session.h"
#include "platform/csvfile.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "platform/nameorder.h"
#include "reports/browsegrid.h"
#include "reports/frmbrowsecomics.h"

#include <array>
#include <vector>

using platform::showMessage;
using platform::showStatus;

namespace reports {

namespace {

const QString BrowseColumns = QStringLiteral(
    "Select Company.Company, Title.Title, Issue.IssueNum, Condition.Condition, Issue.Quantity, "
    "Issue.Current_Value, Issue.Notes");
// An export has every column of an issue, in the file's column order.
const QString ExportColumns = QStringLiteral(
    "Select Company.Company, Title.Title, Issue.IssueNum, Condition.Condition, Issue.Quantity, "
    "Issue.Original_Price, Issue.Current_Value, Issue.Notes");
// The four inner joins written one after another select the same rows as
// the nested form; SQLite plans either equally.
const QString Joins =
    QStringLiteral(" FROM Company INNER JOIN Title ON Company.Company_ID = Title.Company_ID "
                   "INNER JOIN Issue ON Title.Title_ID = Issue.Title_ID "
                   "INNER JOIN Condition ON Condition.Condition_ID = Issue.Condition");
// Issues held in several conditions come in condition order, so a browse
// always lists the same rows the same way.
// Names in name order (accents with their base letters).
const QString OrderBy = QStringLiteral(" order by Company.Company COLLATE %1, Title.Title COLLATE %1, "
                                       "Issue.IssueNum, Issue.Condition")
                            .arg(platform::NameOrder);

const QString StartCompany = QStringLiteral("@@@@@@");
constexpr int GroupSize = 16;
constexpr int ProgressStep = 250;

struct Column
{
    const char *header;
    int width;
    int alignment; // 0 left, 1 right, 2 centre
};

// The field each column shows.
const char *const Fields[] = {"Company",  "Title",         "IssueNum", "Condition",
                              "Quantity", "Current_Value", "Notes"};

const Column Columns[] = {
    {"Company", 1600, 0}, {"Title", 3000, 0}, {"Issue", 600, 2}, {"Condition", 700, 2},
    {"Qty", 600, 1},      {"Value", 800, 1},  {"Notes", 800, 2},
};

QString buildQuery(const QString &columns, const QString &sCompany, const QString &sTitle,
                   const std::optional<SqlCondition> &where, QVariantList &params)
{
    QString sql = columns + Joins;
    bool whereOpen = false;
    if (sCompany != AnyKey) {
        sql += QStringLiteral(" where Company.Company_ID = ?");
        params << sCompany;
        whereOpen = true;
    }
    if (sTitle != AnyKey) {
        sql += whereOpen ? QStringLiteral(" and") : QStringLiteral(" where");
        sql += QStringLiteral(" Title.Title_ID = ?");
        params << sTitle;
        whereOpen = true;
    }
    if (where) {
        sql += whereOpen ? QStringLiteral(" and") : QStringLiteral(" where");
        // Bracketed so an OR inside it cannot loosen the key restrictions.
        sql += QStringLiteral(" (") + where->text + QLatin1Char(')');
        params << where->params;
    }
    return sql + OrderBy;
}

// Cell texts of one fill: a field without a value shows as an empty cell;
// the texts of small numbers (issue numbers, quantities) are made once.
class CellTexts
{
public:
    QString text(const QVariant &v)
    {
        if (v.isNull())
            return QString();
        if (v.metaType() == QMetaType::fromType<platform::Currency>())
            return m_currency.format(v.value<platform::Currency>());
        if (v.metaType() == QMetaType::fromType<int>()) {
            const int n = v.toInt();
            if (n >= 0 && n < int(m_numbers.size())) {
                QString &t = m_numbers[size_t(n)];
                if (t.isNull())
                    t = QString::number(n);
                return t;
            }
        }
        return v.toString();
    }

private:
    const platform::CurrencyFormat m_currency;
    std::vector<QString> m_numbers = std::vector<QString>(32768);
};

} // namespace

bool LoadBrowseData(frmBrowseComics &form, bool first, const QString &sCompany, const QString &sTitle,
                    const std::optional<SqlCondition> &where)
{
    db::Session &s = db::session();
    QVariantList params;
    const QString sql = buildQuery(BrowseColumns, sCompany, sTitle, where, params);
    form.shown = BrowseSelection{sCompany, sTitle, where};

    showStatus(QStringLiteral("Selecting data..."));
    // A query that cannot be opened must not be judged by the rows of
    // whatever the slot held before.
    s.rsCoverPrice.reset();
    try {
        s.rsCoverPrice = s.dbCollection.openRecordset(sql, platform::RecordsetType::Snapshot, params,
                                                      platform::RecordsetOption::ReadOnly);
        s.rsCoverPrice->moveFirst();
        showStatus(QStringLiteral("Data selected, preparing report screen..."));
        if (first)
            SetUpBrowseGrid(form);
        if (FillBrowseGrid(form))
            return true;
    } catch (const platform::EngineError &) {
    }

    int count = 1;
    try {
        if (s.rsCoverPrice)
            count = s.rsCoverPrice->recordCount();
    } catch (const platform::EngineError &) {
    }
    if (count == 0 || count == -1) {
        showStatus(QStringLiteral("No data exists to Browse"));
        const bool unrestricted = sCompany == AnyKey && sTitle == AnyKey && !where;
        showMessage(unrestricted ? QStringLiteral("Please populate the database prior to browsing, starting "
                                                  "with Company Information")
                                 : QStringLiteral("No data exists for the specified selection criteria"),
                    QStringLiteral("No Comic Book Data"), platform::MsgButtons::OK, platform::MsgIcon::None);
    } else {
        showStatus(QStringLiteral("Unexpected error condition"));
        db::showDataError();
    }
    return false;
}

bool ExportBrowseData(frmBrowseComics &form)
{
    const std::optional<QString> path =
        platform::chooseFile(platform::csvExportRequest(db::dbCollection().path()), &form);
    if (!path) {
        showStatus(QStringLiteral("Export Cancelled..."));
        return false;
    }

    // The grid shows fewer columns and names a company only where its run
    // begins: the rows are read again, with every column, in the same order.
    QVariantList params;
    const BrowseSelection &shown = form.shown;
    const QString sql = buildQuery(ExportColumns, shown.company, shown.title, shown.where, params);
    showStatus(QStringLiteral("Exporting..."));
    form.setCursor(Qt::WaitCursor);
    try {
        const int rows =
            platform::exportCsv(db::dbCollection(), sql, params, platform::issueCsvColumns(), *path);
        form.unsetCursor();
        showStatus(platform::exportedText(rows, *path));
        return true;
    } catch (const platform::EngineError &e) {
        form.unsetCursor();
        showStatus(QStringLiteral("Export failed"));
        showMessage(e.text(), form.windowTitle(), platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
        return false;
    }
}

void SetUpBrowseGrid(frmBrowseComics &form)
{
    BrowseGrid &grid = *form.grdBrowse;
    grid.setRow(0);
    for (int c = 2; c <= 5; ++c)
        grid.setColAlignment(c, 2);
    for (int c = 0; c < int(std::size(Columns)); ++c) {
        grid.setCol(c);
        grid.setText(QString::fromLatin1(Columns[c].header));
        grid.setColWidth(c, Columns[c].width);
    }
    for (int c = 2; c < int(std::size(Columns)); ++c)
        grid.setColAlignment(c, Columns[c].alignment);
}

bool FillBrowseGrid(frmBrowseComics &form)
{
    BrowseGrid &grid = *form.grdBrowse;
    platform::Recordset &rs = *db::session().rsCoverPrice;
    const int companyField = rs.fieldIndex(QStringLiteral("Company"));
    std::array<int, 7> fields{};
    for (int c = 1; c <= 6; ++c)
        fields[size_t(c)] = rs.fieldIndex(QString::fromLatin1(Fields[c]));
    CellTexts texts;

    showStatus(QStringLiteral("Preparing to load data to report screen..."));
    QString lastCompany = StartCompany;
    // Plain ints: a collection may hold far more issues than a 16-bit count.
    int group = 0;
    grid.setRows(2);
    grid.setRow(1);
    int row = 1;
    showStatus(QStringLiteral("Loading first 250 rows..."));
    // Shown together at the end, also when an engine error ends the fill.
    struct Fill
    {
        BrowseGrid &grid;
        explicit Fill(BrowseGrid &g)
            : grid(g)
        {
            grid.beginFill();
        }
        ~Fill() { grid.endFill(); }
    } fill(grid);

    while (!rs.eof()) {
        if (row % ProgressStep == 0)
            showStatus(QStringLiteral("Loaded  %1 rows...").arg(row));
        grid.setCol(0);
        const QString company = rs.value(companyField).toString();
        if (company != lastCompany) {
            grid.setText(company);
            lastCompany = company;
            group = 0;
        } else if (group >= GroupSize) {
            grid.setText(company + QStringLiteral("Cont."));
            group = 0;
        }
        for (int c = 1; c <= 6; ++c) {
            grid.setCol(c);
            grid.setText(texts.text(rs.value(fields[size_t(c)])));
        }
        ++row;
        ++group;
        grid.setRows(grid.rows() + 1);
        grid.setRow(grid.row() + 1);
        rs.moveNext();
    }

    showStatus(QStringLiteral("Load Done: Total = %1 rows").arg(row));
    return true;
}

} // namespace reports
