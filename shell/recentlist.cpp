#include "shell/recentlist.h"

#include "shell/mainwindow.h"

#include "platform/settingsstore.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace shell {

namespace {
bool samePath(const QString &a, const QString &b)
{
    return a.toUpper() == b.toUpper();
}

bool sameFolder(const QString &a, const QString &b)
{
    if (QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    // The same folder reached through a link, or written another way.
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}
} // namespace

void pushRecentFile(RecentFiles &e, const QString &path)
{
    if (path.isEmpty())
        return;
    if (samePath(path, e[1])) {
        e[1] = e[0];
    } else if (samePath(path, e[2])) {
        e[2] = e[1];
        e[1] = e[0];
    } else if (samePath(path, e[3])) {
        e[3] = e[2];
        e[2] = e[1];
        e[1] = e[0];
    } else if (!samePath(path, e[0])) {
        e[3] = e[2];
        e[2] = e[1];
        e[1] = e[0];
    } else {
        return;
    }
    e[0] = path;
}

QString displayName(const QString &path, const QString &currentDir)
{
    const QFileInfo file(path);
    // The folder itself is compared: a plain prefix test would take a file in
    // a sub-folder, or in "/home/bob" for a current "/home/bo", as local.
    if (sameFolder(file.absolutePath(), currentDir))
        return file.fileName();
    return path;
}

QString menuCaption(const QString &name)
{
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace shell

using shell::frmMainMenu;

void frmMainMenu::LoadRecentList()
{
    for (int i = 0; i < 4; ++i)
        recentFiles[i] = platform::getSetting(QStringLiteral("FILES"), QStringLiteral("RECENTFILE%1").arg(i));
}

void frmMainMenu::UpdateRecentList(const QString &path)
{
    shell::pushRecentFile(recentFiles, path);
    if (recentFiles[0].isEmpty())
        return;
    const QString here = QDir::currentPath();
    showRecentItem(0, 0, here);
    int k = 1;
    for (int j = 1; j <= 3; ++j) {
        if (recentFiles[j].isEmpty())
            break;
        if (!QFileInfo(recentFiles[j]).isFile())
            continue;
        showRecentItem(k, j, here);
        ++k;
    }
    TrimRecentMenu(k);
}

void frmMainMenu::showRecentItem(int index, int entry, const QString &currentDir)
{
    QAction *&item = mnuFilArray[index];
    if (!item) {
        item = new QAction(this);
        item->setObjectName(QStringLiteral("mnuFilArray"));
        item->setProperty("Index", index);
        // Items are kept in index order at the end of the File menu.
        QAction *before = nullptr;
        for (int m = index + 1; m < 4 && !before; ++m)
            before = mnuFilArray[m];
        mnuFile->insertAction(before, item);
        connect(item, &QAction::triggered, this, [this, index] { mnuFilArray_Click(index); });
    }
    item->setText(shell::menuCaption(shell::displayName(recentFiles[entry], currentDir)));
    item->setProperty("entry", entry);
    item->setVisible(true);
    item->setEnabled(true);
}

void frmMainMenu::TrimRecentMenu(int k)
{
    for (int m = 3; m >= k; --m) {
        QAction *&item = mnuFilArray[m];
        if (!item || !item->isVisible())
            continue;
        item->setVisible(false);
        item->setEnabled(false);
        item->setText(QString());
        // Item 0 belongs to the menu from the start and is only hidden.
        if (m > 0) {
            delete item;
            item = nullptr;
        }
    }
}

void frmMainMenu::mnuFilArray_Click(int index)
{
    QAction *item = mnuFilArray[index];
    if (!item)
        return;
    currentPath = recentFiles[item->property("entry").toInt()];
    if (!OpenCollection())
        ShowNoCollection();
}

void frmMainMenu::mnuOptUseDefaultDatabase_Click()
{
    mnuOptUseDefaultDatabase->setChecked(!mnuOptUseDefaultDatabase->isChecked());
}

void frmMainMenu::mnuFilSetDefaultDatabase_Click()
{
    mnuFilSetDefaultDatabase->setChecked(true);
    defaultPath = currentPath;
}
