#include "shellfixture.h"

#include "shell/commandscope.h"
#include "shell/splash.h"

#include "platform/feedback.h"
#include "platform/keyboardstate.h"
#include "platform/twips.h"
#include "reports/frmselectcriteria.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

using namespace shell;
using namespace shelltest;
using namespace Qt::StringLiterals;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void menuTree_data();
    void menuTree();
    void menuBarOrder();
    void standardKeys_data();
    void standardKeys();
    void toolbar_data();
    void toolbar();
    void buttonRunsItsMenuItem_data();
    void buttonRunsItsMenuItem();
    void unknownButtonKeyDoesNothing();
    void windowStates();
    void caption_data();
    void caption();
    void timerRestoresIdlePrompt();
    void commandLeavesMessageForAFullInterval();
    void statusPanels();
    void lockPanelsFollowKeys();
    void viewToolbarToggles();
    void helpOpensKepixHlp();
    void aboutTwice();
    void splashHidesItsOkButton();

private:
    QTemporaryDir m_settings;
    QTemporaryDir m_dir;
};

void TestMainWindow::initTestCase()
{
    isolateSettings(m_settings);
    // Caps Lock followed by key presses, whatever the test machine's keyboard says.
    platform::KeyboardState::instance().setCapsLockQuery([] { return std::optional<bool>(); });
}

void TestMainWindow::cleanup()
{
    clearSettings();
    QDir::setCurrent(QDir::tempPath());
}

void TestMainWindow::menuTree_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items"); // objectName=caption, "-name" for separators
    QTest::addColumn<QStringList>("checked");

    QTest::newRow("File") << u"mnuFile"_s
                          << QStringList{"mnuFilCreateNewDatabase=Create New &Database...",
                                         "-mnuSepFil0",
                                         "mnuFilOpenDatabase=&Open Database...",
                                         "mnuFilSetDefaultDatabase=Set As De&fault Database",
                                         "-mnuFilSep0_2",
                                         "mnuFilAddCompany=Add &Company...",
                                         "mnuFilAddTitle=Add &Title...",
                                         "mnuFilAddIssue=Add/Maintain &Issues...",
                                         "-mnuFilSep0_3",
                                         "mnuFilSetCurrentCoverPrice=Set Current Cover &Price...",
                                         "mnuFilBulkDelete=&Bulk Delete",
                                         "-mnuFilSep1",
                                         "mnuFilExit=E&xit",
                                         "-mnuFilSep3",
                                         "mnuFilArray="}
                          << QStringList{"mnuFilSetDefaultDatabase"};
    QTest::newRow("Options") << u"mnuOptions"_s
                             << QStringList{"mnuOptViewToolbar=View &ToolBar",
                                            "mnuOptUseDefaultDatabase=Use &Default Database on Startup"}
                             << QStringList{"mnuOptViewToolbar", "mnuOptUseDefaultDatabase"};
    QTest::newRow("Reports") << u"mnuReports"_s
                             << QStringList{"mnuRepBrowseComics=&Browse Comics",
                                            "-mnuRepSep1",
                                            "mnuRepBasicReport001=Basic Report 00&1",
                                            "mnuRepTitleWithNotes002=Title with Notes 00&2",
                                            "mnuRepValueByTitleAndCo=Value by Title && Co. Report 00&3",
                                            "-mnuRepSep2",
                                            "mnuRepMissingIssues=&Missing Issues..."}
                             << QStringList{};
    QTest::newRow("Help") << u"mnuHelp"_s
                          << QStringList{"mnuHelPanelkeepHelp=Panelkeep Help...", "mnuHelAbout=&About..."}
                          << QStringList{};
}

