// Times loading a whole large collection into the browse grid: the query
// open, the grid fill and the whole load as the selection screen runs it.
// Usage: bench_browse [ISSUES]   (default 100000)

#include "benchtiming.h"
#include "db/collectionfile.h"
#include "db/session.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/messagebox.h"
#include "reports/browsecomics.h"
#include "reports/browsegrid.h"
#include "reports/frmbrowsecomics.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

namespace {

QTextStream &out = benchOut();

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString issues = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("100000");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.pkx"));
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-sample");

    // Any box would wait for a click that never comes: report it instead.
    platform::setMessageHandler([](const platform::MessageRequest &request) {
        out << "message box: " << request.text << '\n';
        return platform::MsgAnswer::OK;
    });
    int statuses = 0;
    platform::setStatusSink([&statuses](const QString &) { ++statuses; });

    try {
        int rc = -1;
        timeIt(QStringLiteral("create sample of %1 issues (panelkeep-sample)").arg(issues), [&] {
            rc = QProcess::execute(tool, {file, QStringLiteral("--issues"), issues});
        });
        if (rc != 0) {
            out << "panelkeep-sample failed\n";
            return 1;
        }
        db::session().dbCollection = db::OpenCollectionFile(file);

        for (int run = 1; run <= 3; ++run) {
            frmBrowseComics form;
            statuses = 0;
            bool loaded = false;
            timeIt(QStringLiteral("run %1: LoadBrowseData, whole collection").arg(run),
                   [&] { loaded = reports::LoadBrowseData(form, true, reports::AnyKey, reports::AnyKey); });
            if (!loaded) {
                out << "load failed\n";
                return 1;
            }
            out << QStringLiteral("  grid rows %1, status texts %2\n")
                       .arg(form.grdBrowse->rows())
                       .arg(statuses);
            timeIt(QStringLiteral("run %1: show the filled grid").arg(run), [&] {
                form.show();
                QCoreApplication::processEvents();
            });
            timeIt(QStringLiteral("run %1: hide the grid").arg(run), [&] { form.hide(); });
        }

        timeIt(QStringLiteral("query open and walk only (snapshot)"), [&] {
            auto &s = db::session();
            s.rsCoverPrice = s.dbCollection.openRecordset(
                QStringLiteral(
                    "Select Company.Company, Title.Title, Issue.IssueNum, Condition.Condition, "
                    "Issue.Quantity, Issue.Current_Value, Issue.Notes FROM Company INNER JOIN Title "
                    "ON Company.Company_ID = Title.Company_ID INNER JOIN Issue ON Title.Title_ID = "
                    "Issue.Title_ID INNER JOIN Condition ON Condition.Condition_ID = Issue.Condition "
                    "order by Company.Company, Title.Title, Issue.IssueNum, Issue.Condition"),
                platform::RecordsetType::Snapshot, {}, platform::RecordsetOption::ReadOnly);
            while (!s.rsCoverPrice->eof())
                s.rsCoverPrice->moveNext();
        });
        db::session().closeSlots();
        db::session().dbCollection.close();
    } catch (const platform::EngineError &e) {
        out << "engine error " << e.number() << ": " << e.text() << '\n';
        return 1;
    }
    return 0;
}
