#include "db/dataproblem.h"

#include "platform/engineerror.h"
#include "platform/messagebox.h"

namespace db {

void showDataProblem(const QString &what, const platform::EngineError &error)
{
    platform::showMessage(what + QStringLiteral("\n\n") + error.text(), QStringLiteral("Data Error"),
                          platform::MsgButtons::OK, platform::MsgIcon::Critical);
}

} // namespace db
