// Times the CSV export of a whole large collection, from the browse grid's
// Export and from a report's preview, against the floor: the same rows read
// through SQLite's C API in the same order and written as the same bytes the
// plainest way (one buffer, fwrite). Each output is checked to be the
// floor's bytes exactly.
// Usage: bench_export [ISSUES...]   (default 10000 50000 200000)
// Each size gets a file of the timing shape (panelkeep-sample --reference).

#include "benchtiming.h"
#include "db/session.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/nameorder.h"
#include "platform/reportdocument.h"
#include "reports/browsecomics.h"
#include "reports/frmbrowsecomics.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <string>

namespace {

QTextStream &out = benchOut();

const char *const FloorSql =
    "SELECT Company.Company, Title.Title, Issue.IssueNum, Condition.Condition, Issue.Quantity, "
    "Issue.Original_Price, Issue.Current_Value, Issue.Notes FROM Company JOIN Title ON Company.Company_ID = "
    "Title.Company_ID JOIN Issue ON Title.Title_ID = Issue.Title_ID JOIN Condition ON "
    "Condition.Condition_ID = Issue.Condition ORDER BY Company.Company COLLATE PKNAME, Title.Title COLLATE "
    "PKNAME, Issue.IssueNum, Issue.Condition";

void quoted(std::string &to, const char *text, int bytes)
{
    to += '"';
    for (int i = 0; i < bytes; ++i) {
        if (text[i] == '"')
            to += '"';
        to += text[i];
    }
    to += '"';
}

void amount(std::string &to, long long scaled)
{
    char text[32];
    const unsigned long long m = scaled < 0 ? 0ULL - (unsigned long long)scaled : (unsigned long long)scaled;
    int n = std::snprintf(text, sizeof text, "%s%llu.%04llu", scaled < 0 ? "-" : "", m / 10000, m % 10000);
    for (int drop = 0; drop < 2 && text[n - 1] == '0'; ++drop)
        --n;
    to.append(text, std::size_t(n));
}

// The floor: the query through the C API, every row written to one buffer
// with the quoting and number forms of the export, then one fwrite.
double floorMs(const QString &file, const QString &csv)
{
    QElapsedTimer t;
    t.start();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    platform::registerNameOrder(db);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, FloorSql, -1, &stmt, nullptr);
    std::string buf = "\xEF\xBB\xBF\"Company\",\"Title\",\"Issue\",\"Condition\",\"Quantity\",\"Original "
                      "Price\",\"Current Value\",\"Notes\"\r\n";
    const bool text[] = {true, true, false, true, false, false, false, true};
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < 8; ++c) {
            if (c)
                buf += ',';
            if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
                continue;
            if (text[c])
                quoted(buf, reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                       sqlite3_column_bytes(stmt, c));
            else if (c == 5 || c == 6)
                amount(buf, sqlite3_column_int64(stmt, c));
            else
                buf += std::to_string(sqlite3_column_int64(stmt, c));
        }
        buf += "\r\n";
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    std::FILE *f = std::fopen(QFile::encodeName(csv).constData(), "wb");
    std::fwrite(buf.data(), 1, buf.size(), f);
    std::fclose(f);
    return double(t.nsecsElapsed()) / 1e6;
}

QByteArray digest(const QString &file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

int measure(const QString &file, const QString &folder)
{
    db::session().dbCollection = platform::Database::open(file);
    const QString floorCsv = folder + QStringLiteral("/floor.csv");
    const QString browseCsv = folder + QStringLiteral("/browse.csv");
    const QString reportCsv = folder + QStringLiteral("/report.csv");
    platform::setFileDialogHandler([&](const platform::FileDialogRequest &) { return browseCsv; });
    const platform::ReportRequest request{
        file, QCoreApplication::applicationDirPath() + QStringLiteral("/Kepix001.rpt"),
        QStringLiteral("Report 001"), QString()};
    std::vector<double> browse, report, floors;
    for (int run = 0; run < 3; ++run) {
        floors.push_back(floorMs(file, floorCsv));
        {
            // The grid after a browse of everything: its Export, dialog answered.
            frmBrowseComics form;
            QElapsedTimer t;
            t.start();
            if (!reports::ExportBrowseData(form))
                return 1;
            browse.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        QElapsedTimer t;
        t.start();
        const auto doc = platform::ReportDocument::open(request);
        doc->writeCsv(reportCsv);
        report.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const QByteArray expected = digest(floorCsv);
    const bool same = digest(browseCsv) == expected && digest(reportCsv) == expected;
    const double f = *std::min_element(floors.begin(), floors.end());
    const double b = *std::min_element(browse.begin(), browse.end());
    const double r = *std::min_element(report.begin(), report.end());
    out << QStringLiteral("%1 bytes, %2 same as the floor's\n")
               .arg(QFile(floorCsv).size())
               .arg(same ? QStringLiteral("both") : QStringLiteral("NOT"));
    out << QStringLiteral("  browse Export: %1 ms, floor %2 ms, ratio %3\n")
               .arg(b, 7, 'f', 1)
               .arg(f, 7, 'f', 1)
               .arg(b / f, 4, 'f', 2);
    out << QStringLiteral("  report Export CSV (open + write): %1 ms, floor %2 ms, ratio %3\n")
               .arg(r, 7, 'f', 1)
               .arg(f, 7, 'f', 1)
               .arg(r / f, 4, 'f', 2);
    return same ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setStatusSink([](const QString &) {});
    platform::setMessageHandler([](const platform::MessageRequest &request) {
        out << "message box: " << request.text << '\n';
        return platform::MsgAnswer::OK;
    });
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        args = QStringList{QStringLiteral("10000"), QStringLiteral("50000"), QStringLiteral("200000")};
    QTemporaryDir dir;
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/panelkeep-sample");
    try {
        for (const QString &issues : args) {
            const QString file = dir.filePath(QStringLiteral("reference-%1.pkx").arg(issues));
            QProcess sample;
            sample.setStandardOutputFile(QProcess::nullDevice());
            sample.start(tool, {file, QStringLiteral("--reference"), QStringLiteral("--issues"), issues,
                                QStringLiteral("--seed"), QStringLiteral("1")});
            if (!sample.waitForFinished(-1) || sample.exitCode() != 0) {
                out << "panelkeep-sample failed\n";
                return 1;
            }
            out << issues << " issues: ";
            if (measure(file, dir.path()) != 0)
                return 1;
            out.flush();
        }
    } catch (const platform::EngineError &e) {
        out << "engine error " << e.number() << ": " << e.text() << '\n';
        return 1;
    }
    return 0;
}
