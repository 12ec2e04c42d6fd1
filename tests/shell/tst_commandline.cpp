#include "shell/commandline.h"

#include "support/scriptedui.h"

#include <QTest>

using namespace shell;

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void appendsToWhatIsThere();
    void argumentsSurviveJoining_data();
    void argumentsSurviveJoining();
    void noArguments();
    void unreadableCommandLine();
};

void TestCommandLine::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("only spaces") << QStringLiteral("   ") << QStringList();
    QTest::newRow("one path") << QStringLiteral("/data/comics.pkx") << QStringList{"/data/comics.pkx"};
    QTest::newRow("quoted path with spaces") << QStringLiteral("\"/home/ann/My Comics/main file.pkx\"")
                                             << QStringList{"/home/ann/My Comics/main file.pkx"};
    QTest::newRow("two arguments") << QStringLiteral("first.pkx second.pkx")
                                   << QStringList{"first.pkx", "second.pkx"};
    QTest::newRow("runs of spaces") << QStringLiteral("  a   b  ") << QStringList{"a", "b"};
    QTest::newRow("tab is ordinary") << QStringLiteral("a\tb c") << QStringList{"a\tb", "c"};
    QTest::newRow("tab inside quotes") << QStringLiteral("\"a\tb c\"") << QStringList{"a\tb c"};
    QTest::newRow("unclosed quote runs to the end")
        << QStringLiteral("x \"/my files/a.pkx") << QStringList{"x", "/my files/a.pkx"};
    QTest::newRow("quoted then plain") << QStringLiteral("\"a b\" c") << QStringList{"a b", "c"};
    QTest::newRow("quote opens a new argument") << QStringLiteral("ab\"c d\"") << QStringList{"ab", "c d"};
    QTest::newRow("closing quote ends the argument") << QStringLiteral("\"a b\"c") << QStringList{"a b", "c"};
    QTest::newRow("empty quoted argument keeps its place")
        << QStringLiteral("\"\" b") << QStringList{"", "b"};
}

void TestCommandLine::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QStringList args;
    const int count = SplitCommandLine(text, args);
    QCOMPARE(args, expected);
    QCOMPARE(count, expected.size());
}

void TestCommandLine::appendsToWhatIsThere()
{
    QStringList args{"kept"};
    QCOMPARE(SplitCommandLine(QStringLiteral("one \"two three\""), args), 3);
    QCOMPARE(args, (QStringList{"kept", "one", "two three"}));
}

void TestCommandLine::argumentsSurviveJoining_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("path with spaces is one argument") << QStringList{"/home/ann/My Comics/main file.pkx"}
                                                      << QStringList{"/home/ann/My Comics/main file.pkx"};
    QTest::newRow("plain and spaced")
        << QStringList{"a.pkx", "b c.pkx", "d"} << QStringList{"a.pkx", "b c.pkx", "d"};
    QTest::newRow("tab kept without quotes") << QStringList{"a\tb.pkx"} << QStringList{"a\tb.pkx"};
    QTest::newRow("empty first argument keeps the second second")
        << QStringList{"", "b.pkx"} << QStringList{"", "b.pkx"};
}

void TestCommandLine::argumentsSurviveJoining()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, expected);
    ScriptedUi ui;
    QStringList args;
    int count = -1;
    QVERIFY(GetCommandLineArgs(given, args, count));
    QCOMPARE(args, expected);
    QCOMPARE(count, expected.size());
    QVERIFY(ui.boxes.isEmpty());
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
