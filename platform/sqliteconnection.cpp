#include "platform/sqliteconnection.h"

#include "platform/currency.h"
#include "platform/nameorder.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <cmath>
#include <limits>

namespace platform::detail {

ColumnKind kindFromDeclType(const char *declType)
{
    if (!declType)
        return ColumnKind::Other;
    const QByteArray t = QByteArray(declType).toUpper();
    if (t.contains("CURRENCY") || t.contains("MONEY"))
        return ColumnKind::Currency;
    if (t.contains("INT"))
        return ColumnKind::Integer;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB") || t.contains("MEMO"))
        return ColumnKind::Text;
    return ColumnKind::Other;
}

namespace {
QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
}

QVariant wholeNumber(sqlite3_int64 v)
{
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
        return int(v);
    return qlonglong(v);
}
} // namespace

QVariant columnValue(sqlite3_stmt *stmt, int column, ColumnKind kind)
{
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL)
        return {};
    switch (kind) {
    case ColumnKind::Currency:
        if (type == SQLITE_FLOAT)
            return QVariant::fromValue(
                Currency::fromScaled(std::llround(sqlite3_column_double(stmt, column) * Currency::Scale)));
        return QVariant::fromValue(Currency::fromScaled(sqlite3_column_int64(stmt, column)));
    case ColumnKind::Integer:
        if (type == SQLITE_INTEGER)
            return wholeNumber(sqlite3_column_int64(stmt, column));
        break;
    case ColumnKind::Text: return columnText(stmt, column);
    case ColumnKind::Other: break;
    }
    switch (type) {
    case SQLITE_INTEGER: return wholeNumber(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: return sqlite3_column_double(stmt, column);
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, column)),
                          sqlite3_column_bytes(stmt, column));
    default: return columnText(stmt, column);
    }
}

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt, index);
    } else if (value.metaType() == QMetaType::fromType<Currency>()) {
        rc = sqlite3_bind_int64(stmt, index, value.value<Currency>().scaled());
    } else {
        switch (value.metaType().id()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar: rc = sqlite3_bind_int64(stmt, index, value.toLongLong()); break;
        case QMetaType::ULong:
        case QMetaType::ULongLong: rc = sqlite3_bind_int64(stmt, index, qint64(value.toULongLong())); break;
        case QMetaType::Double:
        case QMetaType::Float: rc = sqlite3_bind_double(stmt, index, value.toDouble()); break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob64(stmt, index, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate: {
            const QByteArray t = value.toDate().toString(Qt::ISODate).toUtf8();
            rc = sqlite3_bind_text64(stmt, index, t.constData(), sqlite3_uint64(t.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text64(stmt, index, t.constData(), sqlite3_uint64(t.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        }
    }
    if (rc == SQLITE_RANGE)
        raise(errnum::Generic, QStringLiteral("The statement has fewer parameters than values given."));
    if (rc != SQLITE_OK)
        raise(errnum::Generic, QStringLiteral("A value could not be passed to the engine (%1).")
                                   .arg(QString::fromUtf8(sqlite3_errstr(rc))));
}

void bindAll(sqlite3_stmt *stmt, const QVariantList &params)
{
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size())
        raise(errnum::Generic, QStringLiteral("The statement expects %1 parameter values but was given %2.")
                                   .arg(expected)
                                   .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        bindValue(stmt, i + 1, params.at(i));
}

QString quoteIdentifier(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

void raise(int number, const QString &text)
{
    throw EngineError(number, text);
}

// ---------------------------------------------------------------- Statement

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_conn(other.m_conn)
    , m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_conn = other.m_conn;
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

namespace {
bool stepOrRaise(Connection *conn, sqlite3_stmt *stmt, const ErrorContext &context)
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    conn->fail(rc, context);
}
} // namespace

bool Statement::step(const ErrorContext &context)
{
    return stepOrRaise(m_conn, m_stmt, context);
}

CachedStatement::~CachedStatement()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool CachedStatement::step(const ErrorContext &context)
{
    return stepOrRaise(m_conn, m_stmt, context);
}

// --------------------------------------------------------------- Connection

Connection::Connection(const QString &path, Mode mode)
    : m_path(path)
{
    QByteArray file = QFileInfo(path).absoluteFilePath().toUtf8();
    int flags = mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (mode == Mode::AsItLies) {
        file = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    const int rc = sqlite3_open_v2(file.constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const EngineError error = engineError(this, rc);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw error;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    // A file from elsewhere must not run its own SQL functions or rewrite
    // its schema behind our back.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
    registerNameOrder(m_db);
    try {
        // Sets the connection only, nothing is written; it does read the
        // schema, so a damaged file already fails here. EXTRA rather than
        // FULL: with a rollback journal, FULL leaves the journal's removal
        // (the commit itself) unsynced, so a power cut right after a commit
        // could roll that commit back.
        exec(QStringLiteral("PRAGMA synchronous = EXTRA"));
    } catch (...) {
        close();
        throw;
    }
}

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    if (!m_db)
        return;
    for (sqlite3_stmt *stmt : std::as_const(m_cache))
        sqlite3_finalize(stmt);
    m_cache.clear();
    // An open transaction is rolled back by the engine.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    transactionDepth = 0;
}

sqlite3 *Connection::handle() const
{
    if (!m_db)
        raise(errnum::ObjectClosed, QStringLiteral("The database '%1' is closed.").arg(m_path));
    return m_db;
}

Statement Connection::prepare(const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(handle(), text.constData(), int(text.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        fail(rc);
    Statement result(this, stmt);
    if (!stmt)
        raise(errnum::Generic, QStringLiteral("The SQL text holds no statement."));
    for (; tail && *tail; ++tail) {
        if (*tail != ';' && !QChar::isSpace(uchar(*tail)))
            raise(errnum::Generic, QStringLiteral("Characters found after end of SQL statement."));
    }
    return result;
}

CachedStatement Connection::cached(const QString &sql)
{
    sqlite3_stmt *stmt = m_cache.value(sql);
    if (!stmt) {
        stmt = prepare(sql).release();
        m_cache.insert(sql, stmt);
    }
    return CachedStatement(this, stmt);
}

void Connection::exec(const QString &sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        fail(rc);
}

void Connection::execQuietly(const char *sql) noexcept
{
    if (m_db)
        sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    // Undone rows are not counted as changes by the engine.
    ++m_undos;
}

QVariant Connection::scalar(const QString &sql, const QVariantList &params)
{
    Statement stmt = prepare(sql);
    bindAll(stmt.get(), params);
    if (!stmt.step())
        return {};
    return columnValue(stmt.get(), 0, kindFromDeclType(sqlite3_column_decltype(stmt.get(), 0)));
}

std::int64_t Connection::changeCounter() const
{
    return m_db ? std::int64_t(sqlite3_total_changes64(m_db)) + m_undos : 0;
}

void Connection::run(sqlite3_stmt *stmt, const QString &table, const QVariantList &params)
{
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE)
        return;
    if (rc != SQLITE_CONSTRAINT_FOREIGNKEY)
        fail(rc, ErrorContext{ErrorContext::Op::Other, table});
    sqlite3_reset(stmt);
    const ErrorContext context = explainForeignKey(QString::fromUtf8(sqlite3_sql(stmt)), table, params);
    fail(SQLITE_CONSTRAINT_FOREIGNKEY, context);
}

QStringList Connection::foreignKeyViolations()
{
    QStringList rows;
    Statement check = prepare(QStringLiteral("PRAGMA foreign_key_check"));
    while (check.step())
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(columnValue(check.get(), 0, ColumnKind::Text).toString(),
                         columnValue(check.get(), 1, ColumnKind::Other).toString(),
                         columnValue(check.get(), 2, ColumnKind::Text).toString(),
                         columnValue(check.get(), 3, ColumnKind::Other).toString());
    return rows;
}

// Runs the statement once more with relationship checks deferred, looks at
// which rows it would break, and undoes it. A broken row in the changed
// table lacks its related row; a broken row elsewhere depended on a row the
// statement removed or re-keyed.
ErrorContext Connection::explainForeignKey(const QString &sql, const QString &table,
                                           const QVariantList &params)
{
    ErrorContext context{ErrorContext::Op::Insert, QString()};
    try {
        const QStringList before = foreignKeyViolations();
        exec(QStringLiteral("SAVEPOINT pk_explain"));
        exec(QStringLiteral("PRAGMA defer_foreign_keys = ON"));
        int rc = SQLITE_ROW;
        {
            // Prepared afresh, so it is compiled with the checks deferred.
            Statement again = prepare(sql);
            bindAll(again.get(), params);
            while (rc == SQLITE_ROW)
                rc = sqlite3_step(again.get());
        }
        if (rc == SQLITE_DONE) {
            for (const QString &row : foreignKeyViolations()) {
                if (before.contains(row))
                    continue;
                const QString child = row.section(QLatin1Char('|'), 0, 0);
                if (QString::compare(child, table, Qt::CaseInsensitive) == 0) {
                    context.table = row.section(QLatin1Char('|'), 2, 2);
                } else {
                    context.op = ErrorContext::Op::Delete;
                    context.table = child;
                }
                break;
            }
        }
    } catch (const EngineError &) {
        // Explaining is a courtesy; the failure itself is reported anyway.
    }
    execQuietly("ROLLBACK TO pk_explain; RELEASE pk_explain; PRAGMA defer_foreign_keys = OFF");
    return context;
}

void Connection::fail(int rc, const ErrorContext &context)
{
    throw engineError(this, rc, context);
}

// ------------------------------------------------------------ error mapping

namespace {
EngineError checkFailure(const QString &message)
{
    // Our CHECK constraints are named "Table.Column:rule" so the failure
    // can say which column broke which rule.
    static const QRegularExpression re(
        QStringLiteral("CHECK constraint failed: \"?([^:\"]+):([a-z]+)(\\d*)\"?"));
    const QRegularExpressionMatch m = re.match(message);
    if (!m.hasMatch())
        return EngineError(
            errnum::ValidationRule,
            QStringLiteral("One or more values are prohibited by a validation rule (%1).").arg(message));
    const QString column = m.captured(1);
    const QString rule = m.captured(2);
    if (rule == QLatin1String("nonempty"))
        return EngineError(errnum::ZeroLength,
                           QStringLiteral("Field '%1' cannot be a zero-length string.").arg(column));
    if (rule == QLatin1String("maxlen"))
        return EngineError(
            errnum::TooLong,
            QStringLiteral("The field '%1' is too long (at most %2 characters).").arg(column, m.captured(3)));
    if (rule == QLatin1String("integer"))
        return EngineError(
            errnum::ValidationRule,
            QStringLiteral("The field '%1' must hold a whole number from -32768 to 32767.").arg(column));
    if (rule == QLatin1String("currency"))
        return EngineError(errnum::ValidationRule,
                           QStringLiteral("The field '%1' must hold a currency amount.").arg(column));
    return EngineError(
        errnum::ValidationRule,
        QStringLiteral("The value of field '%1' is prohibited by a validation rule.").arg(column));
}

EngineError constraintFailure(int rc, const QString &message, const ErrorContext &context)
{
    const QString detail = message.section(QLatin1Char(':'), 1).trimmed();
    switch (rc) {
    case SQLITE_CONSTRAINT_NOTNULL:
        return EngineError(errnum::FieldRequired,
                           QStringLiteral("Field '%1' cannot contain a Null value because a "
                                          "value is required. Enter a value in this field.")
                               .arg(detail));
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE: {
        const QStringList parts = detail.split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QString table =
            parts.isEmpty() ? context.table : parts.first().trimmed().section(QLatin1Char('.'), 0, 0);
        QStringList columns;
        for (const QString &p : parts)
            columns << p.trimmed().section(QLatin1Char('.'), 1);
        return EngineError(
            errnum::DuplicateKey,
            QStringLiteral("The changes to table '%1' were not made because they would create a "
                           "duplicate value in its key (%2).")
                .arg(table, columns.join(QStringLiteral(", "))));
    }
    case SQLITE_CONSTRAINT_CHECK: return checkFailure(message);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        if (context.op == ErrorContext::Op::Delete)
            return EngineError(
                errnum::RelatedRecordExists,
                context.table.isEmpty()
                    ? QStringLiteral("The record cannot be deleted or changed because another table "
                                     "includes related records.")
                    : QStringLiteral("The record cannot be deleted or changed because table '%1' "
                                     "includes related records.")
                          .arg(context.table));
        return EngineError(
            errnum::RelatedRecordRequired,
            context.table.isEmpty()
                ? QStringLiteral("You cannot add or change a record because a related record is "
                                 "required in another table.")
                : QStringLiteral("You cannot add or change a record because a related record is "
                                 "required in table '%1'.")
                      .arg(context.table));
    default: break;
    }
    return EngineError(errnum::ValidationRule,
                       QStringLiteral("The change breaks a rule of the database: %1.").arg(message));
}
} // namespace

EngineError engineError(Connection *conn, int rc, const ErrorContext &context)
{
    sqlite3 *db = conn && conn->isOpen() ? conn->handle() : nullptr;
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    const QString path = conn ? conn->path() : QString();
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT: return constraintFailure(rc, message, context);
    case SQLITE_NOTADB:
        return EngineError(errnum::NotACollection,
                           QStringLiteral("The file '%1' is not a collection file.").arg(path));
    case SQLITE_CORRUPT:
        return EngineError(errnum::NotACollection,
                           QStringLiteral("The collection file '%1' is damaged.").arg(path));
    case SQLITE_CANTOPEN:
        if (!QFileInfo::exists(path))
            return EngineError(errnum::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
        return EngineError(errnum::Generic, QStringLiteral("The file '%1' could not be opened.").arg(path));
    case SQLITE_MISMATCH: return EngineError(errnum::TypeConversion, QStringLiteral("Data type mismatch."));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError(
            errnum::Generic,
            QStringLiteral("The collection file '%1' is in use by another program.").arg(path));
    case SQLITE_READONLY:
        return EngineError(
            errnum::ReadOnly,
            QStringLiteral("The collection '%1' is open read-only; nothing can be changed.").arg(path));
    case SQLITE_FULL: return EngineError(errnum::Generic, QStringLiteral("The disk is full."));
    case SQLITE_IOERR:
        return EngineError(errnum::Generic,
                           QStringLiteral("A disk error occurred while reading or writing '%1'.").arg(path));
    default: break;
    }
    return EngineError(errnum::Generic, message);
}

} // namespace platform::detail
