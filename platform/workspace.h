#pragma once

#include "platform/database.h"

#include <QString>
#include <memory>
#include <vector>

namespace platform {

// The engine's default workspace: opens and creates databases and runs
// transactions across every database it opened that is still open.
class Workspace
{
public:
    static Workspace &defaultWorkspace();

    Database openDatabase(const QString &path);
    Database createDatabase(const QString &path);

    void beginTrans();
    void commitTrans();
    void rollback();

private:
    Workspace() = default;
    std::vector<std::weak_ptr<detail::Connection>> m_opened;
};

} // namespace platform
