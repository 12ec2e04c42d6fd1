#include "browsefixture.h"
#include "db/session.h"
#include "platform/feedback.h"
#include "platform/twips.h"
#include "reports/browsecomics.h"
#include "reports/browsegrid.h"
#include "reports/frmbrowsecomics.h"
#include "support/scriptedui.h"
#include "support/tempcollection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace platform;
using namespace browsefixture;
using reports::LoadBrowseData;
using reports::SqlCondition;

namespace {
const QString NoDataStatus = QStringLiteral("No data exists to Browse");
const QString Populate =
    describeBox("Please populate the database prior to browsing, starting with Company Information",
                "No Comic Book Data", MsgButtons::OK, MsgIcon::None);
const QString NoneSelected = describeBox("No data exists for the specified selection criteria",
                                         "No Comic Book Data", MsgButtons::OK, MsgIcon::None);
const QString DataError = describeBox(
    "Unexpected data error, restart application and try again.  If problem persists, contact vendor",
    "Data Error", MsgButtons::OK, MsgIcon::None);

// Two companies whose names sort differently from their keys, three titles.
void twoCompanies(TempCollection &c)
{
    c.addCompany("ZED", "alpha Press");
    c.addCompany("ABC", "Zenith");
    c.addTitle("Ti", "beta Tales", "ZED");
    c.addTitle("AT", "Alpha Tales", "ZED");
    c.addTitle("ZT", "Zenith Tales", "ABC");
}

std::optional<SqlCondition> noWhere()
{
    return std::nullopt;
}
} // namespace

class tst_BrowseGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layoutOfAFill();
    void selections_data();
    void selections();
    void emptyResults_data();
    void emptyResults();
    void queryThatCannotOpen();
    void accentedNamesAmongTheirBaseLetters();
    void companyGrouping_data();
    void companyGrouping();
    void progressEvery250Rows();
    void moreRowsThanA16BitCount();
    void opensShowingEveryColumnWhole();
    void resizing_data();
    void resizing();
    void closing_data();
    void closing();
    void exporting_data();
    void exporting();
};

void tst_BrowseGrid::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

// Header, widths and alignments; one grid row per issue in company, title
// and issue order; values in the currency format; empty fields as empty
// cells; the closing status counts the header row.
void tst_BrowseGrid::layoutOfAFill()
{
    TempCollection c;
    twoCompanies(c);
    addIssue("ZT", 1, 8, 1, 1234567, "Signed");
    addIssue("Ti", 10, 2, 3, 50);
    addIssue("AT", 7, 1, 2, -1, "");
    addIssue("Ti", 2, 3, 1, 0, QString());
    ScriptedUi ui;
    frmBrowseComics f;

    QVERIFY(LoadBrowseData(f, true, "*", "*"));

    const BrowseGrid &g = *f.grdBrowse;
    QStringList headers;
    QList<int> widths, alignments;
    for (int col = 0; col < g.cols(); ++col) {
        headers << g.cellText(0, col);
        widths << g.colWidth(col);
        alignments << g.colAlignment(col);
    }
    QCOMPARE(headers, (QStringList{"Company", "Title", "Issue", "Condition", "Qty", "Value", "Notes"}));
    QCOMPARE(widths, (QList<int>{1600, 3000, 600, 700, 600, 800, 800}));
    QCOMPARE(alignments, (QList<int>{0, 0, 2, 2, 1, 1, 2}));
    QCOMPARE(gridRows(g), (QStringList{
                              "alpha Press|Alpha Tales|7|Mint|2||",
                              "|beta Tales|2|VeryFine|1|$0.00|",
                              "|beta Tales|10|NearMint|3|$0.50|",
                              "Zenith|Zenith Tales|1|Poor|1|$12,345.67|Signed",
                          }));
    QCOMPARE(g.rows(), 6);
    QCOMPARE(ui.statuses, (QStringList{"Selecting data...", "Data selected, preparing report screen...",
                                       "Preparing to load data to report screen...",
                                       "Loading first 250 rows...", "Load Done: Total = 5 rows"}));
    QVERIFY(ui.boxes.isEmpty());
    // Shown, a column is never narrower than its longest text; its set width stays.
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.grdBrowse->columnWidth(5) > f.grdBrowse->fontMetrics().horizontalAdvance("$12,345.67"));
    QVERIFY(f.grdBrowse->columnWidth(3) > f.grdBrowse->fontMetrics().horizontalAdvance("VeryFine"));
    QCOMPARE(f.grdBrowse->colWidth(5), 800);
    // The result stays in its slot after browsing.
    QVERIFY(db::session().rsCoverPrice && db::session().rsCoverPrice->isOpen());
}

