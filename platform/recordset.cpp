#include "platform/recordset.h"

#include "platform/conversion.h"
#include "platform/recordsetimpl.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace platform::detail {

namespace {

[[noreturn]] void noCurrentRecord()
{
    raise(errnum::NoCurrentRecord, QStringLiteral("No current record."));
}

bool isWholeNumberType(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
    }
}

bool isCurrency(const QVariant &v)
{
    return v.metaType() == QMetaType::fromType<Currency>();
}

bool isFloating(const QVariant &v)
{
    return v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float;
}

QString currencyText(Currency c)
{
    const std::int64_t s = c.scaled();
    const bool negative = s < 0;
    // Work in unsigned so the most negative amount does not overflow.
    const std::uint64_t magnitude = negative ? std::uint64_t(0) - std::uint64_t(s) : std::uint64_t(s);
    QString text = QString::number(magnitude / Currency::Scale);
    const std::uint64_t frac = magnitude % Currency::Scale;
    if (frac) {
        QString digits = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

[[noreturn]] void overflow(const QString &column)
{
    raise(errnum::Overflow,
          QStringLiteral("Overflow: the value is out of range for field '%1'.").arg(column));
}

[[noreturn]] void conversionError(const QString &column)
{
    raise(errnum::TypeConversion,
          QStringLiteral("Data type conversion error: the value does not suit field '%1'.").arg(column));
}

// Converts what a caller hands to setValue into what the column stores.
QVariant convertForColumn(const Column &col, const QVariant &value)
{
    if (value.isNull())
        return {};
    const QString label = col.table.isEmpty() ? col.name : col.table + QLatin1Char('.') + col.origin;
    switch (col.kind) {
    case ColumnKind::Integer: {
        if (value.metaType().id() == QMetaType::QString)
            return int(toInteger16(value.toString()));
        qint64 v = 0;
        if (isWholeNumberType(value)) {
            if (value.metaType().id() == QMetaType::ULongLong && value.toULongLong() > quint64(INT64_MAX))
                overflow(label);
            v = value.toLongLong();
        } else if (isFloating(value)) {
            const double d = std::round(value.toDouble());
            if (!std::isfinite(d) || d < -32768.0 || d > 32767.0)
                overflow(label);
            v = qint64(d);
        } else {
            conversionError(label);
        }
        if (v < -32768 || v > 32767)
            overflow(label);
        return int(v);
    }
    case ColumnKind::Currency: {
        if (isCurrency(value))
            return value;
        if (value.metaType().id() == QMetaType::QString)
            return QVariant::fromValue(toCurrency(value.toString()));
        constexpr qint64 limit = std::numeric_limits<qint64>::max() / Currency::Scale;
        if (isWholeNumberType(value)) {
            if (value.metaType().id() == QMetaType::ULongLong && value.toULongLong() > quint64(limit))
                overflow(label);
            const qint64 v = value.toLongLong();
            if (v > limit || v < -limit)
                overflow(label);
            return QVariant::fromValue(Currency::fromUnits(v));
        }
        if (isFloating(value)) {
            const double d = std::round(value.toDouble() * Currency::Scale);
            if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
                overflow(label);
            return QVariant::fromValue(Currency::fromScaled(std::int64_t(d)));
        }
        conversionError(label);
    }
    case ColumnKind::Text:
        if (isCurrency(value))
            return currencyText(value.value<Currency>());
        if (value.metaType().id() == QMetaType::QByteArray)
            conversionError(label);
        return value.toString();
    case ColumnKind::Other: break;
    }
    return value;
}

// A whole number, a float or a Currency as a number comparable with others.
struct Number
{
    bool ok = false;
    bool whole = false;
    qint64 scaled = 0; // in ten-thousandths when whole
    double real = 0;
};

Number asNumber(const QVariant &v, ColumnKind kind)
{
    Number n;
    if (isCurrency(v)) {
        n.ok = n.whole = true;
        n.scaled = v.value<Currency>().scaled();
        n.real = v.value<Currency>().toDouble();
    } else if (isWholeNumberType(v)) {
        const qint64 x = v.toLongLong();
        n.ok = true;
        n.real = double(x);
        constexpr qint64 limit = std::numeric_limits<qint64>::max() / Currency::Scale;
        n.whole = x <= limit && x >= -limit;
        n.scaled = n.whole ? x * Currency::Scale : 0;
    } else if (isFloating(v)) {
        n.ok = true;
        n.real = v.toDouble();
    } else if (v.metaType().id() == QMetaType::QString) {
        if (kind == ColumnKind::Currency) {
            if (const auto c = tryCurrency(v.toString()))
                return asNumber(QVariant::fromValue(*c), kind);
        } else {
            bool ok = false;
            const qlonglong x = v.toString().trimmed().toLongLong(&ok);
            if (ok)
                return asNumber(QVariant(x), kind);
            const double d = v.toString().trimmed().toDouble(&ok);
            if (ok)
                return asNumber(QVariant(d), kind);
        }
    }
    return n;
}

bool valuesMatch(const QVariant &field, const QVariant &wanted, ColumnKind kind)
{
    if (wanted.isNull() || field.isNull())
        return wanted.isNull() && field.isNull();
    const bool fieldIsText = field.metaType().id() == QMetaType::QString;
    if (fieldIsText)
        return QString::compare(field.toString(),
                                isCurrency(wanted) ? currencyText(wanted.value<Currency>())
                                                   : wanted.toString(),
                                Qt::CaseInsensitive) == 0;
    const Number a = asNumber(field, kind);
    const Number b = asNumber(wanted, kind);
    if (!a.ok || !b.ok)
        return false;
    if (a.whole && b.whole)
        return a.scaled == b.scaled;
    return a.real == b.real;
}

} // namespace

// ----------------------------------------------------------- RecordsetImpl

int RecordsetImpl::fieldIndex(const QString &field) const
{
    for (size_t i = 0; i < cols.size(); ++i) {
        if (QString::compare(cols[i].name, field, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    const int dot = field.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) {
        const QString table = field.left(dot);
        const QString column = field.mid(dot + 1);
        for (size_t i = 0; i < cols.size(); ++i) {
            if (QString::compare(cols[i].table, table, Qt::CaseInsensitive) == 0 &&
                QString::compare(cols[i].origin, column, Qt::CaseInsensitive) == 0)
                return int(i);
        }
    }
    raise(errnum::ItemNotFound, QStringLiteral("Field '%1' is not in this recordset.").arg(field));
}

void RecordsetImpl::ensureOpen() const
{
    if (!open)
        raise(errnum::ObjectClosed, QStringLiteral("The recordset is closed."));
    // A copied recordset could still be read, but its rows belong to a
    // collection that is no longer open: every kind refuses alike.
    if (!conn->isOpen())
        raise(errnum::ObjectClosed, QStringLiteral("The database of this recordset is closed."));
}

void RecordsetImpl::ensureUpdatable() const
{
    if (!updatable)
        raise(errnum::ReadOnly, QStringLiteral("Cannot update. The recordset is read-only."));
}

bool RecordsetImpl::hasCurrent() const
{
    return !onDeleted && pos >= 0 && pos < count();
}

RowRef RecordsetImpl::rowAt(int index, bool forward)
{
    if (!keyset)
        return RowRef(&copied, size_t(keys[size_t(index)]));
    const std::int64_t stamp = conn->changeCounter();
    if (winStart < 0 || stamp != winStamp || index < winStart || index >= winStart + int(window.size())) {
        // Reading a window of rows per statement keeps scrolling and finds
        // from taking the file lock once per row.
        const int start = forward ? index : std::max(0, index - Window + 1);
        const int end = std::min(count(), start + Window);
        CachedStatement stmt = conn->cached(windowSql);
        for (int j = 0; j < Window; ++j)
            sqlite3_bind_int64(stmt.get(), j + 1, keys[size_t(std::min(start + j, end - 1))]);
        QHash<std::int64_t, std::vector<QVariant>> found;
        while (stmt.step()) {
            std::vector<QVariant> row(cols.size());
            for (size_t i = 0; i < cols.size(); ++i)
                row[i] = columnValue(stmt.get(), int(i) + 1, cols[i].kind);
            found.insert(sqlite3_column_int64(stmt.get(), 0), std::move(row));
        }
        window.assign(size_t(end - start), std::nullopt);
        for (int j = start; j < end; ++j) {
            const auto it = found.constFind(keys[size_t(j)]);
            if (it != found.cend())
                window[size_t(j - start)] = *it;
        }
        winStart = start;
        winStamp = stamp;
    }
    const auto &row = window[size_t(index - winStart)];
    return row ? RowRef(&*row) : RowRef();
}

void RecordsetImpl::settle(bool forward)
{
    // Rows deleted by other statements since the recordset was opened drop
    // out of it as the position reaches them.
    while (pos >= 0 && pos < count() && !rowAt(pos, forward)) {
        keys.erase(keys.begin() + pos);
        forgetRows();
        if (!forward)
            --pos;
    }
}

void RecordsetImpl::leaveEdit()
{
    mode = EditMode::None;
    buffer.clear();
    dirty.clear();
}

void RecordsetImpl::moveTo(int index, bool forward)
{
    leaveEdit();
    onDeleted = false;
    pos = std::clamp(index, -1, count());
    settle(forward);
}

bool RecordsetImpl::rowMatches(int index, const std::vector<std::pair<int, QVariant>> &wanted)
{
    const RowRef row = rowAt(index);
    if (!row)
        return false;
    return std::all_of(wanted.begin(), wanted.end(), [&](const auto &w) {
        return valuesMatch(row[size_t(w.first)], w.second, cols[size_t(w.first)].kind);
    });
}

void RecordsetImpl::find(const Criteria &criteria, int start)
{
    ensureOpen();
    std::vector<std::pair<int, QVariant>> wanted;
    for (const Criterion &c : criteria)
        wanted.emplace_back(fieldIndex(c.column), c.value);
    leaveEdit();
    for (int i = std::max(start, 0); i < count(); ++i) {
        if (rowMatches(i, wanted)) {
            pos = i;
            onDeleted = false;
            noMatch = false;
            return;
        }
    }
    // The position stays on the row that was current before the find.
    noMatch = true;
}

void RecordsetImpl::runChange(const QString &sql, const QVariantList &params)
{
    CachedStatement stmt = conn->cached(sql);
    bindAll(stmt.get(), params);
    conn->run(stmt.get(), table, params);
}

// ----------------------------------------------------------------- opening

namespace {

bool readsWholeRows(const QString &sql)
{
    static const QRegularExpression grouping(
        QStringLiteral("\\b(DISTINCT|DISTINCTROW|GROUP\\s+BY|HAVING|UNION|INTERSECT|EXCEPT|WINDOW|OVER)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return !grouping.match(sql).hasMatch();
}

std::vector<Column> describeColumns(sqlite3_stmt *stmt, int first)
{
    std::vector<Column> cols;
    const int n = sqlite3_column_count(stmt);
    for (int i = first; i < n; ++i) {
        Column c;
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char *origin = sqlite3_column_origin_name(stmt, i);
        const char *table = sqlite3_column_table_name(stmt, i);
        c.origin = origin ? QString::fromUtf8(origin) : QString();
        c.table = table ? QString::fromUtf8(table) : QString();
        c.kind = kindFromDeclType(sqlite3_column_decltype(stmt, i));
        cols.push_back(c);
    }
    return cols;
}

// The one table every column comes from, or an empty string.
QString singleTable(sqlite3_stmt *stmt)
{
    QString table;
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i) {
        const char *t = sqlite3_column_table_name(stmt, i);
        const char *schema = sqlite3_column_database_name(stmt, i);
        if (!t || !schema || qstrcmp(schema, "main") != 0)
            return {};
        const QString name = QString::fromUtf8(t);
        if (!table.isEmpty() && table != name)
            return {};
        table = name;
    }
    return table;
}

void materialize(RecordsetImpl &rs, const QString &sql, const QVariantList &params)
{
    Statement stmt = rs.conn->prepare(sql);
    bindAll(stmt.get(), params);
    rs.cols = describeColumns(stmt.get(), 0);
    std::vector<ColumnKind> kinds;
    for (const Column &c : rs.cols)
        kinds.push_back(c.kind);
    rs.copied.setKinds(kinds);
    while (stmt.step()) {
        rs.keys.push_back(std::int64_t(rs.copied.size()));
        rs.copied.append(stmt.get());
    }
}

// Remembers the rowids of the query's rows; values are read by rowid when
// the position reaches them, so the recordset sees later changes.
bool openKeyset(RecordsetImpl &rs, const QString &sql, const QVariantList &params, const QString &table)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s+(ALL\\s+)?"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = select.match(sql);
    if (!m.hasMatch())
        return false;
    const QString keyed = sql.left(m.capturedEnd()) + quoteIdentifier(table) +
                          QStringLiteral(".rowid AS pk_rowid__, ") + sql.mid(m.capturedEnd());
    Statement stmt;
    try {
        stmt = rs.conn->prepare(keyed);
    } catch (const EngineError &) {
        return false; // an alias or a table without rowid: read it as a copy instead
    }
    bindAll(stmt.get(), params);
    rs.cols = describeColumns(stmt.get(), 1);
    while (stmt.step())
        rs.keys.push_back(sqlite3_column_int64(stmt.get(), 0));
    QStringList names;
    for (const Column &c : rs.cols)
        names << quoteIdentifier(c.origin);
    rs.table = table;
    rs.keyset = true;
    rs.windowSql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                       .arg(names.join(QStringLiteral(", ")), quoteIdentifier(table),
                            QStringList(RecordsetImpl::Window, QStringLiteral("?")).join(QLatin1Char(',')));
    return true;
}

} // namespace

std::unique_ptr<RecordsetImpl> openRecordsetImpl(std::shared_ptr<Connection> conn, const QString &sqlOrTable,
                                                 RecordsetType type, const QVariantList &params,
                                                 RecordsetOption option)
{
    auto rs = std::make_unique<RecordsetImpl>();
    rs->conn = std::move(conn);
    rs->type = type;
    rs->conn->handle(); // raises when the database is closed

    QString sql = sqlOrTable;
    QString table;
    if (type == RecordsetType::Table) {
        const QVariant name = rs->conn->scalar(
            QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' AND name = ? COLLATE NOCASE"),
            {sqlOrTable.trimmed()});
        if (name.isNull())
            raise(errnum::ItemNotFound, QStringLiteral("The table '%1' does not exist.").arg(sqlOrTable));
        table = name.toString();
        sql = QStringLiteral("SELECT * FROM %1").arg(quoteIdentifier(table));
    } else if (type == RecordsetType::Dynaset && readsWholeRows(sql)) {
        Statement probe = rs->conn->prepare(sql);
        table = singleTable(probe.get());
    }

    if (type != RecordsetType::Snapshot && !table.isEmpty() && openKeyset(*rs, sql, params, table)) {
        rs->updatable = option != RecordsetOption::ReadOnly;
    } else {
        if (type == RecordsetType::Table)
            raise(errnum::Generic, QStringLiteral("The table '%1' cannot be opened for update.").arg(table));
        materialize(*rs, sql, params);
    }
    rs->pos = rs->keys.empty() ? -1 : 0;
    rs->settle(true);
    return rs;
}

} // namespace platform::detail

// ================================================================ Recordset

namespace platform {

using detail::ErrorContext;
using detail::noCurrentRecord;
using detail::raise;

Recordset::Recordset(std::unique_ptr<detail::RecordsetImpl> impl)
    : d(std::move(impl))
{}

Recordset::~Recordset() = default;

void Recordset::moveFirst()
{
    d->ensureOpen();
    if (d->count() == 0)
        noCurrentRecord();
    d->moveTo(0, true);
    if (d->count() == 0)
        noCurrentRecord();
}

void Recordset::moveLast()
{
    d->ensureOpen();
    if (d->count() == 0)
        noCurrentRecord();
    d->moveTo(d->count() - 1, false);
    if (d->count() == 0)
        noCurrentRecord();
}

void Recordset::moveNext()
{
    d->ensureOpen();
    if (d->count() == 0 || (!d->onDeleted && d->pos >= d->count()))
        noCurrentRecord();
    // After a delete the successor already stands at the deleted row's index.
    d->moveTo(d->onDeleted ? d->pos : d->pos + 1, true);
}

void Recordset::movePrevious()
{
    d->ensureOpen();
    if (d->count() == 0 || (!d->onDeleted && d->pos < 0))
        noCurrentRecord();
    d->moveTo(d->pos - 1, false);
}

bool Recordset::eof() const
{
    d->ensureOpen();
    return d->count() == 0 || (!d->onDeleted && d->pos >= d->count());
}

bool Recordset::bof() const
{
    d->ensureOpen();
    return d->count() == 0 || (!d->onDeleted && d->pos < 0);
}

int Recordset::recordCount() const
{
    d->ensureOpen();
    return d->count();
}

int Recordset::absolutePosition() const
{
    d->ensureOpen();
    return d->hasCurrent() ? d->pos : -1;
}

void Recordset::findFirst(const Criteria &criteria)
{
    d->find(criteria, 0);
}

void Recordset::findNext(const Criteria &criteria)
{
    d->find(criteria, d->onDeleted ? d->pos : d->pos + 1);
}

bool Recordset::noMatch() const
{
    d->ensureOpen();
    return d->noMatch;
}

Bookmark Recordset::bookmark() const
{
    d->ensureOpen();
    if (!d->hasCurrent())
        noCurrentRecord();
    return Bookmark{d->keys[size_t(d->pos)]};
}

void Recordset::setBookmark(const Bookmark &bookmark)
{
    d->ensureOpen();
    const auto it = std::find(d->keys.begin(), d->keys.end(), bookmark.key);
    if (it == d->keys.end())
        raise(errnum::InvalidBookmark, QStringLiteral("Not a valid bookmark."));
    d->moveTo(int(it - d->keys.begin()), true);
    if (!d->hasCurrent() || d->keys[size_t(d->pos)] != bookmark.key)
        raise(errnum::InvalidBookmark, QStringLiteral("Not a valid bookmark: the row was deleted."));
}

void Recordset::addNew()
{
    d->ensureOpen();
    d->ensureUpdatable();
    d->leaveEdit();
    d->mode = detail::RecordsetImpl::EditMode::Add;
    d->buffer.assign(d->cols.size(), QVariant());
    d->dirty.assign(d->cols.size(), false);
}

void Recordset::edit()
{
    d->ensureOpen();
    d->ensureUpdatable();
    d->leaveEdit();
    if (!d->hasCurrent())
        noCurrentRecord();
    d->forgetRows(); // edit what the file holds now
    const detail::RowRef row = d->rowAt(d->pos);
    if (!row)
        raise(errnum::DeletedRecord, QStringLiteral("Record is deleted."));
    d->mode = detail::RecordsetImpl::EditMode::Edit;
    d->buffer.resize(d->cols.size());
    for (size_t i = 0; i < d->cols.size(); ++i)
        d->buffer[i] = row[i];
    d->dirty.assign(d->cols.size(), false);
}

void Recordset::update()
{
    d->ensureOpen();
    using Mode = detail::RecordsetImpl::EditMode;
    if (d->mode == Mode::None)
        raise(errnum::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    QStringList names;
    QVariantList values;
    for (size_t i = 0; i < d->cols.size(); ++i) {
        if (d->dirty[i]) {
            names << detail::quoteIdentifier(d->cols[i].origin);
            values << d->buffer[i];
        }
    }
    const QString table = detail::quoteIdentifier(d->table);
    // A failure leaves the edit as it was, so the user can correct it and save again.
    if (d->mode == Mode::Add) {
        const QString sql =
            names.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, names.join(QStringLiteral(", ")),
                           QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        d->runChange(sql, values);
        const bool atEnd = !d->onDeleted && d->pos >= d->count();
        d->keys.push_back(sqlite3_last_insert_rowid(d->conn->handle()));
        if (atEnd)
            d->pos = d->count();
    } else {
        if (!names.isEmpty()) {
            for (QString &n : names)
                n += QStringLiteral(" = ?");
            const std::int64_t rowid = d->keys[size_t(d->pos)];
            values << qlonglong(rowid);
            d->runChange(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                             .arg(table, names.join(QStringLiteral(", "))),
                         values);
            // The row was deleted since the edit began: nothing was saved.
            if (sqlite3_changes(d->conn->handle()) == 0)
                raise(errnum::DeletedRecord, QStringLiteral("Record is deleted."));
        }
    }
    d->leaveEdit();
}

void Recordset::cancelUpdate()
{
    d->ensureOpen();
    if (d->mode == detail::RecordsetImpl::EditMode::None)
        raise(errnum::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    d->leaveEdit();
}

void Recordset::deleteRow()
{
    d->ensureOpen();
    d->ensureUpdatable();
    d->leaveEdit();
    if (!d->hasCurrent())
        noCurrentRecord();
    const std::int64_t rowid = d->keys[size_t(d->pos)];
    d->runChange(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(detail::quoteIdentifier(d->table)),
                 {qlonglong(rowid)});
    d->keys.erase(d->keys.begin() + d->pos);
    d->onDeleted = true;
    d->forgetRows();
}

QVariant Recordset::value(const QString &field) const
{
    d->ensureOpen();
    return value(d->fieldIndex(field));
}

int Recordset::fieldIndex(const QString &field) const
{
    d->ensureOpen();
    return d->fieldIndex(field);
}

const QVariant &Recordset::value(int i) const
{
    d->ensureOpen();
    if (i < 0 || size_t(i) >= d->cols.size())
        raise(errnum::ItemNotFound, QStringLiteral("Field %1 is not in this recordset.").arg(i));
    if (d->mode != detail::RecordsetImpl::EditMode::None)
        return d->buffer[size_t(i)];
    if (!d->hasCurrent())
        noCurrentRecord();
    const detail::RowRef row = d->rowAt(d->pos);
    if (!row)
        raise(errnum::DeletedRecord, QStringLiteral("Record is deleted."));
    return row[size_t(i)];
}

bool Recordset::isNull(const QString &field) const
{
    return value(field).isNull();
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    d->ensureOpen();
    const int i = d->fieldIndex(field);
    d->ensureUpdatable();
    if (d->mode == detail::RecordsetImpl::EditMode::None)
        raise(errnum::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    const detail::Column &col = d->cols[size_t(i)];
    if (col.origin.isEmpty())
        raise(errnum::ReadOnly, QStringLiteral("Field '%1' is not updatable.").arg(col.name));
    d->buffer[size_t(i)] = detail::convertForColumn(col, value);
    d->dirty[size_t(i)] = true;
}

QStringList Recordset::fieldNames() const
{
    d->ensureOpen();
    QStringList names;
    for (const detail::Column &c : d->cols)
        names << c.name;
    return names;
}

bool Recordset::isUpdatable() const
{
    return d->open && d->updatable;
}

void Recordset::close()
{
    d->open = false;
    d->leaveEdit();
    d->keys.clear();
    d->copied.clear();
    d->window.clear();
    d->forgetRows();
}

bool Recordset::isOpen() const
{
    return d->open;
}

} // namespace platform