void TestMainWindow::menuTree()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, checked);
    auto w = bareWindow(m_dir.path());
    auto *m = w->findChild<QMenu *>(menu);
    QVERIFY(m);
    QStringList actual;
    for (QAction *a : m->actions())
        actual << (a->isSeparator() ? QStringLiteral("-") + a->objectName()
                                    : a->objectName() + "=" + a->text());
    QCOMPARE(actual, items);
    for (QAction *a : m->actions()) {
        if (a->isSeparator())
            continue;
        if (a->objectName() == QLatin1String("mnuFilArray")) {
            QVERIFY(!a->isVisible() && !a->isEnabled());
            continue;
        }
        QVERIFY2(a->isEnabled() && a->isVisible(), qPrintable(a->objectName()));
        QCOMPARE(a->isChecked(), checked.contains(a->objectName()));
        QVERIFY2(a->statusTip().isEmpty(), "hovering a menu item leaves the message panel alone");
    }
    QVERIFY(!m->separatorsCollapsible() || menu != QLatin1String("mnuFile"));
}

void TestMainWindow::menuBarOrder()
{
    auto w = bareWindow(m_dir.path());
    QStringList titles;
    for (QAction *a : w->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Options", "&Reports", "&Help"}));
    QCOMPARE(w->windowTitle(), QStringLiteral("Panelkeep"));
}

void TestMainWindow::standardKeys_data()
{
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<QString>("done"); // what the key did
    QTest::newRow("Ctrl+N") << (Qt::CTRL | Qt::Key_N) << "chooser Please Specify Database File to Create";
    QTest::newRow("Ctrl+O") << (Qt::CTRL | Qt::Key_O) << "chooser Please Specify Database File for Open";
    QTest::newRow("F1") << QKeyCombination(Qt::Key_F1) << "help";
    QTest::newRow("Ctrl+Q") << (Qt::CTRL | Qt::Key_Q) << "ended";
}

// The keys are pressed on the shown window, so they reach the real menu.
void TestMainWindow::standardKeys()
{
    QFETCH(QKeyCombination, key);
    QFETCH(QString, done);
    ScriptedUi ui;
    ui.chooseFile(std::nullopt);
    auto run = start(m_dir.path());
    frmMainMenu &w = *run->window;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, key.key(), key.keyboardModifiers());
    QStringList did;
    for (const auto &r : ui.fileDialogs)
        did << "chooser " + r.title;
    if (!ui.helpRequests.isEmpty())
        did << "help";
    if (run->ended)
        did << "ended";
    QCOMPARE(did, QStringList{done});
}

void TestMainWindow::toolbar_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<int>("image");

    QTest::newRow("1") << 1 << u""_s << u""_s << u""_s << 0;
    QTest::newRow("2") << 2 << u"New"_s << u"New Database File"_s << u"Create New Database"_s << 1;
    QTest::newRow("3") << 3 << u"Open"_s << u"Open Database"_s << u"Open Database File"_s << 2;
    QTest::newRow("4") << 4 << u""_s << u""_s << u""_s << 0;
    QTest::newRow("5") << 5 << u"AddCompany"_s << u"Add Company"_s << u"Add Company"_s << 3;
    QTest::newRow("6") << 6 << u"AddTitle"_s << u"Add Title"_s << u"Add Title"_s << 4;
    QTest::newRow("7") << 7 << u"MaintainIssue"_s << u"Maintain Issue"_s << u"Maintain Issue Data"_s << 5;
    QTest::newRow("8") << 8 << u"CoverPrice"_s << u"Default CoverPrice"_s << u"Set Cover Price"_s << 6;
    QTest::newRow("9") << 9 << u""_s << u""_s << u""_s << 0;
    QTest::newRow("10") << 10 << u"Browse"_s << u"Browse"_s << u"Browse Comic Database"_s << 7;
    QTest::newRow("11") << 11 << u"Report1"_s << u"Rep1"_s << u"Report 1 - Basic Report"_s << 8;
    QTest::newRow("12") << 12 << u"Report2"_s << u"Rep2"_s << u"Report 2 - With Notes"_s << 9;
    QTest::newRow("13") << 13 << u"Report3"_s << u"Rep3"_s << u"Report 3 Title/Co. Value"_s << 10;
}

