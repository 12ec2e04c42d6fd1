#include "reports/selection.h"

#include <QStringList>

namespace reports {

namespace {
QString operatorText(Comparison op)
{
    switch (op) {
    case Comparison::Equal: return QStringLiteral(" = ");
    case Comparison::Greater: return QStringLiteral(" > ");
    case Comparison::Less: return QStringLiteral(" < ");
    }
    return QString();
}

// A text constant of the formula; a double quote inside it is doubled.
QString quoted(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

// The conditions as "FIELD = k", or several in code order as a bracketed
// " OR " list; the browse writes a placeholder in place of each k.
QString conditionsText(const std::set<int> &conditions, const QString &field, bool placeholders)
{
    QStringList parts;
    for (const int k : conditions)
        parts << field + QStringLiteral(" = ") + (placeholders ? QStringLiteral("?") : QString::number(k));
    const QString joined = parts.join(QStringLiteral(" OR "));
    return parts.size() > 1 ? QLatin1Char('(') + joined + QLatin1Char(')') : joined;
}
} // namespace

std::optional<SqlCondition> browseCondition(const Selection &selection)
{
    QStringList parts;
    SqlCondition where;
    if (!selection.conditions.empty()) {
        parts << conditionsText(selection.conditions, QStringLiteral("Issue.Condition"), true);
        for (const int k : selection.conditions)
            where.params << k;
    }
    if (const auto &q = selection.quantity) {
        parts << QStringLiteral("Issue.Quantity ") + operatorText(q->op) + QLatin1Char('?');
        where.params << q->number;
    }
    if (const auto &v = selection.value) {
        parts << QStringLiteral("Issue.Current_Value ") + operatorText(v->op) + QLatin1Char('?');
        where.params << QVariant::fromValue(v->amount);
    }
    if (parts.isEmpty())
        return std::nullopt;
    where.text = parts.join(QStringLiteral(" and "));
    return where;
}

QString reportFormula(const Selection &selection)
{
    QStringList parts;
    if (selection.company != AnyKey)
        parts << QStringLiteral("{Company.Company_ID} = ") + quoted(selection.company);
    // The screen sends a title only with its company; a title alone still
    // restricts, as it does in the browse.
    if (selection.title != AnyKey)
        parts << QStringLiteral("{Title.Title_ID} = ") + quoted(selection.title);
    if (!selection.conditions.empty())
        parts << conditionsText(selection.conditions, QStringLiteral("{Issue.Condition}"), false);
    if (const auto &v = selection.value)
        parts << QStringLiteral("{Issue.Current_Value} ") + operatorText(v->op) +
                     platform::plainDecimal(v->amount);
    if (const auto &q = selection.quantity)
        parts << QStringLiteral("{Issue.Quantity} ") + operatorText(q->op) + QString::number(q->number);
    if (parts.isEmpty())
        return QString();
    return parts.join(QStringLiteral(" and ")) + QLatin1Char(';');
}

} // namespace reports
