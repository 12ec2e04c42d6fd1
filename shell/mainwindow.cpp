#include "shell/mainwindow.h"

#include "shell/commandscope.h"
#include "shell/splash.h"
#include "shell/statusbar.h"
#include "shell/toolbarimages.h"

#include "catalogue/addcompany/frmaddcompany.h"
#include "catalogue/addtitle/frmaddtitle.h"
#include "catalogue/bulkdelete/frmbulkdelete.h"
#include "catalogue/coverprice/frmcoverprice.h"
#include "catalogue/issue/frmaddissue.h"
#include "reports/frmselectcriteria.h"

#include "platform/feedback.h"
#include "platform/helpviewer.h"
#include "platform/twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

namespace shell {

namespace {
QAction *separator(QObject *parent, const char *name)
{
    auto *action = new QAction(parent);
    action->setSeparator(true);
    action->setObjectName(QLatin1String(name));
    return action;
}

// A check item whose click handler decides the check mark itself: Qt's own
// toggle on a click is undone before the handler runs.
template <typename Handler> void bindCheckItem(QAction *item, Handler handler)
{
    QObject::connect(item, &QAction::triggered, item, [item, handler](bool checked) {
        item->setChecked(!checked);
        handler();
    });
}
} // namespace

frmMainMenu::frmMainMenu(StartupOptions options, QWidget *parent)
    : QMainWindow(parent)
    , m_options(std::move(options))
{
    setObjectName(QStringLiteral("frmMainMenu"));
    setWindowTitle(QStringLiteral("Panelkeep"));
    // No toolbar-hiding context menu: the toolbar is shown and hidden only
    // through Options, so the check mark always tells the truth.
    setContextMenuPolicy(Qt::NoContextMenu);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    tmrMain = new QTimer(this);
    tmrMain->setObjectName(QStringLiteral("tmrMain"));
    tmrMain->setInterval(7000);
    connect(tmrMain, &QTimer::timeout, this, &frmMainMenu::tmrMain_Timer);
    tmrMain->start();

    resize(platform::twipsToPixels(9600), platform::twipsToPixels(5400));
}

frmMainMenu::~frmMainMenu()
{
    platform::setStatusSink({});
}

void frmMainMenu::createActions()
{
    auto item = [this](const char *name, const QString &caption) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mnuFilCreateNewDatabase = item("mnuFilCreateNewDatabase", QStringLiteral("Create New &Database..."));
    mnuSepFil0 = separator(this, "mnuSepFil0");
    mnuFilOpenDatabase = item("mnuFilOpenDatabase", QStringLiteral("&Open Database..."));
    mnuFilSetDefaultDatabase = item("mnuFilSetDefaultDatabase", QStringLiteral("Set As De&fault Database"));
    mnuFilSep0_2 = separator(this, "mnuFilSep0_2");
    mnuFilAddCompany = item("mnuFilAddCompany", QStringLiteral("Add &Company..."));
    mnuFilAddTitle = item("mnuFilAddTitle", QStringLiteral("Add &Title..."));
    mnuFilAddIssue = item("mnuFilAddIssue", QStringLiteral("Add/Maintain &Issues..."));
    mnuFilSep0_3 = separator(this, "mnuFilSep0_3");
    mnuFilSetCurrentCoverPrice =
        item("mnuFilSetCurrentCoverPrice", QStringLiteral("Set Current Cover &Price..."));
    mnuFilBulkDelete = item("mnuFilBulkDelete", QStringLiteral("&Bulk Delete"));
    mnuFilSep1 = separator(this, "mnuFilSep1");
    mnuFilExit = item("mnuFilExit", QStringLiteral("E&xit"));
    // The platform's standard keys, beside the access keys.
    mnuFilExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuFilCreateNewDatabase->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFilOpenDatabase->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFilSep3 = separator(this, "mnuFilSep3");
    mnuFilArray[0] = item("mnuFilArray", QString());
    mnuFilArray[0]->setProperty("Index", 0);
    mnuFilArray[0]->setVisible(false);
    mnuFilArray[0]->setEnabled(false);

    mnuOptViewToolbar = item("mnuOptViewToolbar", QStringLiteral("View &ToolBar"));
    mnuOptUseDefaultDatabase =
        item("mnuOptUseDefaultDatabase", QStringLiteral("Use &Default Database on Startup"));

    mnuRepBrowseComics = item("mnuRepBrowseComics", QStringLiteral("&Browse Comics"));
    mnuRepSep1 = separator(this, "mnuRepSep1");
    mnuRepBasicReport001 = item("mnuRepBasicReport001", QStringLiteral("Basic Report 00&1"));
    mnuRepTitleWithNotes002 = item("mnuRepTitleWithNotes002", QStringLiteral("Title with Notes 00&2"));
    // "&&" is a literal ampersand; the access key is the "3".
    mnuRepValueByTitleAndCo =
        item("mnuRepValueByTitleAndCo", QStringLiteral("Value by Title && Co. Report 00&3"));
    mnuRepSep2 = separator(this, "mnuRepSep2");
    mnuRepMissingIssues = item("mnuRepMissingIssues", QStringLiteral("&Missing Issues..."));

    mnuHelPanelkeepHelp = item("mnuHelPanelkeepHelp", QStringLiteral("Panelkeep Help..."));
    mnuHelPanelkeepHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHelAbout = item("mnuHelAbout", QStringLiteral("&About..."));

    for (QAction *check : {mnuFilSetDefaultDatabase, mnuOptViewToolbar, mnuOptUseDefaultDatabase}) {
        check->setCheckable(true);
        check->setChecked(true);
    }

    connect(mnuFilCreateNewDatabase, &QAction::triggered, this, &frmMainMenu::mnuFilCreateNewDatabase_Click);
    connect(mnuFilOpenDatabase, &QAction::triggered, this, &frmMainMenu::mnuFilOpenDatabase_Click);
    bindCheckItem(mnuFilSetDefaultDatabase, [this] { mnuFilSetDefaultDatabase_Click(); });
    connect(mnuFilAddCompany, &QAction::triggered, this, &frmMainMenu::mnuFilAddCompany_Click);
    connect(mnuFilAddTitle, &QAction::triggered, this, &frmMainMenu::mnuFilAddTitle_Click);
    connect(mnuFilAddIssue, &QAction::triggered, this, &frmMainMenu::mnuFilAddIssue_Click);
    connect(mnuFilSetCurrentCoverPrice, &QAction::triggered, this,
            &frmMainMenu::mnuFilSetCurrentCoverPrice_Click);
    connect(mnuFilBulkDelete, &QAction::triggered, this, &frmMainMenu::mnuFilBulkDelete_Click);
    connect(mnuFilExit, &QAction::triggered, this, &frmMainMenu::mnuFilExit_Click);
    connect(mnuFilArray[0], &QAction::triggered, this, [this] { mnuFilArray_Click(0); });
    bindCheckItem(mnuOptViewToolbar, [this] { mnuOptViewToolbar_Click(); });
    bindCheckItem(mnuOptUseDefaultDatabase, [this] { mnuOptUseDefaultDatabase_Click(); });
    connect(mnuRepBrowseComics, &QAction::triggered, this, &frmMainMenu::mnuRepBrowseComics_Click);
    connect(mnuRepBasicReport001, &QAction::triggered, this, &frmMainMenu::mnuRepBasicReport001_Click);
    connect(mnuRepTitleWithNotes002, &QAction::triggered, this, &frmMainMenu::mnuRepTitleWithNotes002_Click);
    connect(mnuRepValueByTitleAndCo, &QAction::triggered, this, &frmMainMenu::mnuRepValueByTitleAndCo_Click);
    connect(mnuRepMissingIssues, &QAction::triggered, this, &frmMainMenu::mnuRepMissingIssues_Click);
    connect(mnuHelPanelkeepHelp, &QAction::triggered, this, &frmMainMenu::mnuHelPanelkeepHelp_Click);
    connect(mnuHelAbout, &QAction::triggered, this, &frmMainMenu::mnuHelAbout_Click);
}

void frmMainMenu::createMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    // The separator above the recent items stays even while none is shown.
    mnuFile->setSeparatorsCollapsible(false);
    mnuFile->addActions({mnuFilCreateNewDatabase, mnuSepFil0, mnuFilOpenDatabase, mnuFilSetDefaultDatabase,
                         mnuFilSep0_2, mnuFilAddCompany, mnuFilAddTitle, mnuFilAddIssue, mnuFilSep0_3,
                         mnuFilSetCurrentCoverPrice, mnuFilBulkDelete, mnuFilSep1, mnuFilExit, mnuFilSep3,
                         mnuFilArray[0]});

    mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuOptions->addActions({mnuOptViewToolbar, mnuOptUseDefaultDatabase});

    mnuReports = menuBar()->addMenu(QStringLiteral("&Reports"));
    mnuReports->setObjectName(QStringLiteral("mnuReports"));
    mnuReports->addActions({mnuRepBrowseComics, mnuRepSep1, mnuRepBasicReport001, mnuRepTitleWithNotes002,
                            mnuRepValueByTitleAndCo, mnuRepSep2, mnuRepMissingIssues});

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelp->addActions({mnuHelPanelkeepHelp, mnuHelAbout});
}

void frmMainMenu::createToolBar()
{
    tbarMain = new QToolBar(QStringLiteral("tbarMain"), this);
    tbarMain->setObjectName(QStringLiteral("tbarMain"));
    tbarMain->setMovable(false);
    tbarMain->setFloatable(false);
    tbarMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbarMain->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, tbarMain);

    imgToolBar = loadToolBarImages();

    struct Button
    {
        const char *key;
        int image;
        const char *description;
        const char *tooltip;
    };
    static const Button buttons[] = {
        {nullptr, 0, nullptr, nullptr},
        {"New", 1, "New Database File", "Create New Database"},
        {"Open", 2, "Open Database", "Open Database File"},
        {nullptr, 0, nullptr, nullptr},
        {"AddCompany", 3, "Add Company", "Add Company"},
        {"AddTitle", 4, "Add Title", "Add Title"},
        {"MaintainIssue", 5, "Maintain Issue", "Maintain Issue Data"},
        {"CoverPrice", 6, "Default CoverPrice", "Set Cover Price"},
        {nullptr, 0, nullptr, nullptr},
        {"Browse", 7, "Browse", "Browse Comic Database"},
        {"Report1", 8, "Rep1", "Report 1 - Basic Report"},
        {"Report2", 9, "Rep2", "Report 2 - With Notes"},
        {"Report3", 10, "Rep3", "Report 3 Title/Co. Value"},
    };
    for (const Button &b : buttons) {
        if (!b.key) {
            m_buttons << tbarMain->addSeparator();
            continue;
        }
        auto *button = new QAction(this);
        const QString key = QLatin1String(b.key);
        button->setObjectName(QStringLiteral("tbarMain_") + key);
        button->setProperty("key", key);
        // What a toolbar customisation dialog would list the button as.
        button->setProperty("description", QLatin1String(b.description));
        button->setToolTip(QLatin1String(b.tooltip));
        // Shown only when the image is missing; also read out by screen readers.
        button->setText(QLatin1String(b.tooltip));
        button->setIcon(imgToolBar.value(b.image - 1));
        tbarMain->addAction(button);
        m_buttons << button;
    }
    connect(tbarMain, &QToolBar::actionTriggered, this, &frmMainMenu::tbarMain_ButtonClick);
}

