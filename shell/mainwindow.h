#pragma once

#include "shell/recentlist.h"
#include "shell/startup.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>

class QAction;
class QMenu;
class QTimer;
class QToolBar;

namespace platform {
class Workspace;
}

namespace shell {

class StatusBar;
class frmSplash;

// The main window: menus, toolbar, status bar and idle-prompt timer, and the
// shell state that says which collection file is open. Its controls are
// public, as they are what the other parts of the program and the tests
// address by name.
class frmMainMenu : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMainMenu(StartupOptions options = StartupOptions::fromApplication(),
                         QWidget *parent = nullptr);
    ~frmMainMenu() override;

    // Start-up; false when the program must end at once (the command line
    // could not be read).
    bool Form_Load();
    // Shut-down: saves the settings and ends the program.
    void Form_Unload();

    // Menus, in display order.
    QMenu *mnuFile = nullptr;
    QAction *mnuFilCreateNewDatabase = nullptr;
    QAction *mnuSepFil0 = nullptr;
    QAction *mnuFilOpenDatabase = nullptr;
    QAction *mnuFilSetDefaultDatabase = nullptr;
    QAction *mnuFilSep0_2 = nullptr;
    QAction *mnuFilAddCompany = nullptr;
    QAction *mnuFilAddTitle = nullptr;
    QAction *mnuFilAddIssue = nullptr;
    QAction *mnuFilSep0_3 = nullptr;
    QAction *mnuFilSetCurrentCoverPrice = nullptr;
    QAction *mnuFilBulkDelete = nullptr;
    QAction *mnuFilSep1 = nullptr;
    QAction *mnuFilExit = nullptr;
    QAction *mnuFilSep3 = nullptr;
    std::array<QAction *, 4> mnuFilArray{}; // recent files; 1..3 exist only while shown
    QMenu *mnuOptions = nullptr;
    QAction *mnuOptViewToolbar = nullptr;
    QAction *mnuOptUseDefaultDatabase = nullptr;
    QMenu *mnuReports = nullptr;
    QAction *mnuRepBrowseComics = nullptr;
    QAction *mnuRepSep1 = nullptr;
    QAction *mnuRepBasicReport001 = nullptr;
    QAction *mnuRepTitleWithNotes002 = nullptr;
    QAction *mnuRepValueByTitleAndCo = nullptr;
    QAction *mnuRepSep2 = nullptr;
    QAction *mnuRepMissingIssues = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelPanelkeepHelp = nullptr;
    QAction *mnuHelAbout = nullptr;

    // What the message panel shows when nothing else is to be said.
    static inline const QString IdlePrompt = QStringLiteral("Please select a menu item...");

    QToolBar *tbarMain = nullptr;
    QList<QIcon> imgToolBar;
    StatusBar *sbMain = nullptr;
    QTimer *tmrMain = nullptr;

    // Toolbar button by its 1-based position; positions 1, 4 and 9 are separators.
    QAction *tbarButton(int position) const;
    int tbarButtonCount() const { return int(m_buttons.size()); }

    // The splash/About form while it is loaded.
    frmSplash *splash() const;

    // Shell state.
    QString currentPath;
    QString defaultPath;
    bool useDefaultFlag = true;
    QString appDir;
    RecentFiles recentFiles;
    platform::Workspace *wsDefault = nullptr;

    // Main window events.
    void mnuFilExit_Click();
    void tbarMain_ButtonClick(QAction *button);
    void tmrMain_Timer();
    void mnuOptViewToolbar_Click();
    void mnuHelPanelkeepHelp_Click();
    void mnuHelAbout_Click();

    // Collection files.
    bool ChooseStartupCollection();
    bool OpenCollection();
    void ShowCollectionOpen();
    void ShowNoCollection();
    void mnuFilCreateNewDatabase_Click();
    void mnuFilOpenDatabase_Click();

    // Settings and the recent list.
    void LoadRecentList();
    void UpdateRecentList(const QString &path);
    void TrimRecentMenu(int k);
    void mnuFilArray_Click(int index);
    void mnuOptUseDefaultDatabase_Click();
    void mnuFilSetDefaultDatabase_Click();

    // The data screens.
    void mnuFilAddCompany_Click();
    void mnuFilAddTitle_Click();
    void mnuFilAddIssue_Click();
    void mnuFilSetCurrentCoverPrice_Click();
    void mnuFilBulkDelete_Click();
    void mnuRepBrowseComics_Click();
    void mnuRepBasicReport001_Click();
    void mnuRepTitleWithNotes002_Click();
    void mnuRepValueByTitleAndCo_Click();
    void mnuRepMissingIssues_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void showRecentItem(int index, int entry, const QString &currentDir);
    void setDataCommandsEnabled(bool enabled);
    // The selection screen in one of its four uses.
    void openSelection(int inStyle);

    StartupOptions m_options;
    QList<QAction *> m_buttons;
    QPointer<frmSplash> m_splash;
    bool m_unloaded = false;
};

} // namespace shell
