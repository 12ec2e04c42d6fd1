// Times report 001 (Issue Details) of large collections: the whole report to
// PDF, the first preview page, and the peak memory of a run, each measured in
// a fresh process; the floor is the report's query walked through raw SQLite.
// Usage: bench_report [ISSUES...]   (default 50000 200000; 100 companies and
// 5,000 titles each)

#include "benchtiming.h"
#include "db/collectionfile.h"
#include "platform/engineerror.h"
#include "platform/feedback.h"
#include "platform/reportdocument.h"
#include "platform/reportoutput.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

QTextStream &out = benchOut();

constexpr int Companies = 100;
constexpr int Titles = 5000;

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw platform::EngineError(platform::errnum::Generic, QString::fromUtf8(sqlite3_errmsg(db)));
}

// A collection of the reference shape: issues spread evenly over the titles,
// a note on one issue in five, some amounts empty.
void generate(const QString &path, int issues)
{
    db::CreateCollectionDatabase(path);
    sqlite3 *db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    const auto key = [](int n, char lead) {
        static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        return QByteArray() + lead + digits[n / 36 % 36] + digits[n % 36];
    };
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Company VALUES (?, ?)", -1, &s, nullptr);
    for (int c = 0; c < Companies; ++c) {
        const QByteArray id = key(c, 'C'),
                         name = QByteArray("Company ") + QByteArray::number(c * 7919 % 1000);
        sqlite3_bind_text(s, 1, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, (name + ' ' + id).constData(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(s), db);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db, "INSERT INTO Title VALUES (?, ?, '1990', ?)", -1, &s, nullptr);
    for (int t = 0; t < Titles; ++t) {
        const QByteArray id = key(t, char('a' + t / 1296)), company = key(t % Companies, 'C');
        const QByteArray name = QByteArray("Adventures ") + QByteArray::number(t * 104729 % 100000);
        sqlite3_bind_text(s, 1, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, company.constData(), -1, SQLITE_TRANSIENT);
        check(sqlite3_step(s), db);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db, "INSERT INTO Issue VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &s, nullptr);
    for (int i = 0; i < issues; ++i) {
        const int t = i % Titles;
        const QByteArray id = key(t, char('a' + t / 1296));
        sqlite3_bind_text(s, 1, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 2, i / Titles + 1);
        sqlite3_bind_int(s, 3, i % 8 + 1);
        sqlite3_bind_int(s, 4, i % 3 + 1);
        if (i % 10)
            sqlite3_bind_int64(s, 5, 15000 + i % 977 * 100);
        else
            sqlite3_bind_null(s, 5);
        if (i % 6)
            sqlite3_bind_int64(s, 6, 20000 + i % 4999 * 100);
        else
            sqlite3_bind_null(s, 6);
        if (i % 5 == 0)
            sqlite3_bind_text(s, 7, "Signed by the artist; a small crease on the back cover", -1,
                              SQLITE_STATIC);
        else
            sqlite3_bind_null(s, 7);
        check(sqlite3_step(s), db);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

double cpuMs();

// The report's rows, read the plainest way: the same joins and order,
// every column fetched.
double floorMs(const QString &path, double &cpu)
{
    const double cpu0 = cpuMs();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *s = nullptr;
    const double ms = timeIt(QStringLiteral("  floor: the report's query through raw SQLite"), [&] {
        check(sqlite3_prepare_v2(
                  db,
                  "SELECT c.Company_ID, c.Company, t.Title_ID, t.Title, i.IssueNum, i.Condition, "
                  "i.Quantity, i.Original_Price, i.Current_Value, k.Condition FROM Issue i "
                  "JOIN Title t ON t.Title_ID = i.Title_ID JOIN Company c ON c.Company_ID = "
                  "t.Company_ID JOIN Condition k ON k.Condition_ID = i.Condition ORDER BY "
                  "c.Company, c.Company_ID, t.Title, t.Title_ID, i.IssueNum, i.Condition",
                  -1, &s, nullptr),
              db);
        qint64 sum = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0; c < 10; ++c)
                sum += sqlite3_column_bytes(s, c);
        }
        if (sum == 0)
            out << "  (no rows)\n";
    });
    sqlite3_finalize(s);
    sqlite3_close(db);
    cpu = cpuMs() - cpu0;
    out << QStringLiteral("  floor processor time %1 ms\n").arg(cpu, 0, 'f', 1);
    return ms;
}

platform::ReportRequest request(const QString &file)
{
    return {file, QCoreApplication::applicationDirPath() + QStringLiteral("/Kepix001.rpt"),
            QStringLiteral("Panelkeep: Report 001 - Issue Details"), QString()};
}

long peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// Processor time of this process: on a busy shared machine the wall clock
// also counts the waits for a core.
double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e6 +
            double(u.ru_utime.tv_usec + u.ru_stime.tv_usec)) /
           1e3;
}

