// The report selection formula: any text either compiles or is refused with
// the place it goes wrong; a compiled condition holds no constant of its own
// (every one is a bound value, one per "?").
#include "fuzztarget.h"

#include "platform/engineerror.h"
#include "platform/reportformula.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const platform::CompiledFormula f = platform::compileFormula(text);
        FUZZ_CHECK(f.sql.count(QLatin1Char('?')) == f.values.size());
        FUZZ_CHECK(!f.sql.contains(QLatin1Char('\'')));
        FUZZ_CHECK(!f.sql.contains(QLatin1Char(';')));
    } catch (const platform::EngineError &e) {
        FUZZ_CHECK(e.number() != 20000 && !e.text().isEmpty());
    }
    return 0;
}
