#include "platform/directorylookup.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString listedPath(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() || file.isSymLink())
        return path;
    const QDir folder = file.absoluteDir();
    const QStringList names =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names)
        if (name.compare(file.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    return QString();
}

bool sameFile(const QString &a, const QString &b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace platform
