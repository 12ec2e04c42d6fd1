#include "platform/currency.h"

#include <cstdint>

namespace platform {

QLocale currencyLocale(const QLocale &locale)
{
    if (locale.language() == QLocale::C || locale.currencySymbol().isEmpty())
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
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
