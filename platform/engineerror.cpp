#include "platform/engineerror.h"

namespace platform {

EngineError::EngineError(int number, const QString &text)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(text).toStdString())
    , m_number(number)
    , m_text(text)
{
}

} // namespace platform
