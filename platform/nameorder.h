#pragma once

#include <QString>

struct sqlite3;

// The order in which names (companies, titles) are listed: letters with
// accents sort with their base letters and letter case is ignored, so
// "Éditions" comes among the E's. The collation is known to our own
// connections only; it is used in queries and never written into a file,
// whose columns keep the NOCASE rule every SQLite client knows.
namespace platform {

// The collation's name, for " COLLATE " in an ORDER BY.
inline const QString NameOrder = QStringLiteral("PKNAME");

// Compares two UTF-8 texts in name order: <0, 0 or >0. Names that differ
// only in accents or letter case are ordered by their exact text, so two
// such names never interleave in a sorted list.
int compareNames(const char *a, int aBytes, const char *b, int bBytes);

// Makes the collation known to a connection; every connection of ours that
// lists names calls this once it is open.
void registerNameOrder(sqlite3 *db);

} // namespace platform
