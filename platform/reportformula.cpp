#include "platform/reportformula.h"

#include "platform/currency.h"
#include "platform/engineerror.h"

#include <QList>
#include <limits>

namespace platform {

namespace {

using Kind = ReportField::Kind;

const QList<ReportField> &fields()
{
    static const QList<ReportField> list{
        {QStringLiteral("Company"), QStringLiteral("Company_ID"), Kind::Text, QStringLiteral("Company")},
        {QStringLiteral("Company"), QStringLiteral("Company"), Kind::Text, QStringLiteral("Company name")},
        {QStringLiteral("Title"), QStringLiteral("Title"), Kind::Text, QStringLiteral("Title name")},
        {QStringLiteral("Title"), QStringLiteral("Title_ID"), Kind::Text, QStringLiteral("Title")},
        {QStringLiteral("Title"), QStringLiteral("Begin_Year"), Kind::Text, QStringLiteral("Begin year")},
        {QStringLiteral("Title"), QStringLiteral("Company_ID"), Kind::Text, QStringLiteral("Company")},
        {QStringLiteral("Condition"), QStringLiteral("Condition_ID"), Kind::Number,
         QStringLiteral("Condition")},
        {QStringLiteral("Condition"), QStringLiteral("Condition"), Kind::Text,
         QStringLiteral("Condition name")},
        {QStringLiteral("CoverPrice"), QStringLiteral("Title_ID"), Kind::Text, QStringLiteral("Title")},
        {QStringLiteral("CoverPrice"), QStringLiteral("Cover_Price"), Kind::Money,
         QStringLiteral("Cover price")},
        {QStringLiteral("Issue"), QStringLiteral("Title_ID"), Kind::Text, QStringLiteral("Title")},
        {QStringLiteral("Issue"), QStringLiteral("IssueNum"), Kind::Number, QStringLiteral("Issue number")},
        {QStringLiteral("Issue"), QStringLiteral("Condition"), Kind::Number, QStringLiteral("Condition")},
        {QStringLiteral("Issue"), QStringLiteral("Quantity"), Kind::Number, QStringLiteral("Quantity")},
        {QStringLiteral("Issue"), QStringLiteral("Original_Price"), Kind::Money,
         QStringLiteral("Original price")},
        {QStringLiteral("Issue"), QStringLiteral("Current_Value"), Kind::Money,
         QStringLiteral("Current value")},
        {QStringLiteral("Issue"), QStringLiteral("Notes"), Kind::Text, QStringLiteral("Notes")},
    };
    return list;
}

QString tableAlias(const QString &table)
{
    if (table == QLatin1String("Company"))
        return QStringLiteral("c");
    if (table == QLatin1String("Title"))
        return QStringLiteral("t");
    if (table == QLatin1String("Condition"))
        return QStringLiteral("k");
    if (table == QLatin1String("CoverPrice"))
        return QStringLiteral("p");
    return QStringLiteral("i");
}

// One side of a comparison as read.
struct Operand
{
    const ReportField *field = nullptr; // set for a field
    QVariant value;                     // a constant: QString, or the number's text
    bool isText = false;
    int position = 0;
    QString written;
};

class Parser
{
public:
    Parser(const QString &text, const ReportValueNamer &namer)
        : m_text(text)
        , m_namer(namer)
    {}

    CompiledFormula run()
    {
        CompiledFormula out;
        const Part p = orExpression();
        skipSpace();
        if (peek() == QLatin1Char(';')) {
            ++m_pos;
            skipSpace();
        }
        if (m_pos < m_text.size())
            fail(m_pos, m_text.at(m_pos) == QLatin1Char(')')
                            ? QStringLiteral("this \")\" closes no \"(\"")
                            : QStringLiteral("\"and\", \"OR\" or the closing "
                                             "\";\" is expected"));
        out.sql = p.sql;
        out.words = p.words;
        out.values = m_values;
        return out;
    }

private:
    struct Part
    {
        QString sql;
        QString words;
    };

    [[noreturn]] void fail(qsizetype at, const QString &what) const
    {
        QString near = m_text.mid(at, 20).trimmed();
        const QString where = at >= m_text.size()
                                  ? QStringLiteral("at its end")
                                  : QStringLiteral("at character %1 (\"%2\")").arg(at + 1).arg(near);
        throw EngineError(errnum::Generic,
                          QStringLiteral("The selection formula is wrong %1: %2.").arg(where, what));
    }

