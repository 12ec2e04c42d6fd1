#include "platform/workspace.h"

#include "platform/sqliteconnection.h"

#include <algorithm>

namespace platform {

Workspace &Workspace::defaultWorkspace()
{
    static Workspace ws;
    return ws;
}

Database Workspace::openDatabase(const QString &path, bool readOnly)
{
    Database db = readOnly ? Database::openReadOnly(path) : Database::open(path);
    remember(db);
    return db;
}

Database Workspace::createDatabase(const QString &path)
{
    Database db = Database::create(path);
    remember(db);
    return db;
}

void Workspace::remember(const Database &db)
{
    std::erase_if(m_opened, [](const std::weak_ptr<detail::Connection> &w) {
        const auto c = w.lock();
        return !c || !c->isOpen();
    });
    m_opened.push_back(db.connection());
}

std::vector<Database> Workspace::openDatabases() const
{
    std::vector<Database> dbs;
    for (const auto &w : m_opened) {
        if (const auto c = w.lock(); c && c->isOpen())
            dbs.push_back(Database::fromConnection(c));
    }
    return dbs;
}

void Workspace::beginTrans()
{
    std::vector<Database> dbs = openDatabases();
    std::vector<Database> begun;
    try {
        for (Database &db : dbs) {
            db.beginTrans();
            begun.push_back(db);
        }
    } catch (...) {
        for (Database &db : begun)
            db.rollback();
        throw;
    }
    m_levels.push_back(dbs);
}

std::vector<Database> Workspace::popLevel()
{
    if (m_levels.empty())
        detail::raise(
            errnum::NoTransaction,
            QStringLiteral("You tried to commit or roll back without first beginning a transaction."));
    std::vector<Database> dbs = std::move(m_levels.back());
    m_levels.pop_back();
    return dbs;
}

void Workspace::commitTrans()
{
    for (Database &db : popLevel()) {
        if (db.isOpen())
            db.commitTrans();
    }
}

void Workspace::rollback()
{
    for (Database &db : popLevel()) {
        if (db.isOpen())
            db.rollback();
    }
}

} // namespace platform
