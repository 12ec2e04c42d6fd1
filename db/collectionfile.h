#pragma once

#include "platform/database.h"

#include <QString>
#include <functional>

namespace db {

// Marks a file as a collection (SQLite's application_id), so any other
// SQLite file is refused on open.
inline constexpr int CollectionApplicationId = 0x504B5831; // "PKX1"
inline constexpr int CollectionSchemaVersion = 1;

// Builds a new, empty collection file at path: the five tables with their
// keys and rules, the four relationships and the eight condition rows,
// reporting each stage with platform::showStatus. Raises EngineError
// (DatabaseExists before touching anything when the path exists, also under
// another letter case). When the
// file is built, calls opened(path) so the shell can make it the open
// collection.
void CreateCollectionDatabase(const QString &path, const std::function<void(const QString &)> &opened = {});

// Opens an existing collection in the default workspace: only a file whose
// header and schema are exactly the program's own. Raises EngineError
// NotACollection for a file that is not one, before the engine has touched it
// or anything beside it, or the engine's error for a missing or unreadable
// file. A file that cannot be written (file or folder not writable, written by
// a newer engine) opens read-only.
platform::Database OpenCollectionFile(const QString &path);

// The slow checks left out of the open so that start-up does not grow with
// the collection: damaged pages, rows breaking a rule, rows without their
// related rows. Returns why the collection is unsound, or "" when it is sound.
QString FindCollectionDamage(platform::Database &db);

} // namespace db
