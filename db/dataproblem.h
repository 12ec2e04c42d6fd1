#pragma once

#include <QString>

namespace platform {
class EngineError;
}

namespace db {

// Tells the user what could not be done and the engine's reason: "Data
// Error", OK, critical icon. The text reads what + blank line + reason.
void showDataProblem(const QString &what, const platform::EngineError &error);

} // namespace db
