#pragma once

#include "platform/recordset.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace platform {

namespace detail {
class Connection;
}

enum class ExecuteOption { None, FailOnError };

// An open database file. A copyable handle: copies share one connection,
// which stays alive while any handle or recordset still uses it.
class Database
{
public:
    Database() = default;

    // Shared read-write open of an existing file; a missing file is never
    // created. Foreign keys are on and every commit is synced to disk
    // (synchronous EXTRA) for every connection.
    static Database open(const QString &path);
    // The same without ever writing: the engine refuses every change.
    static Database openReadOnly(const QString &path);
    // Reads the file's bytes as they lie, leaving any journal or log beside
    // it alone, so a file can be judged before it is really opened.
    static Database openAsItLies(const QString &path);
    // Creates a new, empty database file; fails with DatabaseExists (and
    // leaves the file alone) when anything exists at the path.
    static Database create(const QString &path);

    bool isOpen() const;
    bool isReadOnly() const;
    QString path() const;
    void close();

    // Rollback journal: every commit lands in the one file, so copying the
    // file copies every committed change. May write the file (when it used
    // another journal mode), so call it only once the file is known to be
    // ours.
    void useDurableJournal();

    // sqlOrTable: an SQL SELECT (with "?" placeholders filled from params) or,
    // for RecordsetType::Table, a bare table name.
    std::unique_ptr<Recordset> openRecordset(const QString &sqlOrTable,
                                             RecordsetType type = RecordsetType::Dynaset,
                                             const QVariantList &params = {},
                                             RecordsetOption option = RecordsetOption::None);

    // Runs one statement with bound params. With FailOnError a failure leaves
    // the database as it was before the statement and raises EngineError.
    void execute(const QString &sql, ExecuteOption option = ExecuteOption::FailOnError,
                 const QVariantList &params = {});
    int recordsAffected() const;

    // Small typed reads used by schema checks and tests.
    QVariant scalar(const QString &sql, const QVariantList &params = {});

    void beginTrans();
    void commitTrans();
    void rollback();
    bool inTransaction() const;

    std::shared_ptr<detail::Connection> connection() const { return m_conn; }
    static Database fromConnection(std::shared_ptr<detail::Connection> conn)
    {
        return Database(std::move(conn));
    }

private:
    explicit Database(std::shared_ptr<detail::Connection> conn);
    std::shared_ptr<detail::Connection> m_conn;
};

// Rolls back unless commit() was reached: put one at the top of every change
// that spans several statements.
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace platform
