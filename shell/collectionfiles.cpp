#include "shell/collectionfiles.h"

#include "shell/commandscope.h"
#include "shell/mainwindow.h"

#include "db/collectionfile.h"
#include "db/session.h"
#include "platform/feedback.h"
#include "platform/workspace.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTimer>

namespace shell {

namespace {
platform::FileDialogRequest databaseRequest(const QString &title, bool overwritePrompt)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("Comic Book DB Files (*.pkx)|*.pkx|All Files (*.*)|*.*");
    request.filterIndex = 1;
    request.defaultExtension = QStringLiteral("pkx");
    request.overwritePrompt = overwritePrompt;
    return request;
}
} // namespace

platform::FileDialogRequest createDatabaseRequest()
{
    return databaseRequest(QStringLiteral("Please Specify Database File to Create"), true);
}

platform::FileDialogRequest openDatabaseRequest()
{
    return databaseRequest(QStringLiteral("Please Specify Database File for Open"), false);
}

} // namespace shell

using shell::frmMainMenu;

bool frmMainMenu::OpenCollection()
{
    // Opening fails silently: the callers show the no-collection state.
    try {
        if (!wsDefault)
            wsDefault = &platform::Workspace::defaultWorkspace();
        platform::Database opened = db::OpenCollectionFile(currentPath);
        db::session().closeSlots();
        db::session().dbCollection = opened;
        ShowCollectionOpen();
        mnuFilSetDefaultDatabase->setChecked(currentPath == defaultPath);
        UpdateRecentList(currentPath);
        // The slow checks wait until the window shows the collection, so
        // start-up does not grow with its size.
        checkCollectionSoundnessOnceShown(this, [this] { ShowCollectionOpen(); });
        return true;
    } catch (...) {
        return false;
    }
}

void frmMainMenu::setDataCommandsEnabled(bool enabled)
{
    for (QAction *item : {mnuFilAddCompany, mnuFilAddTitle, mnuFilAddIssue, mnuFilSetDefaultDatabase,
                          mnuFilSetCurrentCoverPrice, mnuFilBulkDelete})
        item->setEnabled(enabled);
    mnuReports->setEnabled(enabled);
    mnuReports->menuAction()->setEnabled(enabled);
    for (int position : {5, 6, 7, 8, 10, 11, 12, 13})
        tbarButton(position)->setEnabled(enabled);
}

void frmMainMenu::ShowCollectionOpen()
{
    setDataCommandsEnabled(true);
    // "[*]" in a title is Qt's placeholder for the modified mark; doubled, it
    // shows as itself.
    const QString name = shell::displayName(currentPath, QDir::currentPath())
                             .replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    const bool readOnly = db::dbCollection().isReadOnly();
    setWindowTitle(name + (readOnly ? QStringLiteral(" (read-only)") : QString()) +
                   QStringLiteral(": Panelkeep"));
}

void frmMainMenu::ShowNoCollection()
{
    setDataCommandsEnabled(false);
    setWindowTitle(QStringLiteral("Panelkeep"));
}

void frmMainMenu::mnuFilOpenDatabase_Click()
{
    CommandScope scope(tmrMain, this);
    const auto chosen = platform::chooseFile(shell::openDatabaseRequest(), this);
    if (!chosen)
        return;
    currentPath = *chosen;
    if (!OpenCollection())
        ShowNoCollection();
}

void frmMainMenu::mnuFilCreateNewDatabase_Click()
{
    CommandScope scope(tmrMain, this);
    const auto chosen = platform::chooseFile(shell::createDatabaseRequest(), this);
    if (!chosen)
        return;
    scope.hourglass();
    platform::processPendingEvents();
    // A failed creation is silent: the file that was there stays untouched and
    // the collection that was open stays open.
    try {
        db::CreateCollectionDatabase(*chosen, [this](const QString &path) {
            currentPath = path;
            if (!OpenCollection())
                ShowNoCollection();
        });
    } catch (...) {
    }
    scope.arrow();
}