void TestMainWindow::toolbar()
{
    QFETCH(int, position);
    QFETCH(QString, key);
    QFETCH(QString, description);
    QFETCH(QString, tooltip);
    QFETCH(int, image);
    auto w = bareWindow(m_dir.path());
    QCOMPARE(w->tbarButtonCount(), 13);
    QCOMPARE(w->tbarMain->actions().size(), 13);
    QCOMPARE(w->tbarMain->actions().value(position - 1), w->tbarButton(position));
    QAction *b = w->tbarButton(position);
    QVERIFY(b);
    if (key.isEmpty()) {
        QVERIFY(b->isSeparator());
        return;
    }
    QCOMPARE(b->property("key").toString(), key);
    QCOMPARE(b->property("description").toString(), description);
    QCOMPARE(b->toolTip(), tooltip);
    QVERIFY(b->statusTip().isEmpty());
    QCOMPARE(w->imgToolBar.size(), 10);
    const QImage mine = b->icon().pixmap(24, 24).toImage();
    QVERIFY2(!mine.isNull(), "every button has its image");
    QCOMPARE(mine.size(), QSize(24, 24));
    QCOMPARE(mine, w->imgToolBar.at(image - 1).pixmap(24, 24).toImage());
    for (int other = 0; other < 10; ++other)
        if (other != image - 1)
            QVERIFY2(mine != w->imgToolBar.at(other).pixmap(24, 24).toImage(), "the ten images differ");
    auto *button = w->tbarMain->widgetForAction(b);
    QVERIFY(button);
}

void TestMainWindow::buttonRunsItsMenuItem_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shows");
    const QString selection = QStringLiteral("screen:Select Criteria for Report");
    QTest::newRow("New") << 2 << u"mnuFilCreateNewDatabase"_s
                         << u"dialog:Please Specify Database File to Create"_s;
    QTest::newRow("Open") << 3 << u"mnuFilOpenDatabase"_s
                          << u"dialog:Please Specify Database File for Open"_s;
    QTest::newRow("AddCompany") << 5 << u"mnuFilAddCompany"_s << u"screen:Add a New Company"_s;
    QTest::newRow("AddTitle") << 6 << u"mnuFilAddTitle"_s << u"screen:Add a Comic Book Title"_s;
    QTest::newRow("MaintainIssue") << 7 << u"mnuFilAddIssue"_s
                                   << u"screen:Maintain Comic Issue Information"_s;
    QTest::newRow("CoverPrice") << 8 << u"mnuFilSetCurrentCoverPrice"_s
                                << u"screen:Set Current Cover Price"_s;
    QTest::newRow("Browse") << 10 << u"mnuRepBrowseComics"_s << selection + " use 0";
    QTest::newRow("Report1") << 11 << u"mnuRepBasicReport001"_s << selection + " use 1";
    QTest::newRow("Report2") << 12 << u"mnuRepTitleWithNotes002"_s << selection + " use 2";
    QTest::newRow("Report3") << 13 << u"mnuRepValueByTitleAndCo"_s << selection + " use 3";
    // The menu's one item without a button (position 0).
    QTest::newRow("Missing issues") << 0 << u"mnuRepMissingIssues"_s << selection + " use 4";
}

void TestMainWindow::buttonRunsItsMenuItem()
{
    QFETCH(int, position);
    QFETCH(QString, item);
    QFETCH(QString, shows);
    QTemporaryDir dir;
    auto w = bareWindow(dir.path());
    // A collection with one company, so the Add screens open.
    TempCollection collection;
    collection.addCompany("ACM", "Acme");
    auto *menuItem = w->findChild<QAction *>(item);
    QVERIFY(menuItem);
    // What each one does, as the user sees it: a chooser asked for, a screen
    // shown (closed again at once), or a status text.
    auto effect = [&](QAction *a) {
        ScriptedUi ui;
        ui.chooseFile(std::nullopt);
        QStringList screens;
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                screens << QStringLiteral("screen:") + modal->windowTitle();
                if (auto *criteria = qobject_cast<frmSelectCriteria *>(modal))
                    screens.last() += QStringLiteral(" use %1").arg(criteria->inStyle());
                modal->close();
            }
        });
        closer.start();
        w->tmrMain->stop();
        a->trigger();
        closer.stop();
        QStringList seen = screens + ui.statuses;
        for (const auto &r : ui.fileDialogs)
            seen << QStringLiteral("dialog:") + r.title;
        seen << QStringLiteral("timer:%1").arg(w->tmrMain->isActive());
        return seen;
    };
    const QStringList fromMenu = effect(menuItem);
    const QStringList fromButton = position ? effect(w->tbarButton(position)) : fromMenu;
    QCOMPARE(fromButton, fromMenu);
    QVERIFY2(fromMenu.contains(shows), qPrintable(fromMenu.join(", ")));
    QVERIFY2(fromMenu.last() == QLatin1String("timer:1"), "every command ends with the timer running");
}

