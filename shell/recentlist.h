#pragma once

#include <QString>
#include <array>

namespace shell {

// The four most recently opened collection files, entry 0 the latest; "" marks
// an unused entry. Paths are kept as they were given.
using RecentFiles = std::array<QString, 4>;

// Puts path at the front of the list. Paths compare without regard to letter
// case; a path equal to entry 0 leaves the list exactly as it is, and an empty
// path changes nothing.
void pushRecentFile(RecentFiles &entries, const QString &path);

// The name a path is shown by in the window caption and the recent items: the
// file name alone when the file lies in currentDir, otherwise the full path.
QString displayName(const QString &path, const QString &currentDir);

// The text of a menu item showing that name ("&" would otherwise be read as an
// access key).
QString menuCaption(const QString &name);

} // namespace shell
