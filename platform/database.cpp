#include "platform/database.h"

#include "platform/recordsetimpl.h"
#include "platform/sqliteconnection.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {

using detail::Connection;
using detail::raise;

Database::Database(std::shared_ptr<Connection> conn)
    : m_conn(std::move(conn))
{}

namespace {
Connection &live(const std::shared_ptr<Connection> &conn)
{
    if (!conn || !conn->isOpen())
        raise(errnum::ObjectClosed, QStringLiteral("The database is not open."));
    return *conn;
}

// The table a changing statement names, for the error text.
QString targetTable(const QString &sql)
{
    static const QRegularExpression re(
        QStringLiteral(
            "^\\s*(?:INSERT|REPLACE|UPDATE|DELETE)\\b(?:\\s+OR\\s+\\w+)?(?:\\s+INTO|\\s+FROM)?\\s+\"?(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(sql).captured(1);
}
} // namespace

namespace {
std::shared_ptr<Connection> connect(const QString &path, Connection::Mode mode)
{
    const QFileInfo info(path);
    if (!info.exists())
        raise(errnum::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (!info.isFile())
        raise(errnum::NotACollection, QStringLiteral("'%1' is not a file.").arg(path));
    return std::make_shared<Connection>(path, mode);
}
} // namespace

Database Database::open(const QString &path)
{
    return Database(connect(path, Connection::Mode::ReadWrite));
}

Database Database::openReadOnly(const QString &path)
{
    return Database(connect(path, Connection::Mode::ReadOnly));
}

Database Database::openAsItLies(const QString &path)
{
    return Database(connect(path, Connection::Mode::AsItLies));
}

Database Database::create(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        raise(errnum::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
    // Claiming the name with an exclusive create means a file that appears
    // meanwhile is still never overwritten.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path))
            raise(errnum::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
        raise(errnum::Generic,
              QStringLiteral("The file '%1' could not be created: %2").arg(path, file.errorString()));
    }
    file.close();
    try {
        Database db(std::make_shared<Connection>(path));
        db.useDurableJournal();
        return db;
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

bool Database::isOpen() const
{
    return m_conn && m_conn->isOpen();
}

bool Database::isReadOnly() const
{
    return m_conn && m_conn->isReadOnly();
}

QString Database::path() const
{
    return m_conn ? m_conn->path() : QString();
}

void Database::close()
{
    if (m_conn)
        m_conn->close();
}

void Database::useDurableJournal()
{
    Connection &conn = live(m_conn);
    conn.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
}

std::unique_ptr<Recordset> Database::openRecordset(const QString &sqlOrTable, RecordsetType type,
                                                   const QVariantList &params, RecordsetOption option)
{
    live(m_conn);
    return std::unique_ptr<Recordset>(
        new Recordset(detail::openRecordsetImpl(m_conn, sqlOrTable, type, params, option)));
}

void Database::execute(const QString &sql, ExecuteOption option, const QVariantList &params)
{
    // Both options keep a failing statement from changing anything: a
    // half-applied bulk change is never what the user wants.
    Q_UNUSED(option);
    Connection &conn = live(m_conn);
    detail::Statement stmt = conn.prepare(sql);
    detail::bindAll(stmt.get(), params);
    conn.exec(QStringLiteral("SAVEPOINT pk_execute"));
    try {
        conn.run(stmt.get(), targetTable(sql), params);
    } catch (const EngineError &) {
        conn.execQuietly("ROLLBACK TO pk_execute; RELEASE pk_execute");
        throw;
    }
    conn.recordsAffected = sqlite3_changes(conn.handle());
    conn.exec(QStringLiteral("RELEASE pk_execute"));
}

int Database::recordsAffected() const
{
    return live(m_conn).recordsAffected;
}

QVariant Database::scalar(const QString &sql, const QVariantList &params)
{
    return live(m_conn).scalar(sql, params);
}

void Database::beginTrans()
{
    Connection &conn = live(m_conn);
    conn.exec(QStringLiteral("SAVEPOINT pk_trans"));
    ++conn.transactionDepth;
}

void Database::commitTrans()
{
    Connection &conn = live(m_conn);
    if (conn.transactionDepth == 0)
        raise(errnum::NoTransaction,
              QStringLiteral("You tried to commit or roll back without first beginning a transaction."));
    conn.exec(QStringLiteral("RELEASE pk_trans"));
    --conn.transactionDepth;
}

void Database::rollback()
{
    Connection &conn = live(m_conn);
    if (conn.transactionDepth == 0)
        raise(errnum::NoTransaction,
              QStringLiteral("You tried to commit or roll back without first beginning a transaction."));
    --conn.transactionDepth;
    conn.execQuietly("ROLLBACK TO pk_trans; RELEASE pk_trans");
}

bool Database::inTransaction() const
{
    return isOpen() && m_conn->transactionDepth > 0;
}

Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.beginTrans();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        if (m_db.inTransaction())
            m_db.rollback();
    } catch (const EngineError &) {
        // The connection rolls back whatever is left when it closes.
    }
}

void Transaction::commit()
{
    m_db.commitTrans();
    m_done = true;
}

} // namespace platform