    QChar peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : QChar(); }

    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    // "and" or "or" as a whole word at the current place, any letter case.
    bool keyword(QLatin1StringView word)
    {
        skipSpace();
        const qsizetype end = m_pos + word.size();
        if (end > m_text.size() ||
            QStringView(m_text).mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive))
            return false;
        if (end < m_text.size() && (m_text.at(end).isLetterOrNumber() || m_text.at(end) == QLatin1Char('_')))
            return false;
        m_pos = end;
        return true;
    }

    Part orExpression()
    {
        Part p = andExpression();
        while (keyword(QLatin1StringView("or"))) {
            const Part r = andExpression();
            p.sql += QStringLiteral(" OR ") + r.sql;
            p.words += QStringLiteral(" or ") + r.words;
        }
        return p;
    }

    Part andExpression()
    {
        Part p = primary();
        while (keyword(QLatin1StringView("and"))) {
            const Part r = primary();
            p.sql += QStringLiteral(" AND ") + r.sql;
            p.words += QStringLiteral(" and ") + r.words;
        }
        return p;
    }

    Part primary()
    {
        skipSpace();
        if (peek() == QLatin1Char('(')) {
            const qsizetype open = m_pos++;
            const Part inner = orExpression();
            skipSpace();
            if (peek() != QLatin1Char(')'))
                fail(m_pos, m_pos >= m_text.size() || peek() == QLatin1Char(';')
                                ? QStringLiteral("the \"(\" at character %1 is not closed").arg(open + 1)
                                : QStringLiteral("\"and\", \"OR\" or \")\" is expected"));
            ++m_pos;
            return {QLatin1Char('(') + inner.sql + QLatin1Char(')'),
                    QLatin1Char('(') + inner.words + QLatin1Char(')')};
        }
        return comparison();
    }

