#include "shell/collectionfiles.h"

#include "shell/commandscope.h"
#include "shell/mainwindow.h"

#include "db/collectionfile.h"
#include "db/session.h"
#include "platform/directorylookup.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/workspace.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

namespace shell {

namespace {
platform::FileDialogRequest databaseRequest(const QString &title, const QString &acceptLabel)
{
    platform::FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("Comic Book DB Files (*.pkx)|*.pkx|All Files (*.*)|*.*");
    request.filterIndex = 1;
    request.defaultExtension = QStringLiteral("pkx");
    request.acceptLabel = acceptLabel;
    return request;
}
// Opening and creating fail without a box; the status line says why, so
// the user knows why nothing happened.
void showOpenFailure(const platform::EngineError &e)
{
    platform::showStatus(QStringLiteral("Not opened: ") + e.text());
}

// A new collection never replaces a file, so an existing name is refused.
void showCreateFailure(const platform::EngineError &e, const QString &chosen)
{
    if (e.number() == platform::errnum::DatabaseExists) {
        const QString listed = platform::listedPath(chosen);
        platform::showStatus(QStringLiteral("Not created: %1 already exists; choose a new name")
                                 .arg(QFileInfo(listed.isEmpty() ? chosen : listed).fileName()));
    } else
        platform::showStatus(QStringLiteral("Not created: ") + e.text());
}
} // namespace

platform::FileDialogRequest createDatabaseRequest()
{
    return databaseRequest(QStringLiteral("Please Specify Database File to Create"),
                           QStringLiteral("&Create"));
}

platform::FileDialogRequest openDatabaseRequest()
{
    return databaseRequest(QStringLiteral("Please Specify Database File for Open"), QStringLiteral("&Open"));
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
    } catch (const platform::EngineError &e) {
        shell::showOpenFailure(e);
        return false;
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
    // A failed creation shows no box: the file that was there stays untouched
    // and the collection that was open stays open.
    try {
        db::CreateCollectionDatabase(*chosen, [this](const QString &path) {
            currentPath = path;
            if (!OpenCollection())
                ShowNoCollection();
        });
    } catch (const platform::EngineError &e) {
        shell::showCreateFailure(e, *chosen);
    } catch (...) {
    }
    scope.arrow();
}
