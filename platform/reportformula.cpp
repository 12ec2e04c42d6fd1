#include "platform/reportformula.h"

#include "platform/engineerror.h"

namespace platform {

CompiledFormula compileFormula(const QString &text)
{
    if (!text.trimmed().isEmpty())
        throw EngineError(errnum::Generic, QStringLiteral("Selection formulas are not read yet."));
    return {QStringLiteral("1"), {}};
}

} // namespace platform