    Operand operand()
    {
        skipSpace();
        Operand o;
        o.position = int(m_pos);
        const QChar c = peek();
        if (c == QLatin1Char('{')) {
            const qsizetype close = m_text.indexOf(QLatin1Char('}'), m_pos);
            if (close < 0)
                fail(m_pos, QStringLiteral("the field has no closing \"}\""));
            const QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
            const qsizetype dot = name.indexOf(QLatin1Char('.'));
            o.field = dot < 0 ? nullptr : findReportField(name.left(dot), name.mid(dot + 1));
            if (!o.field)
                fail(m_pos, QStringLiteral("there is no field {%1}").arg(name));
            m_pos = close + 1;
        } else if (c == QLatin1Char('"')) {
            QString value;
            qsizetype i = m_pos + 1;
            for (;; ++i) {
                if (i >= m_text.size())
                    fail(m_pos, QStringLiteral("the text has no closing double quote"));
                if (m_text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < m_text.size() && m_text.at(i + 1) == QLatin1Char('"')) {
                        value += QLatin1Char('"');
                        ++i;
                        continue;
                    }
                    break;
                }
                value += m_text.at(i);
            }
            m_pos = i + 1;
            o.value = value;
            o.isText = true;
        } else if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-')) {
            qsizetype i = m_pos + (c == QLatin1Char('-') ? 1 : 0);
            qsizetype digits = 0, dots = 0;
            for (; i < m_text.size(); ++i) {
                const QChar d = m_text.at(i);
                if (d.isDigit() && d.unicode() < 128)
                    ++digits;
                else if (d == QLatin1Char('.') && dots == 0)
                    ++dots;
                else
                    break;
            }
            if (digits == 0 ||
                (i < m_text.size() && (m_text.at(i).isLetterOrNumber() || m_text.at(i) == QLatin1Char('.'))))
                fail(m_pos, QStringLiteral("this is not a number (digits with \".\" as decimal mark)"));
            o.value = m_text.mid(m_pos, i - m_pos);
            m_pos = i;
        } else {
            fail(m_pos, QStringLiteral("a field in braces, a text in double quotes or a number is expected"));
        }
        o.written = m_text.mid(o.position, m_pos - o.position);
        return o;
    }

    Part comparison()
    {
        const Operand left = operand();
        skipSpace();
        const qsizetype opAt = m_pos;
        const QChar op = peek();
        if (op != QLatin1Char('=') && op != QLatin1Char('<') && op != QLatin1Char('>'))
            fail(m_pos, QStringLiteral("a comparison (\"=\", \">\" or \"<\") is expected after %1")
                            .arg(left.written));
        ++m_pos;
        const Operand right = operand();
        if (!left.field && !right.field)
            fail(left.position, QStringLiteral("a comparison needs a field in braces on one side"));
        Q_UNUSED(opAt);

        const Operand &field = left.field ? left : right;
        const Kind kind = field.field->kind;
        QString sides[2];
        QString words[2];
        const Operand *both[2] = {&left, &right};
        for (int s = 0; s < 2; ++s) {
            const Operand &o = *both[s];
            if (o.field) {
                if ((o.field->kind == Kind::Text) != (kind == Kind::Text) ||
                    ((o.field->kind == Kind::Money) != (kind == Kind::Money)))
                    fail(o.position,
                         QStringLiteral("{%1.%2} cannot be compared with {%3.%4}")
                             .arg(field.field->table, field.field->column, o.field->table, o.field->column));
                sides[s] = o.field->sql();
                words[s] = o.field->label;
                continue;
            }
            const QVariant bound = constant(o, *field.field);
            m_values << bound;
            sides[s] = QStringLiteral("?");
            QString named = m_namer ? m_namer(*field.field, bound) : QString();
            if (named.isEmpty()) {
                if (kind == Kind::Money && bound.typeId() == QMetaType::LongLong)
                    named = formatCurrency(Currency::fromScaled(bound.toLongLong()));
                else
                    named = kind == Kind::Text ? QLatin1Char('"') + o.value.toString() + QLatin1Char('"')
                                               : o.value.toString();
            }
            words[s] = named;
        }
        const QString opWords = op == QLatin1Char('=')   ? QStringLiteral(" is ")
                                : op == QLatin1Char('>') ? QStringLiteral(" is more than ")
                                                         : QStringLiteral(" is less than ");
        return {sides[0] + QLatin1Char(' ') + op + QLatin1Char(' ') + sides[1],
                words[0] + opWords + words[1]};
    }

    // The value bound for a constant compared with `field`: the text, a
    // whole number, or an amount in ten-thousandths.
    QVariant constant(const Operand &o, const ReportField &field) const
    {
        if (field.kind == Kind::Text) {
            if (!o.isText)
                fail(o.position, QStringLiteral("{%1.%2} is compared with a text in double quotes")
                                     .arg(field.table, field.column));
            return o.value;
        }
        if (o.isText)
            fail(o.position,
                 QStringLiteral("{%1.%2} is compared with a number").arg(field.table, field.column));
        const QString number = o.value.toString();
        const bool negative = number.startsWith(QLatin1Char('-'));
        const qsizetype dot = number.indexOf(QLatin1Char('.'));
        const QString whole =
            number.mid(negative ? 1 : 0, (dot < 0 ? number.size() : dot) - (negative ? 1 : 0));
        QString fraction = dot < 0 ? QString() : number.mid(dot + 1);
        while (fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
        const int scaleDigits = field.kind == Kind::Money ? 4 : 0;
        if (fraction.size() > scaleDigits) {
            if (field.kind == Kind::Money)
                fail(o.position, QStringLiteral("an amount has at most four decimal places"));
            // A whole-number column against a fraction: compared as a real number.
            return number.toDouble();
        }
        const QString digits = (whole + fraction.leftJustified(scaleDigits, QLatin1Char('0')));
        bool ok = false;
        const qint64 magnitude = digits.isEmpty() ? 0 : digits.toLongLong(&ok);
        if (!digits.isEmpty() && !ok)
            fail(o.position, QStringLiteral("this number is too large"));
        return negative ? -magnitude : magnitude;
    }

    const QString &m_text;
    const ReportValueNamer &m_namer;
    qsizetype m_pos = 0;
    QVariantList m_values;
};

} // namespace

QString ReportField::sql() const
{
    return QStringLiteral("\"%1\".\"%2\"").arg(tableAlias(table), column);
}

const ReportField *findReportField(const QString &table, const QString &column)
{
    for (const ReportField &f : fields()) {
        if (!f.table.compare(table, Qt::CaseInsensitive) && !f.column.compare(column, Qt::CaseInsensitive))
            return &f;
    }
    return nullptr;
}

CompiledFormula compileFormula(const QString &text, const ReportValueNamer &namer)
{
    if (text.trimmed().isEmpty())
        return {QStringLiteral("1"), {}, QStringLiteral("All issues")};
    return Parser(text, namer).run();
}

} // namespace platform
