#include "support/tempcollection.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestReportTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void run_data()
    {
        QTest::addColumn<QString>("collection"); // "ok", "missing" or "text"
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error"); // a piece of the message; empty on success
        const QString out = QStringLiteral("OUT");
        QTest::newRow("report with formula")
            << "ok" << QStringList{"--report", "3", "--formula", "{Issue.Quantity} > 1;", "--pdf", out} << 0
            << "";
        QTest::newRow("missing issues")
            << "ok"
            << QStringList{"--report", "missing", "--formula", "{Company.Company_ID} = \"X\";", "--pdf", out}
            << 0 << "";
        QTest::newRow("missing file")
            << "missing" << QStringList{"--report", "1", "--pdf", out} << 1 << "was not found";
        QTest::newRow("not a collection")
            << "text" << QStringList{"--report", "1", "--pdf", out} << 1 << "not a Panelkeep collection";
        QTest::newRow("bad formula") << "ok" << QStringList{"--report",           "2",     "--formula",
                                                            "{Issue.Quantity} >", "--pdf", out}
                                     << 1 << "formula is wrong";
        QTest::newRow("unwritable output")
            << "ok" << QStringList{"--report", "1", "--pdf", "/nonexistent/dir/x.pdf"} << 1
            << "could not be written";
        QTest::newRow("the collection as output")
            << "ok" << QStringList{"--report", "1", "--pdf", "COLLECTION"} << 1
            << "the collection file itself";
        QTest::newRow("no such report")
            << "ok" << QStringList{"--report", "4", "--pdf", out} << 2 << "--report must be";
    }
    void run()
    {
        QFETCH(QString, collection);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        TempCollection c;
        QString file = c.path();
        if (collection != QLatin1String("ok")) {
            file = m_dir.filePath(QStringLiteral("other.pkx"));
            QFile::remove(file);
            if (collection == QLatin1String("text")) {
                QFile f(file);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("plain text");
            }
        }
        const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
        QFile::remove(pdf);
        args.replaceInStrings(QStringLiteral("OUT"), pdf);
        args.replaceInStrings(QStringLiteral("COLLECTION"), file);
        const auto contents = [&] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = contents();
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-report"),
                QStringList{file} + args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), exitCode);
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(err.contains(error), qPrintable(err));
        QCOMPARE(QFile::exists(pdf), exitCode == 0);
        QCOMPARE(contents(), before); // the collection is only read
    }
};

QTEST_MAIN(TestReportTool)
#include "tst_reporttool.moc"