void TestMainWindow::unknownButtonKeyDoesNothing()
{
    ScriptedUi ui;
    auto w = bareWindow(m_dir.path());
    QAction stray;
    stray.setProperty("key", QStringLiteral("new"));
    w->tbarMain_ButtonClick(&stray);
    w->tbarMain_ButtonClick(nullptr);
    QVERIFY(ui.fileDialogs.isEmpty());
    QVERIFY(ui.statuses.isEmpty());
}

void TestMainWindow::windowStates()
{
    ScriptedUi ui;
    QTemporaryDir dir;
    auto w = bareWindow(dir.path());
    w->currentPath = makeCollection(dir.filePath("mine.pkx"));
    w->UpdateRecentList(w->currentPath);
    const QList<QAction *> always = {
        w->mnuFilCreateNewDatabase,  w->mnuFilOpenDatabase,  w->mnuFilExit,    w->mnuOptViewToolbar,
        w->mnuOptUseDefaultDatabase, w->mnuHelPanelkeepHelp, w->mnuHelAbout,   w->mnuOptions->menuAction(),
        w->mnuHelp->menuAction(),    w->tbarButton(2),       w->tbarButton(3), w->mnuFilArray[0]};
    for (int round = 0; round < 2; ++round) {
        w->ShowNoCollection();
        QCOMPARE(dataCommandsNotIn(*w, false), QStringList());
        QVERIFY(!w->mnuReports->isEnabled());
        QCOMPARE(w->windowTitle(), QStringLiteral("Panelkeep"));
        for (QAction *a : always)
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QCOMPARE(w->currentPath, dir.filePath("mine.pkx"));

        w->ShowCollectionOpen();
        QCOMPARE(dataCommandsNotIn(*w, true), QStringList());
        QVERIFY(w->mnuReports->isEnabled());
        for (QAction *a : w->mnuReports->actions())
            QVERIFY(a->isEnabled());
        QCOMPARE(w->windowTitle(), QStringLiteral("mine.pkx: Panelkeep"));
        for (QAction *a : always)
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
    }
    // A disabled button cannot be clicked while its menu item is enabled.
    w->ShowNoCollection();
    auto *button = w->tbarMain->widgetForAction(w->tbarButton(5));
    QVERIFY(button && !button->isEnabled());
}

void TestMainWindow::caption_data()
{
    QTest::addColumn<bool>("here");
    QTest::addColumn<QString>("name");
    QTest::newRow("file elsewhere: full path") << false << u"far away.pkx"_s;
    QTest::newRow("odd characters shown as themselves") << true << u"Bob & Ann [*].pkx"_s;
}

void TestMainWindow::caption()
{
    QFETCH(bool, here);
    QFETCH(QString, name);
    ScriptedUi ui;
    QTemporaryDir dir;
    QTemporaryDir other;
    auto w = bareWindow(dir.path());
    w->currentPath = makeCollection((here ? dir : other).filePath(name));
    QVERIFY(w->OpenCollection());
    w->winId();
    // What the title bar shows, after Qt has read its placeholders.
    QCOMPARE(w->windowHandle()->title(), (here ? name : w->currentPath) + QStringLiteral(": Panelkeep"));
}

