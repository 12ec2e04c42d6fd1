#include "db/collectionfile.h"
#include "platform/database.h"
#include "platform/engineerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

class TestSample : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    static QString tool()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-sample");
    }

    static int run(const QStringList &args, QByteArray *err = nullptr)
    {
        QProcess p;
        p.start(tool(), args);
        if (!p.waitForFinished(120000))
            return -1;
        if (err)
            *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFile::exists(tool()), qPrintable(tool()));
    }

    void fillsACollection_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("issues");
        QTest::newRow("default") << QStringList{} << 300;
        QTest::newRow("none") << QStringList{"--issues", "0"} << 0;
        QTest::newRow("fewer than titles") << QStringList{"--issues", "7"} << 7;
        QTest::newRow("many") << QStringList{"--issues=20000"} << 20000;
    }
    void fillsACollection()
    {
        QFETCH(QStringList, extra);
        QFETCH(int, issues);
        const QString file = m_dir.filePath(QStringLiteral("sample-%1.pkx").arg(QTest::currentDataTag()));
        QCOMPARE(run(QStringList{file} + extra), 0);
        Database db = db::OpenCollectionFile(file);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Issue")).toInt(), issues);
        QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM Company")).toInt() >= 3);
        QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM Title")).toInt() >= 5);
        // Every title has its cover price; names carry apostrophes and accents.
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT count(*) FROM Title WHERE Title_ID NOT IN (SELECT Title_ID FROM "
                                     "CoverPrice)"))
                .toInt(),
            0);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT count(*) FROM Company WHERE Company = ?"), {"O'Malley Press"})
                .toInt(),
            1);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT count(*) FROM Company WHERE Company = ?"), {"Éditions Lumière"})
                .toInt(),
            1);
        // Keys are 1-3 characters, company keys upper case.
        QCOMPARE(db.scalar(QStringLiteral(
                               "SELECT count(*) FROM Company WHERE length(Company_ID) NOT BETWEEN 1 AND 3 "
                               "OR Company_ID <> upper(Company_ID)"))
                     .toInt(),
                 0);
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT count(*) FROM Title WHERE length(Title_ID) NOT BETWEEN 1 AND 3"))
                .toInt(),
            0);
        if (issues >= 300) {
            QVERIFY(db.scalar(QStringLiteral("SELECT count(DISTINCT Condition) FROM Issue")).toInt() >= 4);
            QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM Issue WHERE Notes IS NOT NULL")).toInt() >
                    0);
            QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM Issue WHERE Current_Value IS NOT NULL"))
                        .toInt() > 0);
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Issue WHERE Quantity < 1")).toInt(), 0);
        }
        db.close();
    }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("no path") << QStringList{} << 2;
        QTest::newRow("two paths") << QStringList{"a.pkx", "b.pkx"} << 2;
        QTest::newRow("issues not a number") << QStringList{"x.pkx", "--issues", "many"} << 2;
        QTest::newRow("negative issues") << QStringList{"x.pkx", "--issues", "-5"} << 2;
        QTest::newRow("too many issues") << QStringList{"x.pkx", "--issues", "99999999"} << 2;
        QTest::newRow("unknown option") << QStringList{"x.pkx", "--colour"} << 2;
    }
    void refusesBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        for (QString &a : args) {
            if (a.endsWith(QLatin1String(".pkx")))
                a = m_dir.filePath(a);
        }
        QByteArray err;
        QCOMPARE(run(args, &err), code);
        QVERIFY(err.contains("panelkeep-sample: "));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("x.pkx"))));
    }

    void leavesAnExistingFileAlone()
    {
        const QString file = m_dir.filePath(QStringLiteral("mine.pkx"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("precious");
        f.close();
        QByteArray err;
        QCOMPARE(run({file}, &err), 1);
        QVERIFY(err.contains("already exists"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("precious"));
    }
};

QTEST_GUILESS_MAIN(TestSample)
#include "tst_sample.moc"