void frmMainMenu::createStatusBar()
{
    sbMain = new StatusBar(this);
    setStatusBar(sbMain);
    platform::setStatusSink([this](const QString &text) { sbMain->setPanelText(1, text); });
}

frmSplash *frmMainMenu::splash() const
{
    return m_splash;
}

QAction *frmMainMenu::tbarButton(int position) const
{
    return m_buttons.value(position - 1);
}

void frmMainMenu::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool frmMainMenu::event(QEvent *event)
{
    // Panel 1 is the program's message line; hover tips must not cover it.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void frmMainMenu::mnuFilExit_Click()
{
    close();
}

void frmMainMenu::tbarMain_ButtonClick(QAction *button)
{
    if (!button)
        return;
    const QString key = button->property("key").toString();
    if (key == QLatin1String("New"))
        mnuFilCreateNewDatabase_Click();
    else if (key == QLatin1String("Open"))
        mnuFilOpenDatabase_Click();
    else if (key == QLatin1String("AddCompany"))
        mnuFilAddCompany_Click();
    else if (key == QLatin1String("AddTitle"))
        mnuFilAddTitle_Click();
    else if (key == QLatin1String("MaintainIssue"))
        mnuFilAddIssue_Click();
    else if (key == QLatin1String("CoverPrice"))
        mnuFilSetCurrentCoverPrice_Click();
    else if (key == QLatin1String("Browse"))
        mnuRepBrowseComics_Click();
    else if (key == QLatin1String("Report1"))
        mnuRepBasicReport001_Click();
    else if (key == QLatin1String("Report2"))
        mnuRepTitleWithNotes002_Click();
    else if (key == QLatin1String("Report3"))
        mnuRepValueByTitleAndCo_Click();
}

void frmMainMenu::tmrMain_Timer()
{
    sbMain->setPanelText(1, IdlePrompt);
}

void frmMainMenu::mnuOptViewToolbar_Click()
{
    if (mnuOptViewToolbar->isChecked()) {
        tbarMain->hide();
        mnuOptViewToolbar->setChecked(false);
    } else {
        tbarMain->show();
        mnuOptViewToolbar->setChecked(true);
    }
}

void frmMainMenu::mnuHelPanelkeepHelp_Click()
{
    platform::showHelpContents(fileInDir(appDir, QStringLiteral("Kepix.hlp")));
}

void frmMainMenu::mnuHelAbout_Click()
{
    if (!m_splash)
        m_splash = new frmSplash(this);
    m_splash->setOuterHeight(platform::twipsToPixels(6000));
    m_splash->exec();
}

void frmMainMenu::mnuFilAddCompany_Click()
{
    runWritingScreenCommand<frmAddCompany>(
        tmrMain, this, [this] { ShowCollectionOpen(); }, [](frmAddCompany &) { return true; });
}

void frmMainMenu::mnuFilAddTitle_Click()
{
    runWritingScreenCommand<frmAddTitle>(
        tmrMain, this, [this] { ShowCollectionOpen(); },
        [](frmAddTitle &screen) { return screen.frmAddTitle_Set(); });
}

void frmMainMenu::mnuFilAddIssue_Click()
{
    runWritingScreenCommand<frmAddIssue>(
        tmrMain, this, [this] { ShowCollectionOpen(); },
        [](frmAddIssue &screen) { return LoadIssueCompanyList(screen); });
}

void frmMainMenu::mnuFilSetCurrentCoverPrice_Click()
{
    runWritingScreenCommand<frmCoverPrice>(
        tmrMain, this, [this] { ShowCollectionOpen(); },
        [](frmCoverPrice &screen) { return LoadCoverPriceCompanyList(screen); });
}

void frmMainMenu::mnuFilBulkDelete_Click()
{
    runWritingScreenCommand<frmBulkDelete>(
        tmrMain, this, [this] { ShowCollectionOpen(); },
        [](frmBulkDelete &screen) { return LoadBulkDeleteCompanyList(screen); });
}

void frmMainMenu::openSelection(int inStyle)
{
    runScreenCommand<frmSelectCriteria>(tmrMain, this, [this, inStyle](frmSelectCriteria &screen) {
        screen.appDir = appDir;
        screen.currentPath = currentPath;
        return screen.frmSelectCriteria_SetUpForm(inStyle);
    });
}

void frmMainMenu::mnuRepBrowseComics_Click()
{
    openSelection(0);
}

void frmMainMenu::mnuRepBasicReport001_Click()
{
    openSelection(1);
}

void frmMainMenu::mnuRepTitleWithNotes002_Click()
{
    openSelection(2);
}

void frmMainMenu::mnuRepValueByTitleAndCo_Click()
{
    openSelection(3);
}

void frmMainMenu::mnuRepMissingIssues_Click()
{
    openSelection(frmSelectCriteria::MissingIssuesUse);
}

} // namespace shell
