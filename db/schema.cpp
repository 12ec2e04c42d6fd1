#include "db/schema.h"

// Every rule lives in the file itself, so another client (the sqlite3 shell
// with foreign keys on) meets the same rules as the program:
//  - text columns use the built-in NOCASE collation, so keys and ordering
//    ignore letter case for every reader;
//  - Integer is a 16-bit whole number and Currency a whole number of
//    ten-thousandths, both checked by type and range;
//  - CHECK constraints are named "Table.Column:rule" so a failure can be
//    reported naming the column.
namespace db::schema {

namespace {

QString q(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString rule(const QString &table, const QString &column, const QString &ruleName, const QString &check)
{
    return QStringLiteral(" CONSTRAINT \"%1.%2:%3\" CHECK (%4)").arg(table, column, ruleName, check);
}

QString text(const QString &table, const QString &column, int size, bool required, bool emptyAllowed)
{
    QString def = q(column) + QStringLiteral(" VARCHAR(%1) COLLATE NOCASE").arg(size);
    if (required)
        def += QStringLiteral(" NOT NULL");
    if (!emptyAllowed)
        def +=
            rule(table, column, QStringLiteral("nonempty"), QStringLiteral("length(%1) > 0").arg(q(column)));
    def += rule(table, column, QStringLiteral("maxlen%1").arg(size),
                QStringLiteral("length(%1) <= %2").arg(q(column)).arg(size));
    return def;
}

QString memo(const QString &column)
{
    return q(column) + QStringLiteral(" TEXT COLLATE NOCASE");
}

QString integer(const QString &table, const QString &column)
{
    return q(column) + QStringLiteral(" SMALLINT NOT NULL") +
           rule(table, column, QStringLiteral("integer"),
                QStringLiteral("%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN -32768 AND 32767)")
                    .arg(q(column)));
}

QString currency(const QString &table, const QString &column, bool required)
{
    return q(column) + QStringLiteral(" CURRENCY") + (required ? QStringLiteral(" NOT NULL") : QString()) +
           rule(table, column, QStringLiteral("currency"),
                QStringLiteral("%1 IS NULL OR typeof(%1) = 'integer'").arg(q(column)));
}

QString primaryKey(const QString &index, const QStringList &columns)
{
    QStringList quoted;
    for (const QString &c : columns)
        quoted << q(c);
    return QStringLiteral("CONSTRAINT %1 PRIMARY KEY (%2)").arg(q(index), quoted.join(QStringLiteral(", ")));
}

QString foreignKey(const Relationship &r)
{
    // No ON DELETE/ON UPDATE action: a row with dependants can be neither
    // deleted nor re-keyed.
    return QStringLiteral("CONSTRAINT %1 FOREIGN KEY (%2) REFERENCES %3 (%4)")
        .arg(q(r.name), q(r.foreignColumn), q(r.primaryTable), q(r.primaryColumn));
}

QString createTable(const QString &name, const QStringList &parts)
{
    return QStringLiteral("CREATE TABLE %1 (\n    %2\n)").arg(q(name), parts.join(QStringLiteral(",\n    ")));
}

const Relationship &relationship(const QString &name)
{
    for (const Relationship &r : relationships()) {
        if (r.name == name)
            return r;
    }
    Q_UNREACHABLE();
}

} // namespace

const QList<Relationship> &relationships()
{
    static const QList<Relationship> list{
        {QStringLiteral("Company_Title"), QStringLiteral("Company"), QStringLiteral("Title"),
         QStringLiteral("Company_ID"), QStringLiteral("Company_ID")},
        {QStringLiteral("Title_CvrPrice"), QStringLiteral("Title"), QStringLiteral("CoverPrice"),
         QStringLiteral("Title_ID"), QStringLiteral("Title_ID")},
        {QStringLiteral("Title_Issue"), QStringLiteral("Title"), QStringLiteral("Issue"),
         QStringLiteral("Title_ID"), QStringLiteral("Title_ID")},
        {QStringLiteral("Condition_Issue"), QStringLiteral("Condition"), QStringLiteral("Issue"),
         QStringLiteral("Condition_ID"), QStringLiteral("Condition")},
    };
    return list;
}

const QList<Table> &tables()
{
    static const QList<Table> list = [] {
        const QString company = QStringLiteral("Company");
        const QString title = QStringLiteral("Title");
        const QString condition = QStringLiteral("Condition");
        const QString coverPrice = QStringLiteral("CoverPrice");
        const QString issue = QStringLiteral("Issue");
        return QList<Table>{
            {company,
             {QStringLiteral("Company_ID"), QStringLiteral("Company")},
             createTable(company, {text(company, QStringLiteral("Company_ID"), 3, true, false),
                                   text(company, QStringLiteral("Company"), 25, true, false),
                                   primaryKey(QStringLiteral("Co_ID"), {QStringLiteral("Company_ID")})}),
             QStringLiteral("Creating the Company Table")},
            {title,
             {QStringLiteral("Title"), QStringLiteral("Title_ID"), QStringLiteral("Begin_Year"),
              QStringLiteral("Company_ID")},
             createTable(title, {text(title, QStringLiteral("Title"), 35, true, false),
                                 text(title, QStringLiteral("Title_ID"), 3, true, false),
                                 text(title, QStringLiteral("Begin_Year"), 4, false, true),
                                 text(title, QStringLiteral("Company_ID"), 3, true, false),
                                 primaryKey(QStringLiteral("Title_ID"), {QStringLiteral("Title_ID")}),
                                 foreignKey(relationship(QStringLiteral("Company_Title")))}),
             QStringLiteral("Creating the Titles Table")},
            {condition,
             {QStringLiteral("Condition_ID"), QStringLiteral("Condition")},
             createTable(condition,
                         {integer(condition, QStringLiteral("Condition_ID")),
                          text(condition, QStringLiteral("Condition"), 8, true, false),
                          primaryKey(QStringLiteral("Condition_ID"), {QStringLiteral("Condition_ID")})}),
             QStringLiteral("Creating the Conditions Table")},
            {coverPrice,
             {QStringLiteral("Title_ID"), QStringLiteral("Cover_Price")},
             createTable(coverPrice, {text(coverPrice, QStringLiteral("Title_ID"), 3, true, false),
                                      currency(coverPrice, QStringLiteral("Cover_Price"), true),
                                      primaryKey(QStringLiteral("Title_ID"), {QStringLiteral("Title_ID")}),
                                      foreignKey(relationship(QStringLiteral("Title_CvrPrice")))}),
             QStringLiteral("Creating the Cover Price Table")},
            {issue,
             {QStringLiteral("Title_ID"), QStringLiteral("IssueNum"), QStringLiteral("Condition"),
              QStringLiteral("Quantity"), QStringLiteral("Original_Price"), QStringLiteral("Current_Value"),
              QStringLiteral("Notes")},
             createTable(issue, {text(issue, QStringLiteral("Title_ID"), 3, true, false),
                                 integer(issue, QStringLiteral("IssueNum")),
                                 integer(issue, QStringLiteral("Condition")),
                                 integer(issue, QStringLiteral("Quantity")),
                                 currency(issue, QStringLiteral("Original_Price"), false),
                                 currency(issue, QStringLiteral("Current_Value"), false),
                                 memo(QStringLiteral("Notes")),
                                 primaryKey(QStringLiteral("IssueIdx"),
                                            {QStringLiteral("Title_ID"), QStringLiteral("IssueNum"),
                                             QStringLiteral("Condition")}),
                                 foreignKey(relationship(QStringLiteral("Title_Issue"))),
                                 foreignKey(relationship(QStringLiteral("Condition_Issue")))}),
             QStringLiteral("Creating the Issues Table")},
        };
    }();
    return list;
}

QString normalisedSql(const QString &sql)
{
    QString out;
    QChar quote;
    bool pendingSpace = false;
    auto isTight = [](QChar c) { return c == u'(' || c == u')' || c == u',' || c == u'.' || c == u';'; };
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            out += c;
            if (c == quote)
                quote = QChar(); // a doubled quote reopens at once
            continue;
        }
        if (c.isSpace()) {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && !out.isEmpty() && !isTight(c) && !isTight(out.back()))
            out += u' ';
        pendingSpace = false;
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            quote = c == u'[' ? QChar(u']') : c;
            out += c;
            continue;
        }
        out += c.toUpper();
    }
    while (out.endsWith(u';'))
        out.chop(1);
    return out;
}

const QList<ConditionRow> &conditionRows()
{
    static const QList<ConditionRow> rows{
        {1, QStringLiteral("Mint")}, {2, QStringLiteral("NearMint")}, {3, QStringLiteral("VeryFine")},
        {4, QStringLiteral("Fine")}, {5, QStringLiteral("VeryGood")}, {6, QStringLiteral("Good")},
        {7, QStringLiteral("Fair")}, {8, QStringLiteral("Poor")},
    };
    return rows;
}

} // namespace db::schema
