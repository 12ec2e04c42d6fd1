#pragma once

// Private to the engine (database.cpp, recordset.cpp, workspace.cpp) and the
// CSV export, which streams a result straight to its file: the one place
// that holds a sqlite3 handle.

#include "platform/engineerror.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <cstdint>
#include <memory>
#include <sqlite3.h>

namespace platform::detail {

// What a column holds, read from its declared type in the schema.
enum class ColumnKind { Other, Text, Integer, Currency };
ColumnKind kindFromDeclType(const char *declType);

// Turns a cell of the current result row into the program's value types.
QVariant columnValue(sqlite3_stmt *stmt, int column, ColumnKind kind);
// Binds one value (null QVariant, numbers, QString, Currency, QByteArray).
void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value);
void bindAll(sqlite3_stmt *stmt, const QVariantList &params);

// Identifier quoting for table and column names that come from the schema.
QString quoteIdentifier(const QString &name);

// What the failing statement was doing, so a constraint failure can name
// the tables involved.
struct ErrorContext
{
    enum class Op { Other, Insert, Delete };
    Op op = Op::Other;
    QString table;
};

class Connection;

// A prepared statement owned by the caller; finalized on destruction.
class Statement
{
public:
    Statement() = default;
    Statement(Connection *conn, sqlite3_stmt *stmt)
        : m_conn(conn)
        , m_stmt(stmt)
    {}
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *get() const { return m_stmt; }
    // Hands the statement over; the caller finalizes it.
    sqlite3_stmt *release()
    {
        sqlite3_stmt *s = m_stmt;
        m_stmt = nullptr;
        return s;
    }
    // SQLITE_ROW -> true, SQLITE_DONE -> false, anything else raises.
    bool step(const ErrorContext &context = {});

private:
    Connection *m_conn = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

// A statement from the connection's cache: reset and unbound when released.
class CachedStatement
{
public:
    CachedStatement(Connection *conn, sqlite3_stmt *stmt)
        : m_conn(conn)
        , m_stmt(stmt)
    {}
    ~CachedStatement();
    CachedStatement(const CachedStatement &) = delete;
    CachedStatement &operator=(const CachedStatement &) = delete;

    sqlite3_stmt *get() const { return m_stmt; }
    bool step(const ErrorContext &context = {});

private:
    Connection *m_conn;
    sqlite3_stmt *m_stmt;
};

class Connection
{
public:
    enum class Mode {
        ReadWrite,
        ReadOnly,
        // The main file's bytes exactly as they are: no locks, and a journal
        // or log beside it is neither read nor replayed.
        AsItLies,
    };
    // Opens an existing file (never creating it).
    explicit Connection(const QString &path, Mode mode = Mode::ReadWrite);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_path; }
    bool isOpen() const { return m_db != nullptr; }
    bool isReadOnly() const { return m_db && sqlite3_db_readonly(m_db, "main") == 1; }
    void close();
    sqlite3 *handle() const; // raises when closed

    Statement prepare(const QString &sql);
    // For statements run again and again (row fetches, inserts of a bulk fill).
    CachedStatement cached(const QString &sql);
    // Runs statements without parameters (pragmas, DDL, savepoints).
    void exec(const QString &sql);
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    // For undoing (rollbacks) after a failure or on request: an error here
    // must not hide the first one (the engine may already have rolled
    // everything back).
    void execQuietly(const char *sql) noexcept;

    // Steps a bound statement that changes rows to its end; `table` is the
    // table it changes, named in errors. A relationship failure is explained
    // by the rows it would have left without their related rows.
    void run(sqlite3_stmt *stmt, const QString &table, const QVariantList &params);

    // The error for the last failure on this connection.
    [[noreturn]] void fail(int rc, const ErrorContext &context = {});

    // Nesting of beginTrans; each level is a savepoint.
    int transactionDepth = 0;
    int recordsAffected = 0;
    // Moves whenever rows may differ from what was read through this
    // connection (a change, or a rollback undoing changes), so a recordset
    // knows when a row it holds may be stale.
    std::int64_t changeCounter() const;

private:
    ErrorContext explainForeignKey(const QString &sql, const QString &table, const QVariantList &params);
    QStringList foreignKeyViolations();

    QString m_path;
    sqlite3 *m_db = nullptr;
    QHash<QString, sqlite3_stmt *> m_cache;
    std::int64_t m_undos = 0;
};

// Maps an SQLite result code (and message) to the program's error.
EngineError engineError(Connection *conn, int rc, const ErrorContext &context = {});
[[noreturn]] void raise(int number, const QString &text);

} // namespace platform::detail
