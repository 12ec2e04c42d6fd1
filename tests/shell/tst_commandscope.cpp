#include "shell/commandscope.h"

#include "platform/engineerror.h"
#include "support/scriptedui.h"

#include <QDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <new>
#include <stdexcept>

using namespace shell;
using platform::EngineError;

namespace {
// A screen that counts how it is used and closes itself once shown.
struct ScreenLog
{
    int loaded = 0;
    int shown = 0;
    int unloaded = 0;
};
ScreenLog screenLog;

class CountingScreen : public QDialog
{
public:
    explicit CountingScreen(QWidget *parent)
        : QDialog(parent)
    {
        ++screenLog.loaded;
    }
    ~CountingScreen() override { ++screenLog.unloaded; }
    int exec() override
    {
        ++screenLog.shown;
        QTimer::singleShot(0, this, &QDialog::accept);
        return QDialog::exec();
    }
};
} // namespace

class TestCommandScope : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void timerOffDuringWorkAndFreshAfter_data();
    void timerOffDuringWorkAndFreshAfter();
    void errorBecomesDataErrorBox_data();
    void errorBecomesDataErrorBox();
    void screenShownOnlyWhenFillSucceeds_data();
    void screenShownOnlyWhenFillSucceeds();
    void createCommandPointerSteps();
    void screenPosition_data();
    void screenPosition();
    void shownScreenLeavesStatusLineVisible();

private:
    QWidget window;
    QTimer timer;
};

void TestCommandScope::init()
{
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(7000);
    timer.start();
    window.unsetCursor();
    screenLog = {};
}

void TestCommandScope::timerOffDuringWorkAndFreshAfter_data()
{
    QTest::addColumn<int>("ending"); // 0 normal, 1 early return, 2 engine error, 3 other exception
    QTest::addColumn<bool>("hourglass");
    QTest::newRow("normal end") << 0 << false;
    QTest::newRow("normal end with hourglass") << 0 << true;
    QTest::newRow("early return with hourglass") << 1 << true;
    QTest::newRow("engine error with hourglass") << 2 << true;
    QTest::newRow("other exception with hourglass") << 3 << true;
}

void TestCommandScope::timerOffDuringWorkAndFreshAfter()
{
    QFETCH(int, ending);
    QFETCH(bool, hourglass);
    ScriptedUi ui;
    if (ending >= 2)
        ui.answer(platform::MsgAnswer::OK);
    // Let part of the interval pass so a fresh one can be told apart.
    QTest::qWait(300);
    QVERIFY(timer.remainingTime() < 6800);

    bool timerWasOff = false;
    Qt::CursorShape during = Qt::ArrowCursor;
    runCommand(&timer, &window,
               hourglass ? CommandScope::Pointer::Hourglass : CommandScope::Pointer::Unchanged,
               [&](CommandScope &) {
                   timerWasOff = !timer.isActive();
                   during = window.cursor().shape();
                   if (ending == 1)
                       return;
                   if (ending == 2)
                       throw EngineError(platform::errnum::Generic, QStringLiteral("disk I/O error"));
                   if (ending == 3)
                       throw std::runtime_error("out of memory");
               });
    QVERIFY(timerWasOff);
    QCOMPARE(during, hourglass ? Qt::WaitCursor : Qt::ArrowCursor);
    QVERIFY(timer.isActive());
    QVERIFY2(timer.remainingTime() > 6800, "enabling the timer starts a fresh interval");
    QCOMPARE(timer.interval(), 7000);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(ui.allAnswersUsed());
}

void TestCommandScope::errorBecomesDataErrorBox_data()
{
    QTest::addColumn<int>(
        "thrown"); // 0 engine error with a text, 1 without, 2 std exception, 3 anything else
    QTest::addColumn<QString>("text");
    const QString notice = QStringLiteral(
        "Unexpected data error, restart application and try again.  If problem persists, contact vendor");
    QTest::newRow("engine error keeps its text") << 0 << QStringLiteral("The key is already in use.");
    QTest::newRow("engine error without a text") << 1 << notice;
    QTest::newRow("standard exception") << 2 << notice;
    QTest::newRow("not a standard exception") << 3 << notice;
}

