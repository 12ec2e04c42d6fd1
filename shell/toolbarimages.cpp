#include "shell/toolbarimages.h"

#include <QFile>
#include <QStringList>

// Resources of a static library must be registered by name from outside any
// namespace.
static void initIconResources()
{
#ifdef PANELKEEP_HAVE_ICONS
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)done;
#endif
}

namespace shell {

QList<QIcon> loadToolBarImages()
{
    initIconResources();
    static const QStringList names = {
        QStringLiteral("new"),      QStringLiteral("open"),          QStringLiteral("addcompany"),
        QStringLiteral("addtitle"), QStringLiteral("maintainissue"), QStringLiteral("coverprice"),
        QStringLiteral("browse"),   QStringLiteral("report1"),       QStringLiteral("report2"),
        QStringLiteral("report3"),
    };
    QList<QIcon> images;
    for (const QString &name : names) {
        const QString file = QStringLiteral(":/icons/%1.png").arg(name);
        // QIcon picks up the @2x variant next to it for high-density screens.
        images << (QFile::exists(file) ? QIcon(file) : QIcon());
    }
    return images;
}

QIcon splashPicture()
{
    initIconResources();
    const QString file = QStringLiteral(":/icons/splash.png");
    return QFile::exists(file) ? QIcon(file) : QIcon();
}

QIcon applicationIcon()
{
    initIconResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/panelkeep-%1.png").arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}

} // namespace shell
