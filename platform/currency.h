#pragma once

#include <QLocale>
#include <QMetaType>
#include <QString>
#include <compare>
#include <cstdint>

namespace platform {

// A money amount: a 64-bit integer count of ten-thousandths.
class Currency
{
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromScaled(std::int64_t scaled) { return Currency(scaled); }
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units * Scale); }

    constexpr std::int64_t scaled() const { return m_scaled; }
    double toDouble() const { return double(m_scaled) / double(Scale); }

    constexpr auto operator<=>(const Currency &) const = default;

private:
    constexpr explicit Currency(std::int64_t scaled)
        : m_scaled(scaled)
    {}
    std::int64_t m_scaled = 0;
};

// The locale whose currency format the program shows: the user's, or en_US
// when the user's locale has none (C/POSIX).
QLocale currencyLocale(const QLocale &locale = QLocale());

// The amount as a plain number for other programs: "-" when negative, "."
// before the decimals, no grouping and no symbol; two decimals, or up to four
// when the amount holds them, so nothing is rounded away.
QString plainDecimal(Currency amount);
// The same written at `out`, which has room for PlainDecimalSize characters;
// returns the number written.
inline constexpr int PlainDecimalSize = 24;
int plainDecimal(std::int64_t scaled, char *out);

// The named format "Currency": symbol, digit grouping and two decimals,
// negative amounts as the locale writes them.
QString formatCurrency(Currency amount, const QLocale &locale = QLocale());

// The same format with the locale's pieces worked out once, for writing
// many amounts (a grid of values).
class CurrencyFormat
{
public:
    explicit CurrencyFormat(const QLocale &locale = QLocale());
    QString format(Currency amount) const;

private:
    QLocale m_locale;
    QString m_decimalPoint;
    QString m_zero;     // may lie outside 16-bit characters
    QString m_positive; // a one-unit amount: the symbol's place and spacing
    QString m_negative;
    QString m_unit; // the digits in those two, replaced by the amount's
};

} // namespace platform

Q_DECLARE_METATYPE(platform::Currency)
