#include "shell/commandline.h"

#include "support/scriptedui.h"

#include <QTest>

using namespace shell;

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void argumentsAsGiven_data();
    void argumentsAsGiven();
    void request_data();
    void request();
    void noArguments();
    void unreadableCommandLine();
};

void TestCommandLine::argumentsAsGiven_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::newRow("path with spaces is one argument") << QStringList{"/home/ann/My Comics/main file.pkx"};
    QTest::newRow("path with a double quote") << QStringList{"/home/ann/The \"Best\" of.pkx", "b"};
    QTest::newRow("plain and spaced") << QStringList{"a.pkx", "b c.pkx", "d"};
    QTest::newRow("tab kept") << QStringList{"a\tb.pkx"};
    QTest::newRow("empty first argument keeps the second second") << QStringList{"", "b.pkx"};
}

void TestCommandLine::argumentsAsGiven()
{
    QFETCH(QStringList, given);
    ScriptedUi ui;
    QStringList args{"stale"};
    int count = -1;
    QVERIFY(GetCommandLineArgs(given, args, count));
    QCOMPARE(args, given);
    QCOMPARE(count, given.size());
    QVERIFY(ui.boxes.isEmpty());
}

void TestCommandLine::request_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<int>("expected");
    QTest::newRow("nothing") << QStringList() << int(CommandLineRequest::Run);
    QTest::newRow("a file") << QStringList{"a.pkx", "--help"} << int(CommandLineRequest::Run);
    QTest::newRow("--help") << QStringList{"--help"} << int(CommandLineRequest::Help);
    QTest::newRow("--version, more after it")
        << QStringList{"--version", "a.pkx"} << int(CommandLineRequest::Version);
    QTest::newRow("a file named like an option") << QStringList{"./--help"} << int(CommandLineRequest::Run);
}

void TestCommandLine::request()
{
    QFETCH(QStringList, given);
    QFETCH(int, expected);
    QCOMPARE(int(commandLineRequest(given)), expected);
}

void TestCommandLine::noArguments()
{
    ScriptedUi ui;
    QStringList args{"stale"};
    int count = -1;
    QVERIFY(GetCommandLineArgs(QStringList(), args, count));
    QCOMPARE(count, 0);
    QVERIFY(args.isEmpty());
}

void TestCommandLine::unreadableCommandLine()
{
    ScriptedUi ui;
    ui.answer(platform::MsgAnswer::OK);
    QStringList args;
    int count = 0;
    QVERIFY(!GetCommandLineArgs(std::nullopt, args, count));
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()),
             describeBox(
                 QStringLiteral("Error Retrieving Command Line Arguments, Application Terminating, Contact "
                                "Support"),
                 QStringLiteral("Panelkeep"), platform::MsgButtons::OK, platform::MsgIcon::None));
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