void TestMainWindow::timerRestoresIdlePrompt()
{
    ScriptedUi ui;
    auto w = bareWindow(m_dir.path());
    QCOMPARE(w->tmrMain->interval(), 7000);
    QVERIFY(w->tmrMain->isActive());
    QVERIFY(!w->tmrMain->isSingleShot());
    platform::showStatus(QStringLiteral("Issue saved"));
    QCOMPARE(panel(*w, 1), QStringLiteral("Issue saved"));
    // Drive the real timer quickly rather than wait seven seconds.
    w->tmrMain->setInterval(20);
    w->tmrMain->start();
    QTRY_COMPARE(panel(*w, 1), QStringLiteral("Please select a menu item..."));
    platform::showStatus(QStringLiteral("again"));
    QTRY_COMPARE(panel(*w, 1), QStringLiteral("Please select a menu item..."));
}

void TestMainWindow::commandLeavesMessageForAFullInterval()
{
    ScriptedUi ui;
    auto w = bareWindow(m_dir.path());
    w->tmrMain->setTimerType(Qt::PreciseTimer);
    w->tmrMain->start();
    QTest::qWait(300);
    runCommand(w->tmrMain, w.get(), CommandScope::Pointer::Hourglass,
               [](CommandScope &) { platform::showStatus(QStringLiteral("Company Acme added...")); });
    QCOMPARE(panel(*w, 1), QStringLiteral("Company Acme added..."));
    QVERIFY(w->tmrMain->isActive());
    QVERIFY(w->tmrMain->remainingTime() > 6800);
    QVERIFY(ui.boxes.isEmpty());
    w->tmrMain_Timer();
    QCOMPARE(panel(*w, 1), QStringLiteral("Please select a menu item..."));
}

