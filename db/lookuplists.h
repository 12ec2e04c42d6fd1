#pragma once

#include "platform/nameorder.h"

#include <QString>
#include <functional>
#include <optional>

class QComboBox;

// The company and title pick lists of the data screens. The fill routines
// leave their recordset open in the shared slot (rsCompany, rsTitle) so a
// chosen name can be turned back into its key.
namespace db {

// Every company in name order (accents with their base letters), for the
// company pick lists.
inline const QString CompanyListSql =
    QStringLiteral("Select * from Company order by Company COLLATE ") + platform::NameOrder;

// Fills through addItem, the list opened on CompanyListSql into rsCompany. True when at least one company was
// added; with no companies, or on an engine error, the user is told and the result is false.
bool fillCompanyListWith(const std::function<void(const QString &)> &addItem);

// A combo box, list widget or any control with addItem(QString).
template <typename List> bool FillCompanyList(List *list)
{
    return fillCompanyListWith([list](const QString &name) { list->addItem(name); });
}

// The titles of one company in name order into rsTitle and the list; true
// when at least one was added (the list is then made visible). Engine errors
// reach the caller.
bool FillTitleList(QComboBox *list, const QString &companyId);

// The notice for an engine failure the user can do nothing about: "Data
// Error", OK, no icon.
// The designed notice for an unexpected data error (two spaces after the stop).
inline const QString UnexpectedDataErrorText = QStringLiteral(
    "Unexpected data error, restart application and try again.  If problem persists, contact vendor");
void showDataError();

// The key of a name chosen from the list the last fill left in rsCompany or
// rsTitle; nothing when the name is not there (or the slot is closed).
std::optional<QString> CompanyIdForName(const QString &company);
std::optional<QString> TitleIdForName(const QString &title);

} // namespace db
