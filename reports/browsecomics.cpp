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

#include <QHash>
#include <array>
#include <cstdint>
#include <vector>

using platform::showMessage;
using platform::showStatus;

namespace reports {

namespace {

// The titles of the selection in name order (accents with their base
// letters), each numbered; the issues then come through the issue key, title
// by title. Sorting the few titles by name and the issues by that number and
// the key gives the order of company, title, issue number and condition
// without comparing names for every issue. Issues held in several conditions
// come in condition order, so a browse always lists the same rows the same way.
const QString TitlesInOrder =
    QStringLiteral(
        "WITH Titles AS MATERIALIZED (SELECT row_number() OVER (ORDER BY Company.Company COLLATE %1, "
        "Title.Title COLLATE %1, Title.Title_ID) AS Seq, Company.Company AS Company, Title.Title AS Title, "
        "Title.Title_ID AS Title_ID FROM Company INNER JOIN Title ON Company.Company_ID = Title.Company_ID")
        .arg(platform::NameOrder);
const QString SelectTitles = QStringLiteral(") Select Titles.Company AS Company, Titles.Title AS Title, ");
const QString BrowseColumns =
    QStringLiteral("Issue.IssueNum, Condition.Condition, Issue.Quantity, Issue.Current_Value, Issue.Notes");
// An export has every column of an issue, in the file's column order.
const QString ExportColumns = QStringLiteral("Issue.IssueNum, Condition.Condition, Issue.Quantity, "
                                             "Issue.Original_Price, Issue.Current_Value, Issue.Notes");
// CROSS JOIN keeps the titles outermost, so each title's issues are read
// through the issue key.
const QString IssuesOfTitles =
    QStringLiteral(" FROM Titles CROSS JOIN Issue ON Issue.Title_ID = Titles.Title_ID "
                   "INNER JOIN Condition ON Condition.Condition_ID = Issue.Condition");
const QString OrderBy = QStringLiteral(" order by Titles.Seq, Issue.IssueNum, Issue.Condition");

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

// The query of a selection: the company and the title, then `issueColumns`.
QString buildQuery(const QString &issueColumns, const QString &sCompany, const QString &sTitle,
                   const std::optional<SqlCondition> &where, QVariantList &params)
{
    QString sql = TitlesInOrder;
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
    }
    sql += SelectTitles + issueColumns + IssuesOfTitles;
    if (where) {
        // Bracketed so that it stays one condition whatever it holds.
        sql += QStringLiteral(" where (") + where->text + QLatin1Char(')');
        params << where->params;
    }
    return sql + OrderBy;
}

// Cell texts of one fill: a field without a value shows as an empty cell;
// the texts of small numbers (issue numbers, quantities) and of amounts are
// made once. Texts are handed out by reference, so the values of many rows
// pass to the grid without a copy each.
class CellTexts
{
public:
    const QString &text(const QVariant &v)
    {
        if (!v.isValid()) // a field without a value
            return m_empty;
        const QMetaType type = v.metaType();
        if (type == QMetaType::fromType<QString>())
            return *static_cast<const QString *>(v.constData());
        if (type == QMetaType::fromType<platform::Currency>()) {
            const std::int64_t scaled = static_cast<const platform::Currency *>(v.constData())->scaled();
            auto found = m_amounts.constFind(scaled);
            if (found == m_amounts.cend())
                found = m_amounts.insert(scaled, m_currency.format(platform::Currency::fromScaled(scaled)));
            return *found;
        }
        if (type == QMetaType::fromType<int>()) {
            const int n = *static_cast<const int *>(v.constData());
            if (n >= 0 && n < int(m_numbers.size())) {
                QString &t = m_numbers[size_t(n)];
                if (t.isNull())
                    t = QString::number(n);
                return t;
            }
        }
        m_other = v.toString();
        return m_other;
    }

private:
    const platform::CurrencyFormat m_currency;
    const QString m_empty;
    QString m_other;
    QHash<std::int64_t, QString> m_amounts;
    std::vector<QString> m_numbers = std::vector<QString>(32768);
};

// Texts handed down a column are mostly the very same text.
bool sameText(const QString &a, const QString &b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

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
        const QString &company = texts.text(rs.value(companyField));
        if (!sameText(company, lastCompany)) {
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
