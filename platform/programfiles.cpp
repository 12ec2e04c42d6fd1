#include "platform/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

namespace {
// The build copies the help file beside the binary; an installed binary has
// none beside it.
bool isBuildTree(const QString &binaryDir)
{
    return QFileInfo::exists(QDir(binaryDir).filePath(QStringLiteral("Kepix.hlp")));
}
} // namespace

QString programFilesDir(const QString &binaryDir)
{
    if (isBuildTree(binaryDir))
        return binaryDir;
    return QDir::cleanPath(QDir(binaryDir).filePath(QStringLiteral(PANELKEEP_FILES_FROM_BINARY)));
}

QString userDataDir()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("panelkeep"));
}

QString defaultCollectionDir(const QString &binaryDir)
{
    if (isBuildTree(binaryDir) && QFileInfo(binaryDir).isWritable())
        return binaryDir;
    return userDataDir();
}

QString writableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    // An installed program's own folder is never the user's, even when the
    // permissions would allow writing there (root, or a prefix in the home).
    const QString binaryDir = QCoreApplication::applicationDirPath();
    const bool programsOwn = !isBuildTree(binaryDir) &&
                             QDir(folder).canonicalPath() == QDir(programFilesDir(binaryDir)).canonicalPath();
    if (info.isDir() && info.isWritable() && !programsOwn)
        return folder;
    const QString own = userDataDir();
    QDir().mkpath(own);
    return own;
}

} // namespace platform
