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
    for (size_t k = 0; k < recent.size(); ++k) {
        if (recent[k] != 0 && recentBytes[k].size() == size &&
            std::memcmp(recentBytes[k].constData(), bytes, size_t(size)) == 0)
            return recent[k];
    }
    const size_t slot = nextRecent++ % recent.size();
    recentBytes[slot] = QByteArray(bytes, size);
    recent[slot] = add(columnValue(stmt, index, kind));
    return recent[slot];
}

std::uint32_t CopiedRows::Column::number(sqlite3_stmt *stmt, int index)
{
    const std::int64_t v = sqlite3_column_int64(stmt, index);
    std::uint32_t *found = nullptr;
    if (v >= SmallLow && v < SmallLow + SmallCount) {
        if (small.empty())
            small.assign(size_t(SmallCount), 0);
        found = &small[size_t(v - SmallLow)];
    } else {
        found = &large[v];
    }
    if (*found == 0)
        *found = add(columnValue(stmt, index, kind));
    return *found;
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
