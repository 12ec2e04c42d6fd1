#pragma once

// Private to the engine: the rows of a copied (snapshot) recordset.

#include "platform/sqliteconnection.h"

#include <QByteArray>
#include <QVariant>
#include <array>
#include <cstdint>
#include <vector>

namespace platform::detail {

// Rows kept by column: each column holds its distinct values once and a cell
// is an index into them. Values repeat down a column (a company over its
// titles, a title over its issues, eight conditions, a few quantities), so a
// copy of 200,000 rows takes a few bytes per cell rather than a QVariant.
class CopiedRows
{
public:
    void setKinds(const std::vector<ColumnKind> &kinds);
    // Copies the statement's current row.
    void append(sqlite3_stmt *stmt);
    size_t size() const { return m_rows; }
    const QVariant &value(size_t row, size_t column) const
    {
        const Column &c = m_columns[column];
        return c.values[c.cells[row]];
    }
    void clear();

private:
    struct Column
    {
        ColumnKind kind = ColumnKind::Other;
        std::vector<QVariant> values{QVariant()}; // index 0 is null
        std::vector<std::uint32_t> cells;
        // Texts and large numbers met among the last few of the column, as
        // SQLite gave them, with the index of their value.
        template <typename Key> struct Recent
        {
            std::array<Key, 8> keys{};
            std::array<std::uint32_t, 8> index{};
            size_t next = 0;
        };
        Recent<QByteArray> recentTexts;
        Recent<std::int64_t> recentNumbers;
        // Small whole numbers met so far, by position.
        std::vector<std::uint32_t> small;

        std::uint32_t add(QVariant value);
        std::uint32_t text(sqlite3_stmt *stmt, int index);
        std::uint32_t number(sqlite3_stmt *stmt, int index);
    };
    std::vector<Column> m_columns;
    size_t m_rows = 0;
};

} // namespace platform::detail
