#pragma once

#include "db/session.h"
#include "platform/currency.h"
#include "reports/browsegrid.h"

#include <QStringList>
#include <QVariant>

// Issue rows written straight through SQL, and the browse grid read back,
// for the browse and selection tests.
namespace browsefixture {

// value in cents; a negative value (or quantity 0 notes "") leaves the
// column without a value.
inline void addIssue(const QString &titleId, int number, int condition, int quantity, qint64 valueCents = -1,
                     const QString &notes = QString())
{
    db::dbCollection().execute(
        QStringLiteral("INSERT INTO Issue (Title_ID, IssueNum, Condition, Quantity, Current_Value, Notes) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        platform::ExecuteOption::FailOnError,
        {titleId, number, condition, quantity,
         valueCents < 0 ? QVariant() : QVariant::fromValue(platform::Currency::fromScaled(valueCents * 100)),
         notes.isNull() ? QVariant() : QVariant(notes)});
}

// Many issues of one title in one transaction: numbers 1..count, condition 1.
inline void addIssues(const QString &titleId, int count)
{
    platform::Transaction t(db::dbCollection());
    for (int n = 1; n <= count; ++n)
        addIssue(titleId, n, 1, 1);
    t.commit();
}

// Every data row of the grid (the trailing empty row left out) as its seven
// cells joined by "|".
inline QStringList gridRows(const BrowseGrid &grid)
{
    QStringList out;
    for (int r = 1; r < grid.rows() - 1; ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.cellText(r, c);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// Column 0 of every data row that carries a company label, as "row:label".
inline QStringList companyLabels(const BrowseGrid &grid)
{
    QStringList out;
    for (int r = 1; r < grid.rows(); ++r) {
        if (!grid.cellText(r, 0).isEmpty())
            out << QStringLiteral("%1:%2").arg(r).arg(grid.cellText(r, 0));
    }
    return out;
}

} // namespace browsefixture