// Company and title restrictions, alone and with a condition over the issue
// columns; keys with quotes are values like any other.
void tst_BrowseGrid::selections_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QVariantList>("params");
    QTest::addColumn<QStringList>("expected"); // "title id:issue"

    QTest::newRow("everything") << "*"
                                << "*" << QString() << QVariantList()
                                << QStringList{"AT:1", "Ti:1", "Ti:2", "q'\":1", "ZT:1", "ZT:2"};
    QTest::newRow("one company") << "ZED"
                                 << "*" << QString() << QVariantList() << QStringList{"AT:1", "Ti:1", "Ti:2"};
    QTest::newRow("company and title") << "ZED"
                                       << "Ti" << QString() << QVariantList() << QStringList{"Ti:1", "Ti:2"};
    QTest::newRow("key with quotes") << "Q'\""
                                     << "q'\"" << QString() << QVariantList() << QStringList{"q'\":1"};
    QTest::newRow("key letter case ignored")
        << "zed"
        << "ti" << QString() << QVariantList() << QStringList{"Ti:1", "Ti:2"};
    QTest::newRow("condition only") << "*"
                                    << "*"
                                    << "Issue.Quantity > ?" << QVariantList{1} << QStringList{"Ti:2", "ZT:2"};
    QTest::newRow("company and an OR condition") << "ZED"
                                                 << "*"
                                                 << "Issue.IssueNum = ? OR Issue.IssueNum = ?"
                                                 << QVariantList{2, 1} << QStringList{"AT:1", "Ti:1", "Ti:2"};
    QTest::newRow("title and an OR condition")
        << "ABC"
        << "ZT"
        << "Issue.IssueNum = ? OR Issue.Quantity = ?" << QVariantList{2, 1} << QStringList{"ZT:1", "ZT:2"};
}

void tst_BrowseGrid::selections()
{
    QFETCH(QString, company);
    QFETCH(QString, title);
    QFETCH(QString, where);
    QFETCH(QVariantList, params);
    QFETCH(QStringList, expected);

    TempCollection c;
    twoCompanies(c);
    c.addCompany("Q'\"", "Quote \"Co\"");
    c.addTitle("q'\"", "It's \"Here\"", "Q'\"");
    addIssue("AT", 1, 1, 1);
    addIssue("Ti", 1, 1, 1);
    addIssue("Ti", 2, 1, 2);
    addIssue("ZT", 1, 1, 1);
    addIssue("ZT", 2, 1, 5);
    addIssue("q'\"", 1, 1, 1);
    ScriptedUi ui;
    frmBrowseComics f;

    QVERIFY(LoadBrowseData(f, true, company, title,
                           where.isEmpty() ? noWhere() : std::make_optional(SqlCondition{where, params})));

    const QHash<QString, QString> ids{
        {"Alpha Tales", "AT"}, {"beta Tales", "Ti"}, {"Zenith Tales", "ZT"}, {"It's \"Here\"", "q'\""}};
    QStringList got;
    for (const QString &row : gridRows(*f.grdBrowse)) {
        const QStringList cells = row.split('|');
        got << ids.value(cells.at(1)) + ":" + cells.at(2);
    }
    QCOMPARE(got, expected);
}

