// Times the engine on a large collection: building a sample, opening it,
// and opening, scrolling and searching large recordsets.
// Usage: bench_engine [ISSUES]   (default 100000)

#include "benchtiming.h"
#include "db/collectionfile.h"
#include "platform/database.h"
#include "platform/engineerror.h"
#include "platform/recordset.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

using namespace platform;

namespace {

QTextStream &out = benchOut();

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString issues = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("100000");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.pkx"));
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-sample");

    try {
        int rc = -1;
        timeIt(QStringLiteral("create sample of %1 issues (panelkeep-sample)").arg(issues), [&] {
            rc = QProcess::execute(tool, {file, QStringLiteral("--issues"), issues});
        });
        if (rc != 0) {
            out << "panelkeep-sample failed\n";
            return 1;
        }
        out << QStringLiteral("file size %1 KiB\n").arg(QFileInfo(file).size() / 1024);

        Database db;
        timeIt(QStringLiteral("OpenCollectionFile (checks included)"),
               [&] { db = db::OpenCollectionFile(file); });

        std::unique_ptr<Recordset> rs;
        timeIt(QStringLiteral("open dynaset over all issues, ordered"), [&] {
            rs = db.openRecordset(
                QStringLiteral("SELECT * FROM Issue ORDER BY Title_ID, IssueNum, Condition"));
        });
        out << QStringLiteral("  rows %1\n").arg(rs->recordCount());
        qint64 sum = 0;
        timeIt(QStringLiteral("scroll forward through it, reading 3 fields"), [&] {
            for (rs->moveFirst(); !rs->eof(); rs->moveNext())
                sum += rs->value(QStringLiteral("IssueNum")).toInt() +
                       rs->value(QStringLiteral("Quantity")).toInt() +
                       rs->value(QStringLiteral("Title_ID")).toString().size();
        });
        timeIt(QStringLiteral("scroll backward through it, reading 1 field"), [&] {
            for (rs->moveLast(); !rs->bof(); rs->movePrevious())
                sum += rs->value(QStringLiteral("Condition")).toInt();
        });
        rs->moveLast();
        const Criteria last{{QStringLiteral("Title_ID"), rs->value(QStringLiteral("Title_ID"))},
                            {QStringLiteral("IssueNum"), rs->value(QStringLiteral("IssueNum"))},
                            {QStringLiteral("Condition"), rs->value(QStringLiteral("Condition"))}};
        timeIt(QStringLiteral("FindFirst of the last row (3 criteria)"), [&] { rs->findFirst(last); });
        timeIt(QStringLiteral("FindFirst without a match (whole scan)"), [&] {
            rs->findFirst({{QStringLiteral("Notes"), QStringLiteral("no such note")}});
        });
        timeIt(QStringLiteral("AddNew/Update then MoveLast"), [&] {
            rs->addNew();
            rs->setValue(QStringLiteral("Title_ID"), last.at(0).value);
            rs->setValue(QStringLiteral("IssueNum"), 32767);
            rs->setValue(QStringLiteral("Condition"), 1);
            rs->setValue(QStringLiteral("Quantity"), 1);
            rs->update();
            rs->moveLast();
        });
        rs.reset();

        timeIt(QStringLiteral("open snapshot of all issues"), [&] {
            rs = db.openRecordset(QStringLiteral("SELECT * FROM Issue"), RecordsetType::Snapshot);
        });
        timeIt(QStringLiteral("scroll the snapshot, reading 3 fields"), [&] {
            for (rs->moveFirst(); !rs->eof(); rs->moveNext())
                sum += rs->value(QStringLiteral("IssueNum")).toInt() +
                       rs->value(QStringLiteral("Quantity")).toInt() +
                       rs->value(QStringLiteral("Title_ID")).toString().size();
        });
        rs.reset();

        const QString title =
            db.scalar(QStringLiteral("SELECT Title_ID FROM Title ORDER BY Title_ID")).toString();
        timeIt(QStringLiteral("open one title's issues (dynaset)"), [&] {
            rs = db.openRecordset(
                QStringLiteral("SELECT * FROM Issue WHERE Title_ID = ? ORDER BY IssueNum, Condition"),
                RecordsetType::Dynaset, {title});
        });
        out << QStringLiteral("  rows %1\n").arg(rs->recordCount());
        timeIt(QStringLiteral("FindFirst in it by IssueNum and Condition"), [&] {
            rs->moveLast();
            const QVariant n = rs->value(QStringLiteral("IssueNum"));
            const QVariant c = rs->value(QStringLiteral("Condition"));
            rs->findFirst({{QStringLiteral("IssueNum"), n}, {QStringLiteral("Condition"), c}});
        });
        timeIt(QStringLiteral("Execute: update every issue's value (one statement)"),
               [&] { db.execute(QStringLiteral("UPDATE Issue SET Current_Value = Current_Value")); });
        out << QStringLiteral("  records affected %1\n").arg(db.recordsAffected());
        rs.reset();
        db.close();
        out << QStringLiteral("(checksum %1)\n").arg(sum);
    } catch (const EngineError &e) {
        out << "engine error " << e.number() << ": " << e.text() << '\n';
        return 1;
    }
    return 0;
}
