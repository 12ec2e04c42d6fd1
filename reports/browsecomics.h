#pragma once

#include <QString>
#include <QVariantList>
#include <optional>

class frmBrowseComics;

// Loads the issues of a selection into the browse grid, sorted by company,
// title and issue number, with the company named where its run of rows
// begins and again every sixteen rows.
namespace reports {

// The no-restriction marker for a company or a title.
inline const QString AnyKey = QStringLiteral("*");

// An SQL condition over the Issue columns with "?" for each value, and the
// values in placeholder order.
struct SqlCondition
{
    QString text;
    QVariantList params;
};

// What a browse selected: the company and title keys (or AnyKey) and the
// condition over the Issue columns.
struct BrowseSelection
{
    QString company = AnyKey;
    QString title = AnyKey;
    std::optional<SqlCondition> where;
};

// Builds the query for the selection, opens it read-only into rsCoverPrice
// and fills the form's grid. True when the grid has been filled; otherwise
// the user has been told why and the result is false.
bool LoadBrowseData(frmBrowseComics &form, bool first, const QString &sCompany, const QString &sTitle,
                    const std::optional<SqlCondition> &where = std::nullopt);

// Writes the issues the form shows to a CSV file the user chooses: every
// column of each issue, the company on every row, in the grid's order. True
// when the file was written; otherwise the user cancelled or has been told
// why, and any earlier file of that name is as it was.
bool ExportBrowseData(frmBrowseComics &form);

// Header row, widths and alignments of the seven columns.
void SetUpBrowseGrid(frmBrowseComics &form);

// Copies the open result from its current row to its end into the grid;
// true when the end was reached. Engine errors reach the caller.
bool FillBrowseGrid(frmBrowseComics &form);

} // namespace reports