void TestCommandScope::errorBecomesDataErrorBox()
{
    QFETCH(int, thrown);
    QFETCH(QString, text);
    ScriptedUi ui;
    Qt::CursorShape atBox = Qt::WaitCursor;
    bool timerOffAtBox = false;
    platform::setMessageHandler([&](const platform::MessageRequest &request) {
        ui.boxes << request;
        atBox = window.cursor().shape();
        timerOffAtBox = !timer.isActive();
        return platform::MsgAnswer::OK;
    });
    runCommand(&timer, &window, CommandScope::Pointer::Hourglass, [thrown](CommandScope &) {
        if (thrown == 0)
            throw EngineError(platform::errnum::DuplicateKey, QStringLiteral("The key is already in use."));
        if (thrown == 1)
            throw EngineError(platform::errnum::Generic, QString());
        if (thrown == 2)
            throw std::bad_alloc();
        throw 42;
    });
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), describeBox(text, QStringLiteral("Data Error"),
                                                     platform::MsgButtons::OK, platform::MsgIcon::Critical));
    QCOMPARE(atBox, Qt::ArrowCursor);
    QVERIFY(timerOffAtBox);
    QVERIFY(timer.isActive());
}

void TestCommandScope::screenShownOnlyWhenFillSucceeds_data()
{
    QTest::addColumn<bool>("fillSucceeds");
    QTest::newRow("fill succeeds") << true;
    QTest::newRow("fill fails") << false;
}

void TestCommandScope::screenShownOnlyWhenFillSucceeds()
{
    QFETCH(bool, fillSucceeds);
    ScriptedUi ui;
    Qt::CursorShape duringFill = Qt::ArrowCursor;
    runScreenCommand<CountingScreen>(&timer, &window, [&](CountingScreen &) {
        duringFill = window.cursor().shape();
        return fillSucceeds;
    });
    QCOMPARE(screenLog.loaded, 1);
    QCOMPARE(screenLog.shown, fillSucceeds ? 1 : 0);
    QCOMPARE(screenLog.unloaded, 1);
    QCOMPARE(duringFill, Qt::WaitCursor);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(timer.isActive());
}

void TestCommandScope::createCommandPointerSteps()
{
    // The create command sets the hourglass only after its file dialog.
    CommandScope scope(&timer, &window);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    scope.hourglass();
    QCOMPARE(window.cursor().shape(), Qt::WaitCursor);
    scope.arrow();
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!timer.isActive());
}

void TestCommandScope::screenPosition_data()
{
    QTest::addColumn<QRect>("window"); // the main window's frame; its status line is its last 20 pixels
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("above the status line")
        << QRect(300, 400, 640, 360) << QSize(400, 300) << QPoint(420, 440);
    QTest::newRow("below the window") << QRect(300, 0, 640, 360) << QSize(400, 400) << QPoint(420, 360);
    QTest::newRow("beside the window") << QRect(0, 300, 640, 400) << QSize(600, 700) << QPoint(640, 300);
    QTest::newRow("nothing fits: the top") << QRect(300, 100, 700, 800) << QSize(900, 900) << QPoint(200, 0);
}

void TestCommandScope::screenPosition()
{
    QFETCH(QRect, window);
    QFETCH(QSize, screen);
    QFETCH(QPoint, expected);
    QCOMPARE(shell::screenPosition(screen, window, window.bottom() - 19, QRect(0, 0, 1280, 1024)), expected);
}

// A shown screen (its size larger than the main window) leaves the main
// window's status line uncovered.
void TestCommandScope::shownScreenLeavesStatusLineVisible()
{
    QMainWindow main;
    main.statusBar()->showMessage(QStringLiteral("Zero is not a valid Quantity!"));
    main.setGeometry(100, 250, 400, 200);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QRect shownAt;
    runScreenCommand<CountingScreen>(nullptr, &main, [&](CountingScreen &screen) {
        screen.setFixedSize(500, 220);
        QTimer::singleShot(0, &screen, [&] { shownAt = screen.frameGeometry(); });
        return true;
    });
    const QRect status(main.statusBar()->mapToGlobal(QPoint(0, 0)), main.statusBar()->size());
    QVERIFY(shownAt.isValid());
    QVERIFY2(!shownAt.intersects(status),
             qPrintable(QStringLiteral("screen at %1,%2").arg(shownAt.x()).arg(shownAt.y())));
}

QTEST_MAIN(TestCommandScope)
#include "tst_commandscope.moc"
