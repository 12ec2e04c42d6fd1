// Currency and integer conversion: never crash; an amount read back from its
// shown form is the amount rounded to cents.
#include "fuzztarget.h"

#include "platform/conversion.h"
#include "platform/currency.h"
#include "platform/engineerror.h"

#include <QLocale>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<QLocale> locales{QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("de_DE")),
                                        QLocale(QStringLiteral("fa_IR")), QLocale(QStringLiteral("ccp_BD")),
                                        QLocale(QStringLiteral("en_IN"))};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const int v = platform::toInteger16(text);
        FUZZ_CHECK(v >= -32768 && v <= 32767);
    } catch (const platform::EngineError &) {
    }
    for (const QLocale &loc : locales) {
        const auto amount = platform::tryCurrency(text, loc);
        if (!amount)
            continue;
        const qint64 scaled = amount->scaled();
        const qint64 cents = scaled / 100 + (scaled % 100 >= 50 ? 1 : 0) - (scaled % 100 <= -50 ? 1 : 0);
        if (cents > INT64_MAX / 100 || cents < INT64_MIN / 100)
            continue;
        const auto back = platform::tryCurrency(platform::formatCurrency(*amount, loc), loc);
        FUZZ_CHECK(back && back->scaled() == cents * 100);
    }
    return 0;
}