// One measurement in this (fresh) process; prints "ms pages peakMB cpuMs".
int child(const QString &what, const QString &file, const QString &pdf)
{
    const double cpu0 = cpuMs();
    QElapsedTimer t;
    t.start();
    auto doc = platform::ReportDocument::open(request(file));
    if (what == QLatin1String("pdf")) {
        platform::writeReportPdf(*doc, pdf);
    } else {
        // What a preview does for its first page: lay it out and paint it on
        // a screen-sized page image.
        doc->layOutUpTo(0);
        const QSizeF page = doc->pageLayout().fullRect(QPageLayout::Inch).size();
        QImage image(int(page.width() * 96), int(page.height() * 96), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        doc->paintPage(0, painter);
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    QTextStream(stdout) << ms << ' ' << doc->pageCount() << ' ' << peakMegabytes() << ' ' << cpuMs() - cpu0
                        << '\n';
    return 0;
}

QStringList runChild(const QString &what, const QString &file, const QString &pdf)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), what, file, pdf});
    p.waitForFinished(600000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char(' '));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    try {
        if (args.value(0) == QLatin1String("--child"))
            return child(args.value(1), args.value(2), args.value(3));
        if (args.isEmpty())
            args = {QStringLiteral("50000"), QStringLiteral("200000")};
        platform::setStatusSink([](const QString &) {});
        QTemporaryDir dir;
        double firstRate = 0;
        for (const QString &n : args) {
            const QString file = dir.filePath(QStringLiteral("bench-%1.pkx").arg(n));
            const QString pdf = dir.filePath(QStringLiteral("bench-%1.pdf").arg(n));
            out << QStringLiteral("%1 issues, %2 companies, %3 titles\n").arg(n).arg(Companies).arg(Titles);
            timeIt(QStringLiteral("  generate the collection"), [&] { generate(file, n.toInt()); });
            double floorCpu = 0;
            const double floor = floorMs(file, floorCpu);
            const QStringList whole = runChild(QStringLiteral("pdf"), file, pdf);
            const QStringList first = runChild(QStringLiteral("first"), file, pdf);
            if (whole.size() < 4 || first.size() < 4) {
                out << "  a run failed\n";
                return 1;
            }
            const double ms = whole.at(0).toDouble();
            const double perRow = ms / n.toDouble();
            if (firstRate == 0)
                firstRate = perRow;
            out << QStringLiteral(
                       "  report 001 to PDF: %1 ms (processor %7 ms), %2 pages, peak %3 MB; %4 x floor; "
                       "%5 us per issue (%6 x the first size's); processor %8 x floor's\n")
                       .arg(ms, 0, 'f', 1)
                       .arg(whole.at(1))
                       .arg(whole.at(2))
                       .arg(ms / floor, 0, 'f', 1)
                       .arg(perRow * 1000, 0, 'f', 2)
                       .arg(perRow / firstRate, 0, 'f', 2)
                       .arg(whole.at(3).toDouble(), 0, 'f', 1)
                       .arg(whole.at(3).toDouble() / floorCpu, 0, 'f', 1);
            out << QStringLiteral(
                       "  first preview page: %1 ms (processor %4 ms; open, lay out, paint); %2 x floor; "
                       "peak %3 MB\n")
                       .arg(first.at(0).toDouble(), 0, 'f', 1)
                       .arg(first.at(0).toDouble() / floor, 0, 'f', 2)
                       .arg(first.at(2))
                       .arg(first.at(3).toDouble(), 0, 'f', 1);
            out.flush();
        }
    } catch (const platform::EngineError &e) {
        out << "engine error " << e.number() << ": " << e.text() << '\n';
        return 1;
    }
    return 0;
}
