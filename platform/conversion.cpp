#include "platform/conversion.h"

#include "platform/engineerror.h"

#include <QRegularExpression>
#include <limits>

namespace platform {

std::int16_t toInteger16(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    const QString t = text.trimmed();
    if (!whole.match(t).hasMatch())
        throw EngineError(errnum::TypeConversion, QStringLiteral("'%1' is not a whole number.").arg(t));
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (!ok || v < -32768 || v > 32767)
        throw EngineError(
            errnum::Overflow,
            QStringLiteral("'%1' is out of range: a whole number from -32768 to 32767 is required.").arg(t));
    return std::int16_t(v);
}

namespace {

enum class Parse { Ok, NotAmount, Overflow };

bool isSpace(QChar c)
{
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

// Digit value of c in ASCII or the locale's own digits, or -1.
int digitValue(QChar c, QChar zero)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (zero != QLatin1Char('0') && c.unicode() >= zero.unicode() && c.unicode() <= zero.unicode() + 9)
        return c.unicode() - zero.unicode();
    return -1;
}

// Without the invisible direction marks some locales put around numbers and
// signs, which a user cannot see to type.
QString withoutMarks(QString text)
{
    text.removeIf([](QChar c) {
        const char16_t u = c.unicode();
        return u == 0x200E || u == 0x200F || u == 0x061C || (u >= 0x202A && u <= 0x202E) ||
               (u >= 0x2066 && u <= 0x2069);
    });
    return text;
}

// The locale's own digits as ASCII ones; some lie outside 16-bit characters.
QString asciiDigits(QString text, const QLocale &loc)
{
    const QList<uint> zero = loc.zeroDigit().toUcs4();
    if (zero.size() != 1 || zero.first() == uint(u'0'))
        return text;
    for (char32_t d = 0; d < 10; ++d) {
        const char32_t code = char32_t(zero.first() + d);
        text.replace(QString::fromUcs4(&code, 1), QString(QChar(u'0' + d)));
    }
    return text;
}

Parse parseAmount(const QString &text, const QLocale &userLocale, std::int64_t &out)
{
    const QLocale loc = currencyLocale(userLocale);
    QString s = asciiDigits(withoutMarks(text), loc).trimmed();
    bool negative = false;
    if (s.size() >= 2 && s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    const QString symbol = withoutMarks(loc.currencySymbol(QLocale::CurrencySymbol));
    const QString isoCode = loc.currencySymbol(QLocale::CurrencyIsoCode);
    const QString minus = withoutMarks(loc.negativeSign());
    // Symbol and sign may come in either order before the number, or after it.
    for (int round = 0; round < 2; ++round) {
        for (const QString &sym : {symbol, isoCode}) {
            if (!sym.isEmpty() && s.startsWith(sym, Qt::CaseInsensitive))
                s = s.mid(sym.size()).trimmed();
            if (!sym.isEmpty() && s.endsWith(sym, Qt::CaseInsensitive))
                s.chop(sym.size());
            s = s.trimmed();
        }
        for (const QString &sign : {QStringLiteral("-"), minus, QStringLiteral("\u2212")}) {
            if (!negative && !sign.isEmpty() && s.startsWith(sign)) {
                negative = true;
                s = s.mid(sign.size()).trimmed();
            } else if (!negative && !sign.isEmpty() && s.endsWith(sign)) {
                negative = true;
                s.chop(sign.size());
                s = s.trimmed();
            }
        }
        if (s.startsWith(QLatin1Char('+')))
            s = s.mid(1).trimmed();
    }

    const QString decimal = withoutMarks(loc.decimalPoint());
    QString group = withoutMarks(loc.groupSeparator());
    const bool spaceGroup = group.size() == 1 && isSpace(group.at(0));
    const QChar zero = QLatin1Char('0'); // the locale's digits are ASCII by now

    // Integer part: digits in groups (the first of 1-4 digits, as some
    // locales show "1000 000", then groups of 2 or 3, the last of 3), so
    // "1,50" is refused rather than misread.
    std::uint64_t units = 0;
    int digits = 0;
    QList<int> groups{0};
    int i = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const int d = digitValue(c, zero);
        if (d >= 0) {
            if (__builtin_mul_overflow(units, std::uint64_t(10), &units) ||
                __builtin_add_overflow(units, std::uint64_t(d), &units))
                return Parse::Overflow;
            ++digits;
            ++groups.last();
            continue;
        }
        if (s.mid(i, decimal.size()) == decimal)
            break;
        if ((!group.isEmpty() && s.mid(i, group.size()) == group) || (spaceGroup && isSpace(c))) {
            if (groups.last() == 0)
                return Parse::NotAmount;
            groups.append(0);
            i += spaceGroup ? 0 : int(group.size()) - 1;
            continue;
        }
        return Parse::NotAmount;
    }
    if (groups.size() > 1) {
        if (groups.first() > 4 || groups.last() != 3)
            return Parse::NotAmount;
        for (int g = 1; g < groups.size(); ++g) {
            if (groups.at(g) < 2 || groups.at(g) > 3)
                return Parse::NotAmount;
        }
    }

    // Fraction: four places kept, the fifth rounds half away from zero.
    std::uint64_t frac = 0;
    int places = 0;
    bool roundUp = false;
    if (i < s.size()) {
        for (i += int(decimal.size()); i < s.size(); ++i) {
            const int d = digitValue(s.at(i), zero);
            if (d < 0)
                return Parse::NotAmount;
            ++digits;
            if (places < 4)
                frac = frac * 10 + std::uint64_t(d);
            else if (places == 4)
                roundUp = d >= 5;
            ++places;
        }
    }
    if (digits == 0)
        return Parse::NotAmount;
    for (; places < 4; ++places)
        frac *= 10;

    std::uint64_t magnitude = 0;
    if (__builtin_mul_overflow(units, std::uint64_t(Currency::Scale), &magnitude) ||
        __builtin_add_overflow(magnitude, frac + (roundUp ? 1 : 0), &magnitude))
        return Parse::Overflow;
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limit)
        return Parse::Overflow;
    out = negative ? std::int64_t(std::uint64_t(0) - magnitude) : std::int64_t(magnitude);
    return Parse::Ok;
}

} // namespace

Currency toCurrency(const QString &text, const QLocale &locale)
{
    std::int64_t scaled = 0;
    switch (parseAmount(text, locale, scaled)) {
    case Parse::Ok: return Currency::fromScaled(scaled);
    case Parse::Overflow:
        throw EngineError(errnum::Overflow,
                          QStringLiteral("'%1' is too large a currency amount.").arg(text.trimmed()));
    case Parse::NotAmount: break;
    }
    throw EngineError(errnum::TypeConversion,
                      QStringLiteral("'%1' is not a currency amount.").arg(text.trimmed()));
}

std::optional<Currency> tryCurrency(const QString &text, const QLocale &locale)
{
    std::int64_t scaled = 0;
    if (parseAmount(text, locale, scaled) == Parse::Ok)
        return Currency::fromScaled(scaled);
    return std::nullopt;
}

bool isNumericText(const QString &text, const QLocale &locale)
{
    std::int64_t scaled = 0;
    return parseAmount(text, locale, scaled) != Parse::NotAmount;
}

} // namespace platform
