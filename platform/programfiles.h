#pragma once

#include <QString>

namespace platform {

// The folder that holds the program's own files (help, report definitions):
// the program's folder itself in a build tree, where they are copied beside
// the binary; <prefix>/share/panelkeep once installed under any prefix.
QString programFilesDir(const QString &binaryDir);

// The user's own data folder for the program ($XDG_DATA_HOME/panelkeep).
QString userDataDir();

// The folder of the default collection: the program's folder when the
// program runs from its build tree and may write there; otherwise the user's
// data folder, as an installed program's folders belong to the system.
QString defaultCollectionDir(const QString &binaryDir);

// folder when the user can write there and it is not an installed program's
// own folder; otherwise the user's data folder, made when missing.
QString writableFolder(const QString &folder);

} // namespace platform
