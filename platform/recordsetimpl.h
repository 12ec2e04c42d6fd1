#pragma once

// Private to the engine: the state behind a Recordset.

#include "platform/copiedrows.h"
#include "platform/recordset.h"
#include "platform/sqliteconnection.h"

#include <memory>
#include <optional>
#include <vector>

namespace platform::detail {

struct Column
{
    QString name;   // as the query names it (alias or column)
    QString origin; // the table column it comes from; empty for an expression
    QString table;
    ColumnKind kind = ColumnKind::Other;
};

// One row's values, read from a window of a keyed recordset or from the
// copied rows; valid until the recordset moves or changes.
class RowRef
{
public:
    RowRef() = default;
    explicit RowRef(const std::vector<QVariant> *read)
        : m_read(read)
    {}
    RowRef(const CopiedRows *copied, size_t row)
        : m_copied(copied)
        , m_row(row)
    {}
    explicit operator bool() const { return m_read || m_copied; }
    const QVariant &operator[](size_t column) const
    {
        return m_read ? (*m_read)[column] : m_copied->value(m_row, column);
    }

private:
    const std::vector<QVariant> *m_read = nullptr;
    const CopiedRows *m_copied = nullptr;
    size_t m_row = 0;
};

class RecordsetImpl
{
public:
    enum class EditMode { None, Add, Edit };

    std::shared_ptr<Connection> conn;
    RecordsetType type = RecordsetType::Dynaset;
    bool open = true;
    bool updatable = false;
    // keyset: keys are rowids of `table`, values read by rowid on demand.
    // Otherwise keys index the copied rows.
    bool keyset = false;
    QString table;
    // Reads the values of up to `Window` rows by rowid in one statement.
    static constexpr int Window = 64;
    QString windowSql;
    std::vector<Column> cols;
    std::vector<std::int64_t> keys;
    CopiedRows copied;

    // -1 before the first row, count() after the last. After a delete,
    // onDeleted is set and pos is the index the successor now holds.
    int pos = -1;
    bool onDeleted = false;
    bool noMatch = false;

    EditMode mode = EditMode::None;
    std::vector<QVariant> buffer;
    std::vector<bool> dirty;

    // Values of the rows keys[winStart..] as last read, valid while nothing
    // changed through the connection; an empty entry is a row deleted since.
    int winStart = -1;
    std::int64_t winStamp = -1;
    std::vector<std::optional<std::vector<QVariant>>> window;

    int count() const { return int(keys.size()); }
    bool hasCurrent() const;
    int fieldIndex(const QString &field) const;
    void ensureOpen() const;
    void ensureUpdatable() const;

    // The values of the row at index; false when it no longer exists.
    RowRef rowAt(int index, bool forward = true);
    bool loadCurrent() { return hasCurrent() && rowAt(pos); }
    void forgetRows() { winStart = -1; }
    void settle(bool forward);
    void leaveEdit();
    void moveTo(int index, bool forward);
    bool rowMatches(int index, const std::vector<std::pair<int, QVariant>> &wanted);
    void find(const Criteria &criteria, int start);

    void runChange(const QString &sql, const QVariantList &params);
};

std::unique_ptr<RecordsetImpl> openRecordsetImpl(std::shared_ptr<Connection> conn, const QString &sqlOrTable,
                                                 RecordsetType type, const QVariantList &params,
                                                 RecordsetOption option);

} // namespace platform::detail