// An empty result says why, in words that depend on whether anything was
// restricted, and the call fails.
void tst_BrowseGrid::emptyResults_data()
{
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("withWhere");
    QTest::addColumn<bool>("withIssues");
    QTest::addColumn<QString>("box");

    QTest::newRow("no issues, no restriction") << "*"
                                               << "*" << false << false << Populate;
    QTest::newRow("no issues, one company") << "ZED"
                                            << "*" << false << false << NoneSelected;
    QTest::newRow("no issues, company and title") << "ZED"
                                                  << "Ti" << false << false << NoneSelected;
    QTest::newRow("no issues, a condition only") << "*"
                                                 << "*" << true << false << NoneSelected;
    QTest::newRow("issues elsewhere, one company") << "ABC"
                                                   << "*" << false << true << NoneSelected;
    QTest::newRow("issues, none matching") << "*"
                                           << "*" << true << true << NoneSelected;
}

void tst_BrowseGrid::emptyResults()
{
    QFETCH(QString, company);
    QFETCH(QString, title);
    QFETCH(bool, withWhere);
    QFETCH(bool, withIssues);
    QFETCH(QString, box);

    TempCollection c;
    twoCompanies(c);
    if (withIssues)
        addIssue("Ti", 1, 1, 1);
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    frmBrowseComics f;

    const auto where = withWhere ? std::make_optional(SqlCondition{"Issue.Quantity > ?", {5}}) : noWhere();
    QVERIFY(!LoadBrowseData(f, true, company, title, where));

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), box);
    QCOMPARE(ui.statuses.last(), NoDataStatus);
}

// A query that cannot be opened is an unexpected error, not an empty
// result, even when the slot held an empty result from before.
void tst_BrowseGrid::queryThatCannotOpen()
{
    TempCollection c;
    twoCompanies(c);
    addIssue("Ti", 1, 1, 1);
    db::session().rsCoverPrice =
        db::dbCollection().openRecordset("Select * from Issue where 1 = 0", RecordsetType::Snapshot);
    ScriptedUi ui;
    ui.answer(MsgAnswer::OK);
    frmBrowseComics f;

    QVERIFY(!LoadBrowseData(f, true, "*", "*", SqlCondition{"Issue.NoSuchColumn > ?", {1}}));

    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(describe(ui.boxes.first()), DataError);
    QCOMPARE(ui.statuses.last(), QStringLiteral("Unexpected error condition"));
}

// Companies and titles sort with accents on their base letters; two
// companies equal but for an accent keep their rows apart.
void tst_BrowseGrid::accentedNamesAmongTheirBaseLetters()
{
    TempCollection c;
    c.addCompany("ZED", "Zed Comics");
    c.addCompany("ECA", "Éclair");
    c.addCompany("EMU", "emu");
    c.addCompany("ECL", "Eclair");
    c.addTitle("ET", "Été", "ECA");
    c.addTitle("AU", "Aube", "ECA");
    c.addTitle("ZU", "Zut", "ECL");
    c.addTitle("BI", "bise", "ECL");
    c.addTitle("EM", "Émeu", "EMU");
    c.addTitle("EN", "Enfin", "EMU");
    c.addTitle("ZD", "Zed", "ZED");
    for (const char *title : {"ET", "AU", "ZU", "BI", "EM", "EN", "ZD"})
        addIssue(title, 1, 1, 1);
    ScriptedUi ui;
    frmBrowseComics f;

    QVERIFY(LoadBrowseData(f, true, "*", "*"));

    QStringList got;
    for (const QString &row : gridRows(*f.grdBrowse))
        got << row.section('|', 0, 1);
    QCOMPARE(got, (QStringList{"Eclair|bise", "|Zut", "Éclair|Aube", "|Été", "emu|Émeu", "|Enfin",
                               "Zed Comics|Zed"}));
}

