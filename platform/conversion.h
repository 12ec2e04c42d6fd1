#pragma once

#include "platform/currency.h"

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

// Every conversion of a typed text into a column value happens here, so the
// screens and the engine agree on what counts as a number.
namespace platform {

// A whole number typed by the user ("12", " -3 ") as a 16-bit Integer.
// Throws EngineError TypeConversion for text that is not a whole number and
// Overflow for one outside -32768..32767.
std::int16_t toInteger16(const QString &text);

// A currency text in the user's locale ("$1,250.50", "1.5", "(2.00)") as
// Currency, rounded to four decimals. Throws EngineError TypeConversion for text
// that is not an amount and Overflow for one beyond the 64-bit range.
Currency toCurrency(const QString &text, const QLocale &locale = QLocale());
std::optional<Currency> tryCurrency(const QString &text, const QLocale &locale = QLocale());

// True when the text reads as a number, currency symbol and digit grouping
// allowed (what a cover price box accepts).
bool isNumericText(const QString &text, const QLocale &locale = QLocale());

} // namespace platform
