#include "platform/currency.h"

#include <charconv>
#include <cstdint>

namespace platform {

QLocale currencyLocale(const QLocale &locale)
{
    if (locale.language() == QLocale::C || locale.currencySymbol().isEmpty())
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

int plainDecimal(std::int64_t scaled, char *out)
{
    // Unsigned, so the most negative amount has a magnitude too.
    const std::uint64_t magnitude =
        scaled < 0 ? std::uint64_t(0) - std::uint64_t(scaled) : std::uint64_t(scaled);
    char *p = out;
    if (scaled < 0)
        *p++ = '-';
    p = std::to_chars(p, out + PlainDecimalSize, magnitude / std::uint64_t(Currency::Scale)).ptr;
    *p++ = '.';
    std::uint64_t fraction = magnitude % std::uint64_t(Currency::Scale);
    for (std::uint64_t unit = std::uint64_t(Currency::Scale) / 10; unit; unit /= 10) {
        *p++ = char('0' + fraction / unit);
        fraction %= unit;
    }
    // Zeros beyond the cents say nothing.
    for (int kept = 4; kept > 2 && p[-1] == '0'; --kept)
        --p;
    return int(p - out);
}

QString plainDecimal(Currency amount)
{
    char text[PlainDecimalSize];
    return QString::fromLatin1(text, plainDecimal(amount.scaled(), text));
}

QString formatCurrency(Currency amount, const QLocale &locale)
{
    return CurrencyFormat(locale).format(amount);
}

CurrencyFormat::CurrencyFormat(const QLocale &locale)
    : m_locale(currencyLocale(locale))
    , m_decimalPoint(m_locale.decimalPoint())
    , m_zero(m_locale.zeroDigit())
    // The locale's own pattern (symbol place, spacing, negative form), taken
    // from a one-unit amount whose digits are replaced by ours.
    , m_positive(m_locale.toCurrencyString(1.0, m_locale.currencySymbol(), 2))
    , m_negative(m_locale.toCurrencyString(-1.0, m_locale.currencySymbol(), 2))
    , m_unit(m_locale.toString(1.0, 'f', 2))
{}

QString CurrencyFormat::format(Currency amount) const
{
    const std::int64_t scaled = amount.scaled();
    const bool negative = scaled < 0;
    // Unsigned, so the most negative amount has a magnitude too; rounded
    // half away from zero to whole cents.
    const std::uint64_t magnitude =
        negative ? std::uint64_t(0) - std::uint64_t(scaled) : std::uint64_t(scaled);
    const std::uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    // The zero digit is padded as a whole: in some locales it lies outside
    // 16-bit characters.
    const QString number = m_locale.toString(qulonglong(cents / 100)) + m_decimalPoint +
                           (cents % 100 < 10 ? m_zero : QString()) +
                           m_locale.toString(qulonglong(cents % 100));
    QString text = negative && cents ? m_negative : m_positive;
    text.replace(m_unit, number);
    return text;
}

} // namespace platform
