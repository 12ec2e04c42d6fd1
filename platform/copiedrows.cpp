#include "platform/copiedrows.h"

#include <cstring>

namespace platform::detail {

namespace {
// Whole numbers in this range (issue numbers, quantities, conditions) are
// found by position; 16-bit values cover the program's own columns.
constexpr std::int64_t SmallLow = -32768;
constexpr std::int64_t SmallCount = 65536;
} // namespace

void CopiedRows::setKinds(const std::vector<ColumnKind> &kinds)
{
    clear();
    m_columns.resize(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i)
        m_columns[i].kind = kinds[i];
}

void CopiedRows::clear()
{
    m_columns.clear();
    m_rows = 0;
}

std::uint32_t CopiedRows::Column::add(QVariant value)
{
    values.push_back(std::move(value));
    return std::uint32_t(values.size() - 1);
}

std::uint32_t CopiedRows::Column::text(sqlite3_stmt *stmt, int index)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, index));
    const int size = sqlite3_column_bytes(stmt, index);
    Recent<QByteArray> &r = recentTexts;
    for (size_t k = 0; k < r.keys.size(); ++k) {
        if (r.index[k] != 0 && r.keys[k].size() == size &&
            std::memcmp(r.keys[k].constData(), bytes, size_t(size)) == 0)
            return r.index[k];
    }
    const size_t slot = r.next++ % r.keys.size();
    r.keys[slot] = QByteArray(bytes, size);
    r.index[slot] = add(columnValue(stmt, index, kind));
    return r.index[slot];
}

std::uint32_t CopiedRows::Column::number(sqlite3_stmt *stmt, int index)
{
    const std::int64_t v = sqlite3_column_int64(stmt, index);
    if (v >= SmallLow && v < SmallLow + SmallCount) {
        if (small.empty())
            small.assign(size_t(SmallCount), 0);
        std::uint32_t &found = small[size_t(v - SmallLow)];
        if (found == 0)
            found = add(columnValue(stmt, index, kind));
        return found;
    }
    // Larger numbers (amounts) vary row by row: only the last few are
    // shared; looking each up among all met so far costs more than it saves.
    Recent<std::int64_t> &r = recentNumbers;
    for (size_t k = 0; k < r.keys.size(); ++k) {
        if (r.index[k] != 0 && r.keys[k] == v)
            return r.index[k];
    }
    const size_t slot = r.next++ % r.keys.size();
    r.keys[slot] = v;
    r.index[slot] = add(columnValue(stmt, index, kind));
    return r.index[slot];
}

void CopiedRows::append(sqlite3_stmt *stmt)
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        Column &c = m_columns[i];
        std::uint32_t cell = 0;
        switch (sqlite3_column_type(stmt, int(i))) {
        case SQLITE_NULL: break;
        case SQLITE_INTEGER: cell = c.number(stmt, int(i)); break;
        case SQLITE_TEXT: cell = c.text(stmt, int(i)); break;
        default: cell = c.add(columnValue(stmt, int(i), c.kind)); break;
        }
        c.cells.push_back(cell);
    }
    ++m_rows;
}

} // namespace platform::detail
