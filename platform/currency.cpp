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
    const QLocale loc = currencyLocale(locale);
    const std::int64_t scaled = amount.scaled();
    const bool negative = scaled < 0;
    // Unsigned, so the most negative amount has a magnitude too; rounded
    // half away from zero to whole cents.
    const std::uint64_t magnitude =
        negative ? std::uint64_t(0) - std::uint64_t(scaled) : std::uint64_t(scaled);
    const std::uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    // The zero digit is padded as a whole: in some locales it lies outside
    // 16-bit characters.
    const QString number = loc.toString(qulonglong(cents / 100)) + loc.decimalPoint() +
                           (cents % 100 < 10 ? loc.zeroDigit() : QString()) +
                           loc.toString(qulonglong(cents % 100));
    // The locale's own pattern (symbol place, spacing, negative form),
    // taken from a one-unit amount whose digits are replaced by ours.
    const QString pattern = loc.toCurrencyString(negative && cents ? -1.0 : 1.0, loc.currencySymbol(), 2);
    QString text = pattern;
    text.replace(loc.toString(1.0, 'f', 2), number);
    return text;
}

} // namespace platform
