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

    Database openDatabase(const QString &path, bool readOnly = false);
    Database createDatabase(const QString &path);

    void beginTrans();
    void commitTrans();
    void rollback();

    // The databases it opened that are still open.
    std::vector<Database> openDatabases() const;

private:
    Workspace() = default;
    void remember(const Database &db);
    // Ends the innermost beginTrans level, giving the databases it covered.
    std::vector<Database> popLevel();
    std::vector<std::weak_ptr<detail::Connection>> m_opened;
    // Per beginTrans level, the databases it began a transaction on.
    std::vector<std::vector<Database>> m_levels;
};

} // namespace platform
