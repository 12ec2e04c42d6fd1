#pragma once

#include <QString>
#include <QVariantList>

namespace platform {

// A selection formula turned into an SQL condition over the report's query.
// Every constant of the formula is a bound value, never part of the text.
struct CompiledFormula
{
    QString sql;         // e.g. "(i.Quantity > ?)"; "1" for an empty formula
    QVariantList values; // one per "?" in sql, in order
};

// Reads a selection formula such as
//   {Company.Company_Name} = "Marvel" and {Issue.Current_Value} < 10.00;
// Throws EngineError naming the position (1-based character) and what was
// expected there; nothing is half-compiled.
CompiledFormula compileFormula(const QString &text);

} // namespace platform
