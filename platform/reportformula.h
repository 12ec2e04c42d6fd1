#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

namespace platform {

// A field a report can read or select on: {Table.Column} over the five
// tables of a collection.
struct ReportField
{
    enum class Kind { Text, Number, Money };
    QString table;  // as written in the collection, e.g. "Issue"
    QString column; // e.g. "Current_Value"
    Kind kind;
    QString label;       // how the field reads in words, e.g. "Current value"
    QString sql() const; // the column in the report query, e.g. "i"."Current_Value"
};

// The field named table.column (letter case ignored), or null.
const ReportField *findReportField(const QString &table, const QString &column);

// A selection formula turned into an SQL condition over the report query.
// Every constant of the formula is a bound value, never part of the text.
struct CompiledFormula
{
    QString sql;         // e.g. ("i"."Quantity" > ?); "1" for an empty formula
    QVariantList values; // one per "?" in sql, in order
    QString words;       // the selection as a reader says it; "All issues" when empty
};

// Names a constant compared with a field for the words, e.g. company key
// "MAR" -> "Marvel"; an empty result keeps the constant as written.
using ReportValueNamer = std::function<QString(const ReportField &field, const QVariant &value)>;

// Reads a selection formula such as
//   {Company.Company_ID} = "MAR" and {Issue.Current_Value}  < 10.00;
// Texts stand in double quotes (a doubled quote is one quote), numbers use
// "." as decimal mark, "and" binds before "OR" (either case), brackets
// group, and the closing ";" may be left off. Amounts compare with the
// stored ten-thousandths; an empty amount matches no comparison.
// Throws EngineError naming the character (1-based) where the formula is
// wrong and what was expected there.
CompiledFormula compileFormula(const QString &text, const ReportValueNamer &namer = {});

} // namespace platform