// The company is named where its run begins and again on the 17th, 33rd...
// row of the run; a new company starts a new count.
void tst_BrowseGrid::companyGrouping_data()
{
    QTest::addColumn<int>("first");  // issues of the first company
    QTest::addColumn<int>("second"); // issues of the second
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("16 issues") << 16 << 0 << QStringList{"1:alpha Press"};
    QTest::newRow("17 issues") << 17 << 0 << QStringList{"1:alpha Press", "17:alpha PressCont."};
    QTest::newRow("33 issues") << 33 << 0
                               << QStringList{"1:alpha Press", "17:alpha PressCont.", "33:alpha PressCont."};
    QTest::newRow("17 then 17") << 17 << 17
                                << QStringList{"1:alpha Press", "17:alpha PressCont.", "18:Zenith",
                                               "34:ZenithCont."};
    QTest::newRow("16 then 1") << 16 << 1 << QStringList{"1:alpha Press", "17:Zenith"};
}

void tst_BrowseGrid::companyGrouping()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QStringList, labels);

    TempCollection c;
    twoCompanies(c);
    addIssues("AT", first);
    addIssues("ZT", second);
    ScriptedUi ui;
    frmBrowseComics f;

    QVERIFY(LoadBrowseData(f, true, "*", "*"));

    QCOMPARE(companyLabels(*f.grdBrowse), labels);
    QCOMPARE(f.grdBrowse->rows(), first + second + 2);
}

// Progress is shown before the 250th issue is written and every 250 after.
void tst_BrowseGrid::progressEvery250Rows()
{
    TempCollection c;
    twoCompanies(c);
    addIssues("AT", 520);
    ScriptedUi ui;
    frmBrowseComics f;
    QList<int> rowsAtProgress;
    setStatusSink([&](const QString &text) {
        if (text.startsWith("Loaded"))
            rowsAtProgress << f.grdBrowse->rows();
    });

    const bool loaded = LoadBrowseData(f, true, "*", "*");
    setStatusSink({});

    QVERIFY(loaded);
    QStringList progress = ui.statuses.filter("Load");
    QCOMPARE(progress, (QStringList{"Loading first 250 rows...", "Loaded  250 rows...", "Loaded  500 rows...",
                                    "Load Done: Total = 521 rows"}));
    // Header, 249 written rows and the row about to be filled.
    QCOMPARE(rowsAtProgress, (QList<int>{251, 501}));
}

// A collection larger than a 16-bit count loads completely.
void tst_BrowseGrid::moreRowsThanA16BitCount()
{
    TempCollection c;
    twoCompanies(c);
    addIssues("AT", 32767);
    addIssues("ZT", 10);
    ScriptedUi ui;
    frmBrowseComics f;

    QVERIFY(LoadBrowseData(f, true, "*", "*"));

    QVERIFY(ui.boxes.isEmpty());
    QCOMPARE(f.grdBrowse->rows(), 32777 + 2);
    QCOMPARE(ui.statuses.last(), QStringLiteral("Load Done: Total = 32778 rows"));
    QCOMPARE(f.grdBrowse->cellText(32777, 2), QStringLiteral("10"));
}

// The grid opens wide enough for all seven columns, each as wide as its
// longest text, also where that text lies in a row far below the first page.
void tst_BrowseGrid::opensShowingEveryColumnWhole()
{
    TempCollection c;
    twoCompanies(c);
    c.addTitle("LT", "A Title Long Enough To Need Room", "ABC");
    addIssues("AT", 60);
    addIssue("LT", 32000, 4, 32000, 99999999, "Signed on the back, twice");
    ScriptedUi ui;
    frmBrowseComics f;
    QVERIFY(LoadBrowseData(f, true, "*", "*"));

    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

    const BrowseGrid &g = *f.grdBrowse;
    const int last = g.rows() - 2;
    for (int col = 0; col < g.cols(); ++col) {
        const QString text = col == 0 ? QStringLiteral("alpha PressCont.") : g.cellText(last, col);
        QVERIFY2(g.columnWidth(col) > g.fontMetrics().horizontalAdvance(text), qPrintable(text));
    }
    QCOMPARE(g.horizontalScrollBar()->maximum(), 0);
    QVERIFY(f.cmdClose->geometry().right() < f.width());
}

