#pragma once

#include "platform/currency.h"
#include "reports/browsecomics.h"

#include <QString>
#include <optional>
#include <set>

// What the user chose on the selection screen, kept typed from the widgets to
// the browse query and the report formula, so no operator or amount is ever
// read back out of a text.
namespace reports {

enum class Comparison { Equal, Greater, Less };

struct QuantityRestriction
{
    Comparison op = Comparison::Equal;
    int number = 0;
};

struct ValueRestriction
{
    Comparison op = Comparison::Greater;
    platform::Currency amount;
};

struct Selection
{
    QString company = AnyKey; // Company_ID, or AnyKey for every company
    QString title = AnyKey;   // Title_ID, or AnyKey for every title
    std::set<int> conditions; // condition codes 1 to 8; empty for any condition
    std::optional<QuantityRestriction> quantity;
    std::optional<ValueRestriction> value;
};

// The browse's condition over the Issue columns (conditions, quantity, value),
// every constant a bound value; nothing when the selection restricts none of
// them. Company and title go to the browse as keys of their own.
std::optional<SqlCondition> browseCondition(const Selection &selection);

// The report selection formula: company, title, conditions, current value and
// quantity joined by " and ", closed by ";"; empty for no restriction.
QString reportFormula(const Selection &selection);

} // namespace reports