void TestMainWindow::statusPanels()
{
    auto w = bareWindow(m_dir.path());
    w->resize(900, 400);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const int widest = w->sbMain->panel(1)->width();
    for (int i = 2; i <= 4; ++i) {
        QVERIFY(w->sbMain->panel(i)->isVisible());
        QVERIFY2(w->sbMain->panel(i)->width() < widest, "panel 1 is the wide one");
        QVERIFY(w->sbMain->panel(i)->x() > w->sbMain->panel(i - 1)->x());
    }
    QCOMPARE(panel(*w, 2), QStringLiteral("INS"));
    QCOMPARE(panel(*w, 3), QStringLiteral("CAPS"));
    QCOMPARE(panel(*w, 4), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    // Hovering a toolbar button does not replace the message panel.
    platform::showStatus(QStringLiteral("kept"));
    QStatusTipEvent tip(QStringLiteral("tip"));
    QApplication::sendEvent(w->tbarMain->widgetForAction(w->tbarButton(2)), &tip);
    QVERIFY(w->sbMain->panel(1)->isVisible());
    QCOMPARE(panel(*w, 1), QStringLiteral("kept"));
}

void TestMainWindow::lockPanelsFollowKeys()
{
    auto &keys = platform::KeyboardState::instance();
    keys.reset();
    auto w = bareWindow(m_dir.path());
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QVERIFY(!w->sbMain->panel(2)->isEnabled());
    QVERIFY(!w->sbMain->panel(3)->isEnabled());
    QTest::keyClick(w->windowHandle(), Qt::Key_Insert);
    QVERIFY2(w->sbMain->panel(2)->isEnabled(), "one press, one toggle, however far the key travels");
    QTest::keyClick(w->windowHandle(), Qt::Key_CapsLock);
    QVERIFY(w->sbMain->panel(3)->isEnabled());
    QTest::keyClick(w->windowHandle(), Qt::Key_Insert, Qt::ShiftModifier);
    QVERIFY2(w->sbMain->panel(2)->isEnabled(), "Shift+Insert pastes; it is not the Insert toggle");
    QTest::keyClick(w->windowHandle(), Qt::Key_Insert);
    QTest::keyClick(w->windowHandle(), Qt::Key_CapsLock);
    QVERIFY(!w->sbMain->panel(2)->isEnabled());
    QVERIFY(!w->sbMain->panel(3)->isEnabled());
    // Where the window system tells the Caps Lock state, it is believed.
    bool capsOn = true;
    keys.setCapsLockQuery([&] { return std::optional<bool>(capsOn); });
    QVERIFY(w->sbMain->panel(3)->isEnabled());
    capsOn = false;
    QTest::keyClick(w->windowHandle(), Qt::Key_A);
    QVERIFY(!w->sbMain->panel(3)->isEnabled());
    keys.setCapsLockQuery([] { return std::optional<bool>(); });
}

void TestMainWindow::viewToolbarToggles()
{
    auto w = bareWindow(m_dir.path());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->mnuOptViewToolbar->trigger();
    QVERIFY(!w->tbarMain->isVisible());
    QVERIFY(!w->mnuOptViewToolbar->isChecked());
    w->mnuOptViewToolbar->trigger();
    QVERIFY(w->tbarMain->isVisible());
    QVERIFY(w->mnuOptViewToolbar->isChecked());
    QVERIFY2(w->contextMenuPolicy() == Qt::NoContextMenu, "no second way to hide the toolbar");
}

void TestMainWindow::helpOpensKepixHlp()
{
    ScriptedUi ui;
    auto w = bareWindow(m_dir.path());
    w->mnuHelPanelkeepHelp->trigger();
    w->appDir = QStringLiteral("/");
    w->mnuHelPanelkeepHelp->trigger();
    QCOMPARE(ui.helpRequests, (QStringList{m_dir.path() + QStringLiteral("/Kepix.hlp"), "/Kepix.hlp"}));
}

void TestMainWindow::aboutTwice()
{
    auto w = bareWindow(m_dir.path());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    for (int round = 0; round < 2; ++round) {
        struct Seen
        {
            bool visibleModal = false;
            bool okShown = false;
            QString caption;
            int outerHeight = 0;
            QString name, version;
            bool serif = false;
            bool picture = false;
            bool licence = false;
        } seen;
        QTimer::singleShot(0, w.get(), [&] {
            frmSplash *about = w->splash();
            if (!about)
                return;
            seen.visibleModal = about->isVisible() && about->isModal();
            seen.caption = about->windowTitle();
            seen.okShown = about->cmdOK->isVisible() && about->rect().contains(about->cmdOK->geometry());
            seen.outerHeight = about->frameGeometry().height();
            seen.name = about->Label1[1]->text();
            seen.version = about->Label1[0]->text();
            seen.serif = about->Label1[0]->font().styleHint() == QFont::Serif &&
                         about->Label1[1]->font().styleHint() == QFont::Serif;
            seen.picture = !about->Image1->pixmap().isNull();
            seen.licence = about->lblLicence->isVisible() &&
                           about->rect().contains(about->lblLicence->geometry()) &&
                           about->lblLicence->text().contains(QLatin1String("GPL-3.0-or-later"));
            // Clicking OK is what ends the modal display.
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        });
        w->mnuHelAbout->trigger();
        QVERIFY(seen.visibleModal);
        QCOMPARE(seen.caption, QStringLiteral("Panelkeep"));
        QVERIFY2(seen.okShown, "the About box shows its OK button");
        QCOMPARE(seen.outerHeight, platform::twipsToPixels(6000));
        QCOMPARE(seen.name, QStringLiteral("Panelkeep"));
        QCOMPARE(seen.version, QStringLiteral("Version 1.0"));
        QVERIFY(seen.serif);
        QVERIFY(seen.picture);
        QVERIFY2(seen.licence, "the About box names the licence");
        QVERIFY(w->splash() && !w->splash()->isVisible());
    }
}

void TestMainWindow::splashHidesItsOkButton()
{
    frmSplash splash;
    QCOMPARE(splash.size(), QSize(platform::twipsToPixels(5115), platform::twipsToPixels(4335)));
    QCOMPARE(splash.cmdOK->geometry().top(), platform::twipsToPixels(5040));
    QCOMPARE(splash.cmdOK->height(), platform::twipsToPixels(435));
    QVERIFY2(!splash.rect().intersects(splash.cmdOK->geometry()), "OK is out of sight on the splash");
    QVERIFY(!splash.rect().intersects(splash.lblLicence->geometry()));
    QCOMPARE(splash.Label1[1]->palette().color(QPalette::Window), splash.palette().color(QPalette::Light));
    QVERIFY(!splash.Label2->text().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