// Close follows the right edge with Export beside it; the grid takes the
// width and height left, each only while the form is large enough for it.
void tst_BrowseGrid::resizing_data()
{
    QTest::addColumn<int>("width"); // outer size in twips
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("closeLeft");
    QTest::addColumn<int>("exportLeft");
    QTest::addColumn<QSize>("grid"); // twips; -1 for kept

    QTest::newRow("opening size") << 8460 << 6165 << 8460 - 1755 << 5130 << QSize(8460 - 240, 6165 - 1350);
    QTest::newRow("wide and tall") << 15000 << 9000 << 15000 - 1755 << 11670
                                   << QSize(15000 - 240, 9000 - 1350);
    QTest::newRow("3345 wide") << 3345 << 6000 << 3345 - 1755 << 15 << QSize(3345 - 240, 6000 - 1350);
    QTest::newRow("1755 wide") << 1755 << 6000 << 10 << 10 << QSize(1755 - 240, 6000 - 1350);
    QTest::newRow("1770 wide") << 1770 << 6000 << 15 << 10 << QSize(1770 - 240, 6000 - 1350);
    QTest::newRow("240 wide, 1350 high") << 240 << 1350 << 10 << 10 << QSize(-1, -1);
    QTest::newRow("255 wide, 1365 high") << 255 << 1365 << 10 << 10 << QSize(15, 15);
}

void tst_BrowseGrid::resizing()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, closeLeft);
    QFETCH(int, exportLeft);
    QFETCH(QSize, grid);

    frmBrowseComics f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.resize(600, 400);
    QTRY_COMPARE(f.size(), QSize(600, 400));
    const QSize before = f.grdBrowse->size();
    const QSize frame = f.frameGeometry().size() - f.size();
    const QSize client = QSize(width / 15, height / 15) - frame;
    QVERIFY(client.width() > 0 && client.height() > 0);
    f.resize(client);
    QTRY_COMPARE(f.size(), client);

    QCOMPARE(f.cmdClose->x(), twipsToPixels(closeLeft));
    QCOMPARE(f.cmdExport->x(), twipsToPixels(exportLeft));
    QCOMPARE(f.cmdExport->y(), f.cmdClose->y());
    QCOMPARE(f.grdBrowse->width(), grid.width() < 0 ? before.width() : twipsToPixels(grid.width()));
    QCOMPARE(f.grdBrowse->height(), grid.height() < 0 ? before.height() : twipsToPixels(grid.height()));
}

// The Close button and Escape end the modal grid.
void tst_BrowseGrid::closing_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Close button") << false;
    QTest::newRow("Escape") << true;
}

void tst_BrowseGrid::closing()
{
    QFETCH(bool, escape);
    TempCollection c;
    twoCompanies(c);
    addIssue("Ti", 1, 1, 1);
    ScriptedUi ui;
    frmBrowseComics f;
    QVERIFY(LoadBrowseData(f, true, "*", "*"));
    bool active = false;
    QTimer::singleShot(0, &f, [&] {
        active = QTest::qWaitForWindowActive(&f);
        if (escape)
            QTest::keyClick(f.grdBrowse, Qt::Key_Escape);
        else
            QTest::mouseClick(f.cmdClose, Qt::LeftButton);
    });
    f.exec();
    QVERIFY(active);
    QVERIFY(!f.isVisible());
}

// The shown form exports from the keyboard, replacing an earlier file; a
// file that cannot be written, or the collection itself as the target, is
// told and leaves what was there; Cancel writes nothing.
void tst_BrowseGrid::exporting_data()
{
    QTest::addColumn<QString>("keys");   // "alt+x" or "tab"
    QTest::addColumn<QString>("target"); // in the test folder, which holds out.csv; or "collection"
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("box"); // what the message says; empty for none

    QTest::newRow("Alt+X") << "alt+x"
                           << "new.csv" << false << "Exported 2 issues to " << QString();
    QTest::newRow("Tab to Export, Enter, replacing")
        << "tab"
        << "out.csv" << false << "Exported 2 issues to " << QString();
    QTest::newRow("folder missing") << "alt+x"
                                    << "no/such/out.csv" << false << "Export failed"
                                    << "could not be written";
    QTest::newRow("the collection itself") << "alt+x"
                                           << "collection" << false << "Export failed"
                                           << "is the collection file itself";
    QTest::newRow("Cancel") << "alt+x"
                            << "out.csv" << true << "Export Cancelled..." << QString();
}

void tst_BrowseGrid::exporting()
{
    QFETCH(QString, keys);
    QFETCH(QString, target);
    QFETCH(bool, cancel);
    QFETCH(QString, status);
    QFETCH(QString, box);

    TempCollection c;
    twoCompanies(c);
    addIssue("Ti", 1, 1, 1, 250);
    addIssue("ZT", 2, 3, 4, -1, "Signed");
    QTemporaryDir out;
    const auto contents = [](const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QFile earlier(out.filePath("out.csv"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    const QString path = target == "collection" ? c.path() : out.filePath(target);
    const QByteArray before = contents(path);
    ScriptedUi ui;
    frmBrowseComics f;
    QVERIFY(LoadBrowseData(f, true, "*", "*"));
    ui.clearRecords();
    ui.chooseFile(cancel ? std::nullopt : std::make_optional(path));
    if (!box.isEmpty())
        ui.answer(MsgAnswer::OK);
    const QString folder = QDir::currentPath();
    bool active = false;
    QTimer::singleShot(0, &f, [&] {
        active = QTest::qWaitForWindowActive(&f);
        if (keys == "tab") {
            QCOMPARE(QApplication::focusWidget(), f.cmdClose);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f.cmdExport);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);
        }
        // An access key presses its button after a moment, as a click shows.
        QTRY_VERIFY(!ui.fileDialogs.isEmpty());
        f.cmdClose_Click();
    });
    f.exec();
    QVERIFY(active);

    QCOMPARE(ui.fileDialogs.size(), 1);
    const FileDialogRequest &request = ui.fileDialogs.first();
    QCOMPARE(QFileInfo(request.fileName).absolutePath(), QFileInfo(c.path()).absolutePath());
    QCOMPARE(QFileInfo(request.fileName).fileName(), QFileInfo(c.path()).completeBaseName() + ".csv");
    QVERIFY(request.overwritePrompt);
    QCOMPARE(qtNameFilters(request.filter).first(), QStringLiteral("CSV Files (*.csv)"));
    QCOMPARE(QDir::currentPath(), folder);
    QVERIFY2(ui.statuses.last().startsWith(status), qPrintable(ui.statuses.last()));
    QCOMPARE(ui.boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        QVERIFY2(ui.boxes.first().text.contains(box), qPrintable(ui.boxes.first().text));
        QCOMPARE(describe(ui.boxes.first()).section('|', 1), QStringLiteral("Browse Comics|OK|Exclamation"));
    }
    if (status.startsWith("Exported")) {
        QCOMPARE(ui.statuses.last(), status + QDir::toNativeSeparators(path));
        const QList<QByteArray> lines = contents(path).split('\n');
        QCOMPARE(lines.size(), 4); // header, two issues, nothing after the last CRLF
        QVERIFY(lines.at(1).startsWith("\"alpha Press\",\"beta Tales\",1,\"Mint\",1,,2.50,"));
        QVERIFY(lines.at(2).startsWith("\"Zenith\","));
    } else {
        // Nothing half-written: what was at the path is as it was.
        QCOMPARE(contents(path), before);
        QCOMPARE(contents(out.filePath("out.csv")), QByteArray("earlier"));
    }
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), target == "new.csv" ? 2 : 1);
    QVERIFY(ui.allAnswersUsed());
}

QTEST_MAIN(tst_BrowseGrid)
#include "tst_browsegrid.moc"
