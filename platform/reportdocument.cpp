#include "platform/reportdocument.h"

#include "platform/nameorder.h"

#include "platform/csvfile.h"
#include "platform/currency.h"
#include "platform/engineerror.h"
#include "platform/missingissues.h"
#include "platform/reportdefinition.h"
#include "platform/reportformula.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <limits>
#include <sqlite3.h>
#include <vector>

namespace platform {

namespace {

using Layout = ReportDefinition::Layout;
constexpr std::int64_t Null = std::numeric_limits<std::int64_t>::min();

// Geometry in points (1/72 inch) inside the paint rectangle.
constexpr double Margin = 36;
constexpr double LineHeight = 12;
constexpr double NoteHeight = 11;
constexpr double CompanyHeight = 20;
constexpr double TitleHeight = 16;
constexpr double FooterHeight = 16;
constexpr double GrandHeight = 24;
constexpr double ContinuedHeight = 16;
constexpr double PageFooter = 20;
constexpr double Indent = 18;
constexpr double NoteIndent = 36;

QFont makeFont(int pixelSize, bool bold, bool italic)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// The few fonts of a report, made once: a font's number is its size with
// bold and italic as flags.
int fontNumber(int pixelSize, bool bold = false, bool italic = false)
{
    return pixelSize * 4 + (bold ? 1 : 0) + (italic ? 2 : 0);
}

const QFont &reportFont(int pixelSize, bool bold = false, bool italic = false)
{
    static QHash<int, QFont> fonts;
    const int n = fontNumber(pixelSize, bold, italic);
    auto it = fonts.find(n);
    if (it == fonts.end())
        it = fonts.insert(n, makeFont(pixelSize, bold, italic));
    return *it;
}

// A text shaped once: most cells of a long report repeat (conditions,
// quantities, common amounts), and shaping is the bulk of painting.
struct ShapedText
{
    QList<QGlyphRun> runs;
    double width = 0;
    double ascent = 0;
};

enum class Kind : std::uint8_t {
    CompanyHeader, // a = company
    TitleHeader,   // a = title
    IssueLine,     // a = row
    NoteLine,      // a = row, b = start, c = length in the row's notes
    RangeLine,     // a = title, b = start, c = length in the title's missing numbers
    TitleFooter,   // a = title (issues: counts; totals: the title's sums;
                   // missing: the title with its counts, above its ranges)
    CompanyFooter, // a = company
    GrandTotal,
    Nothing, // the selection matched no issue
};

struct Item
{
    Kind kind;
    std::int32_t a = 0, b = 0, c = 0;
};

struct Group
{
    QString id;
    QString name;
    int company = -1; // for a title
    ReportTotals totals;
};

[[noreturn]] void overflow()
{
    throw EngineError(
        errnum::Overflow,
        QStringLiteral("A total of this report is beyond the largest amount that can be shown."));
}

std::int64_t times(std::int64_t amount, std::int64_t quantity)
{
    std::int64_t r = 0;
    if (__builtin_mul_overflow(amount, quantity, &r))
        overflow();
    return r;
}

void add(ReportTotals &to, const ReportTotals &from)
{
    to.issues += from.issues;
    if (__builtin_add_overflow(to.copies, from.copies, &to.copies) ||
        __builtin_add_overflow(to.paid, from.paid, &to.paid) ||
        __builtin_add_overflow(to.value, from.value, &to.value) ||
        __builtin_add_overflow(to.held, from.held, &to.held) ||
        __builtin_add_overflow(to.missing, from.missing, &to.missing))
        overflow();
}

QString money(std::int64_t scaled)
{
    return formatCurrency(Currency::fromScaled(scaled));
}

// Opens the collection read-only, set up as every connection of ours: the
// file's own SQL never runs, and names come in the lists' order.
int openCollection(const QString &path, sqlite3 **db)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_busy_timeout(*db, 5000);
    sqlite3_db_config(*db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(*db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    registerNameOrder(*db);
    return SQLITE_OK;
}

// Every title with its company, in report order: company key and name, title
// key and name.
const char *const TitleListSql =
    "SELECT c.Company_ID, c.Company, t.Title_ID, t.Title FROM Title t JOIN Company c ON "
    "c.Company_ID = t.Company_ID ORDER BY c.Company COLLATE PKNAME, c.Company_ID, "
    "t.Title COLLATE PKNAME, t.Title_ID";

// The issues of one title (bound first) that the selection picks, in report
// order: titles come in report order from the list above, so no query has
// to sort the whole collection.
QString issueQuery(const QString &columns, const QString &where)
{
    return QStringLiteral("SELECT ") + columns +
           QStringLiteral(" FROM Issue i CROSS JOIN Title t ON t.Title_ID = i.Title_ID"
                          " CROSS JOIN Company c ON c.Company_ID = t.Company_ID"
                          " CROSS JOIN Condition k ON k.Condition_ID = i.Condition"
                          " LEFT JOIN CoverPrice p ON p.Title_ID = i.Title_ID WHERE i.Title_ID = ? AND (") +
           where + QStringLiteral(") ORDER BY i.IssueNum, i.Condition");
}

// The selection's values, after the title.
void bindSelection(sqlite3_stmt *stmt, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values.at(i);
        if (v.typeId() == QMetaType::QString)
            sqlite3_bind_text16(stmt, i + 2, v.toString().utf16(), -1, SQLITE_TRANSIENT);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(stmt, i + 2, v.toDouble());
        else
            sqlite3_bind_int64(stmt, i + 2, v.toLongLong());
    }
}

} // namespace

class ReportDocumentImpl
{
public:
    ~ReportDocumentImpl() { closeCollection(); }

    void open(const ReportRequest &request);
    bool step();        // reads one row (or finishes); false once complete
    bool stepMissing(); // the missing layout: reads one title
    void paint(int page, QPainter &p) const;
    int writeIssueCsv(const QString &path) const;

    ReportRequest request;
    ReportDefinition def;
    QString words;
    QString whereSql; // the compiled selection, for reading the rows again
    QVariantList whereValues;
    QString fileName;
    QString dataPath; // the collection, whatever the current folder becomes
    QString date;
    bool complete = false;

    std::vector<Item> items;
    std::vector<int> pageStarts; // first item of each closed page, plus the open one
    std::vector<Group> companies, titles;
    ReportTotals grand;
    // Per row: its title, issue number, condition, then one cell per column
    // (numbers and amounts as is, texts as an index into strings; Null for
    // empty).
    std::vector<std::int32_t> rowTitle;
    std::vector<std::int16_t> rowNum, rowCondition;
    std::vector<std::int64_t> cells;
    std::vector<QString> notes;
    std::vector<QString> missingText; // per title, the missing layout only
    std::vector<QString> strings;
    QHash<QString, std::int64_t> stringIndex;

private:
    void closeCollection();
    [[noreturn]] void readFailed(int rc);
    void place(Item item, double keepWithNext = 0);
    void enterTitle(const QStringList &listed);
    void finish();
    void closeTitle();
    void closeCompany();
    double itemHeight(const Item &item) const;
    double bodyTop(const Item &first) const;
    double headerHeight() const { return m_headerHeight; }
    void paintHeader(QPainter &p, int page) const;
    void paintItem(QPainter &p, const Item &item, double y) const;
    void paintContinued(QPainter &p, const Item &first, double y) const;
    QString cellText(std::size_t row, int column) const;
    void useFont(QPainter &p, int pixelSize, bool bold = false, bool italic = false) const;
    const ShapedText &shaped(const QString &text) const;
    void drawLeft(QPainter &p, double x, double baseline, const QString &text, double maxWidth = 0) const;
    void drawRight(QPainter &p, double right, double baseline, const QString &text) const;

    mutable int m_font = 0;
    mutable QHash<QPair<int, QString>, ShapedText> m_shaped;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    int m_firstColumn = 0;
    double m_width = 0, m_height = 0, m_headerHeight = 0;
    QStringList m_wordLines;
    double m_y = 0; // where the next item goes on the open page
    int m_currentCompany = -1, m_currentTitle = -1;
    std::vector<QStringList> m_titleList; // company key and name, title key and name
    std::size_t m_nextTitle = 0;
    bool m_titleOpen = false;
};

void ReportDocumentImpl::closeCollection()
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void ReportDocumentImpl::readFailed(int rc)
{
    const QString message = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
    closeCollection();
    throw EngineError(errnum::Generic, QStringLiteral("The collection '%1' could not be read: %2.")
                                           .arg(QDir::toNativeSeparators(request.dataFile), message));
}

void ReportDocumentImpl::open(const ReportRequest &r)
{
    request = r;
    def = readReportDefinition(r.reportFile);
    const QString formula = r.formula.trimmed().isEmpty() ? def.selection : r.formula;
    // A wrong formula is refused before the collection is touched.
    compileFormula(formula);

    const QPageLayout page =
        QPageLayout(def.pageSize, def.orientation, QMarginsF(Margin, Margin, Margin, Margin));
    m_width = page.paintRect(QPageLayout::Point).width();
    m_height = page.paintRect(QPageLayout::Point).height();
    double columns = Indent;
    for (const ReportColumn &c : def.columns)
        columns += c.widthInches * 72;
    if (columns > m_width)
        throw EngineError(errnum::Generic, QStringLiteral("The columns of %1 are wider than its page.")
                                               .arg(QFileInfo(r.reportFile).fileName()));

    const QFileInfo info(r.dataFile);
    if (!info.isFile())
        throw EngineError(errnum::FileNotFound, QStringLiteral("The collection file '%1' was not found.")
                                                    .arg(QDir::toNativeSeparators(r.dataFile)));
    fileName = info.fileName();
    dataPath = info.absoluteFilePath();
    int rc = openCollection(dataPath, &m_db);
    if (rc != SQLITE_OK)
        readFailed(rc);

    QString sql =
        QStringLiteral("c.Company_ID, c.Company, t.Title_ID, t.Title, i.IssueNum, i.Condition, i.Quantity, "
                       "i.Original_Price, i.Current_Value, %1");
    sql = sql.arg(def.notes ? QStringLiteral("i.Notes") : QStringLiteral("NULL"));
    m_firstColumn = 10;
    for (const ReportColumn &c : def.columns)
        sql += QStringLiteral(", ") + c.field->sql();
    const CompiledFormula where =
        compileFormula(formula, [this](const ReportField &field, const QVariant &value) {
            QString lookup;
            if (field.column == QLatin1String("Company_ID"))
                lookup = QStringLiteral("SELECT Company FROM Company WHERE Company_ID = ?");
            else if (field.column == QLatin1String("Title_ID"))
                lookup = QStringLiteral("SELECT Title FROM Title WHERE Title_ID = ?");
            else if (field.column == QLatin1String("Condition") && field.table == QLatin1String("Issue"))
                lookup = QStringLiteral("SELECT Condition FROM Condition WHERE Condition_ID = ?");
            sqlite3_stmt *s = nullptr;
            QString name;
            if (!lookup.isEmpty() &&
                sqlite3_prepare_v2(m_db, lookup.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK) {
                if (value.typeId() == QMetaType::QString)
                    sqlite3_bind_text16(s, 1, value.toString().utf16(), -1, SQLITE_TRANSIENT);
                else
                    sqlite3_bind_int64(s, 1, value.toLongLong());
                if (sqlite3_step(s) == SQLITE_ROW)
                    name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
            }
            sqlite3_finalize(s);
            return name;
        });
    words = where.words;
    // What the missing layout lists are titles, with or without issues.
    if (def.layout == Layout::Missing && formula.trimmed().isEmpty())
        words = QStringLiteral("All titles");
    whereSql = where.sql;
    whereValues = where.values;
    // Titles in report order, then each title's issues through the issue
    // key (title, number, condition): rows come already in order, so the
    // first page needs no sort of the whole collection. One read
    // transaction keeps every statement on the same state of the file.
    sql = issueQuery(sql, where.sql);
    // The missing layout reads each title's numbers held, each once. A title
    // without issues gives one row without a number, so a selection of
    // company and title still lists it; one on the issues' own columns
    // leaves it out, as it leaves out the issues it does not select.
    if (def.layout == Layout::Missing)
        sql = QStringLiteral("SELECT i.IssueNum FROM Title t JOIN Company c ON c.Company_ID = t.Company_ID"
                             " LEFT JOIN CoverPrice p ON p.Title_ID = t.Title_ID"
                             " LEFT JOIN Issue i ON i.Title_ID = t.Title_ID"
                             " LEFT JOIN Condition k ON k.Condition_ID = i.Condition"
                             " WHERE t.Title_ID = ? AND (") +
              where.sql + QStringLiteral(") GROUP BY i.IssueNum ORDER BY i.IssueNum");
    const auto notACollection = [&] {
        closeCollection();
        return EngineError(errnum::NotACollection, QStringLiteral("'%1' is not a Panelkeep collection file.")
                                                       .arg(QDir::toNativeSeparators(r.dataFile)));
    };
    sqlite3_stmt *list = nullptr;
    if (sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(m_db, TitleListSql, -1, &list, nullptr) != SQLITE_OK)
        throw notACollection();
    while ((rc = sqlite3_step(list)) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < 4; ++c)
            row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(list, c)),
                                     sqlite3_column_bytes(list, c));
        m_titleList.push_back(row);
    }
    sqlite3_finalize(list);
    if (rc != SQLITE_DONE)
        readFailed(rc);
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &m_stmt, nullptr) != SQLITE_OK)
        throw notACollection();
    bindSelection(m_stmt, where.values);

    date = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    // The header is the same on every page: its height is known up front.
    const QFontMetricsF fm(reportFont(9));
    const QString selection = QStringLiteral("Selection: ") + words;
    QTextLayout text(selection, reportFont(9));
    text.beginLayout();
    for (QTextLine line = text.createLine(); line.isValid(); line = text.createLine()) {
        line.setLineWidth(m_width);
        m_wordLines << selection.mid(line.textStart(), line.textLength());
    }
    text.endLayout();
    m_headerHeight = 22 + 13 + 12 * m_wordLines.size() + 6 + 14 + 6;
    pageStarts.push_back(0);
    m_y = headerHeight();
}

double ReportDocumentImpl::itemHeight(const Item &item) const
{
    switch (item.kind) {
    case Kind::CompanyHeader: return CompanyHeight;
    case Kind::TitleHeader: return TitleHeight;
    case Kind::IssueLine: return LineHeight;
    case Kind::NoteLine: return NoteHeight;
    case Kind::RangeLine: return LineHeight;
    case Kind::TitleFooter: return def.layout == Layout::Totals ? LineHeight : FooterHeight;
    case Kind::CompanyFooter: return FooterHeight + 4;
    case Kind::GrandTotal: return GrandHeight;
    case Kind::Nothing: return GrandHeight;
    }
    return LineHeight;
}

// Where the items of a page start: under the header, and under a
// "continued" line when the page begins inside a company.
double ReportDocumentImpl::bodyTop(const Item &first) const
{
    const bool continued =
        first.kind != Kind::CompanyHeader && first.kind != Kind::GrandTotal && first.kind != Kind::Nothing;
    return headerHeight() + (continued ? ContinuedHeight : 0);
}

void ReportDocumentImpl::place(Item item, double keepWithNext)
{
    const double bottom = m_height - PageFooter;
    const double h = itemHeight(item);
    const bool pageEmpty = int(items.size()) == pageStarts.back();
    if (!pageEmpty && m_y + h + keepWithNext > bottom) {
        pageStarts.push_back(int(items.size()));
        m_y = bodyTop(item);
    } else if (pageEmpty) {
        m_y = bodyTop(item);
    }
    items.push_back(item);
    m_y += h;
}

void ReportDocumentImpl::closeTitle()
{
    if (m_currentTitle < 0)
        return;
    place({Kind::TitleFooter, m_currentTitle});
    add(companies[std::size_t(m_currentCompany)].totals, titles[std::size_t(m_currentTitle)].totals);
    m_currentTitle = -1;
}

void ReportDocumentImpl::closeCompany()
{
    closeTitle();
    if (m_currentCompany < 0)
        return;
    place({Kind::CompanyFooter, m_currentCompany});
    add(grand, companies[std::size_t(m_currentCompany)].totals);
    m_currentCompany = -1;
}

void ReportDocumentImpl::finish()
{
    closeCompany();
    const bool any = def.layout == Layout::Missing ? !titles.empty() : grand.issues > 0;
    place({any ? Kind::GrandTotal : Kind::Nothing});
    closeCollection();
    complete = true;
}

// Opens the groups of the title `listed` (company key and name, title key
// and name) and makes it the current title.
void ReportDocumentImpl::enterTitle(const QStringList &listed)
{
    const QString &companyId = listed.at(0);
    const QString &titleId = listed.at(2);
    const bool newCompany = m_currentCompany < 0 || companies[std::size_t(m_currentCompany)].id != companyId;
    if (newCompany) {
        closeCompany();
        companies.push_back({companyId, listed.at(1), -1, {companyId}});
        m_currentCompany = int(companies.size()) - 1;
        place({Kind::CompanyHeader, m_currentCompany},
              def.layout == Layout::Totals ? LineHeight : TitleHeight + LineHeight);
    }
    if (newCompany || m_currentTitle < 0 || titles[std::size_t(m_currentTitle)].id != titleId) {
        closeTitle();
        titles.push_back({titleId, listed.at(3), m_currentCompany, {titleId}});
        m_currentTitle = int(titles.size()) - 1;
        if (def.layout == Layout::Issues)
            place({Kind::TitleHeader, m_currentTitle}, LineHeight);
    }
}

bool ReportDocumentImpl::stepMissing()
{
    if (complete)
        return false;
    while (m_nextTitle < m_titleList.size()) {
        const QStringList &listed = m_titleList[m_nextTitle++];
        sqlite3_reset(m_stmt);
        sqlite3_bind_text16(m_stmt, 1, listed.at(2).utf16(), int(listed.at(2).size() * 2), SQLITE_TRANSIENT);
        bool selected = false;
        std::vector<int> held;
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
            selected = true;
            if (sqlite3_column_type(m_stmt, 0) == SQLITE_NULL)
                continue;
            const std::int64_t number = sqlite3_column_int64(m_stmt, 0);
            if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
                throw EngineError(
                    errnum::Overflow,
                    QStringLiteral("Issue number %1 of %2 is beyond the numbers a report can show.")
                        .arg(number)
                        .arg(listed.at(3)));
            held.push_back(int(number));
        }
        if (rc != SQLITE_DONE)
            readFailed(rc);
        if (!selected)
            continue;

        enterTitle(listed);
        const MissingIssues m = missingIssues(std::move(held));
        Group &title = titles[std::size_t(m_currentTitle)];
        title.totals.held = m.held;
        title.totals.missing = m.missing;
        QString text = m.text();
        if (m.held == 0)
            text = QStringLiteral("None held");
        else if (m.missing == 0)
            text = QStringLiteral("None missing");
        missingText.resize(titles.size());
        missingText.back() = text;

        // Lines break only after a comma, so no run of numbers is ever cut.
        std::vector<Item> lines;
        const std::int32_t index = m_currentTitle;
        if (m.ranges.isEmpty()) {
            lines.push_back({Kind::RangeLine, index, 0, std::int32_t(text.size())});
        } else {
            const QFontMetricsF fm(reportFont(9));
            const double width = m_width - NoteIndent - 4;
            const double comma = fm.horizontalAdvance(QStringLiteral(", "));
            std::int32_t lineStart = 0, next = 0;
            double used = 0;
            for (const QString &range : m.ranges) {
                const double w = fm.horizontalAdvance(range);
                if (next > lineStart && used + w > width) {
                    lines.push_back({Kind::RangeLine, index, lineStart, next - lineStart});
                    lineStart = next;
                    used = 0;
                }
                next += std::int32_t(range.size()) + 2; // the range and its ", "
                used += w + comma;
            }
            lines.push_back({Kind::RangeLine, index, lineStart, std::int32_t(text.size()) - lineStart});
        }
        place({Kind::TitleFooter, m_currentTitle}, LineHeight);
        for (const Item &line : lines)
            place(line);
        add(companies[std::size_t(m_currentCompany)].totals, title.totals);
        m_currentTitle = -1;
        return true;
    }
    finish();
    return false;
}

bool ReportDocumentImpl::step()
{
    if (def.layout == Layout::Missing)
        return stepMissing();
    if (complete)
        return false;
    int rc = SQLITE_DONE;
    while (m_titleOpen || m_nextTitle < m_titleList.size()) {
        if (!m_titleOpen) {
            sqlite3_reset(m_stmt);
            const QString &id = m_titleList[m_nextTitle++].at(2);
            sqlite3_bind_text16(m_stmt, 1, id.utf16(), int(id.size() * 2), SQLITE_TRANSIENT);
            m_titleOpen = true;
        }
        rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_DONE)
            break;
        m_titleOpen = false;
    }
    if (rc == SQLITE_DONE) {
        finish();
        return false;
    }
    if (rc != SQLITE_ROW)
        readFailed(rc);

    const auto text = [this](int col) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, col)),
                                 sqlite3_column_bytes(m_stmt, col));
    };
    const auto amount = [this](int col) {
        return sqlite3_column_type(m_stmt, col) == SQLITE_NULL ? Null : sqlite3_column_int64(m_stmt, col);
    };
    enterTitle(m_titleList[m_nextTitle - 1]);

    const std::int64_t quantity = sqlite3_column_int64(m_stmt, 6);
    const std::int64_t original = amount(7), current = amount(8);
    ReportTotals &t = titles[std::size_t(m_currentTitle)].totals;
    t.issues += 1;
    t.copies += quantity;
    // Amounts are summed only where they are shown, so a collection with a
    // huge amount still gives its issue lists.
    if (def.layout == Layout::Totals) {
        if (__builtin_add_overflow(t.paid, original == Null ? 0 : times(original, quantity), &t.paid) ||
            __builtin_add_overflow(t.value, current == Null ? 0 : times(current, quantity), &t.value))
            overflow();
        return true;
    }

    const std::int32_t row = std::int32_t(rowTitle.size());
    rowTitle.push_back(m_currentTitle);
    rowNum.push_back(std::int16_t(sqlite3_column_int(m_stmt, 4)));
    rowCondition.push_back(std::int16_t(sqlite3_column_int(m_stmt, 5)));
    for (int c = 0; c < def.columns.size(); ++c) {
        const int col = m_firstColumn + c;
        if (sqlite3_column_type(m_stmt, col) == SQLITE_NULL) {
            cells.push_back(Null);
        } else if (def.columns.at(c).field->kind == ReportField::Kind::Text) {
            const QString s = text(col);
            auto it = stringIndex.constFind(s);
            if (it == stringIndex.cend()) {
                it = stringIndex.insert(s, std::int64_t(strings.size()));
                strings.push_back(s);
            }
            cells.push_back(*it);
        } else {
            cells.push_back(sqlite3_column_int64(m_stmt, col));
        }
    }
    if (!def.notes) {
        place({Kind::IssueLine, row});
        return true;
    }
    // Line breaks typed into a note start a new printed line.
    QString typed = text(9).trimmed();
    typed.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    typed.replace(QLatin1Char('\r'), QChar::LineSeparator).replace(QLatin1Char('\n'), QChar::LineSeparator);
    notes.push_back(typed);
    const QString &note = notes.back();
    std::vector<Item> lines;
    if (!note.isEmpty()) {
        QTextLayout layout(note, reportFont(9, false, true));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(m_width - NoteIndent);
            lines.push_back(
                {Kind::NoteLine, row, std::int32_t(line.textStart()), std::int32_t(line.textLength())});
        }
        layout.endLayout();
    }
    place({Kind::IssueLine, row}, lines.empty() ? 0 : NoteHeight);
    for (const Item &line : lines)
        place(line);
    return true;
}

QString ReportDocumentImpl::cellText(std::size_t row, int column) const
{
    const std::int64_t v = cells[row * std::size_t(def.columns.size()) + std::size_t(column)];
    if (v == Null)
        return {};
    switch (def.columns.at(column).field->kind) {
    case ReportField::Kind::Text: return strings[std::size_t(v)];
    case ReportField::Kind::Money: return money(v);
    case ReportField::Kind::Number: return QString::number(v);
    }
    return {};
}

namespace {

// The totals layout's columns: right edges from the page's right side.
struct TotalsColumns
{
    double issues, copies, paid, value, difference;
    explicit TotalsColumns(double width)
        : issues(width - 4.5 * 72)
        , copies(width - 3.85 * 72)
        , paid(width - 2.6 * 72)
        , value(width - 1.3 * 72)
        , difference(width)
    {}
};

// The missing layout's two count columns: right edges.
struct MissingColumns
{
    double held, missing;
    explicit MissingColumns(double width)
        : held(width - 1.1 * 72)
        , missing(width)
    {}
};

} // namespace

void ReportDocumentImpl::useFont(QPainter &p, int pixelSize, bool bold, bool italic) const
{
    m_font = fontNumber(pixelSize, bold, italic);
    p.setFont(reportFont(pixelSize, bold, italic));
}

const ShapedText &ReportDocumentImpl::shaped(const QString &text) const
{
    const QPair<int, QString> key(m_font, text);
    auto it = m_shaped.constFind(key);
    if (it != m_shaped.cend())
        return *it;
    if (m_shaped.size() > 50000)
        m_shaped.clear();
    ShapedText s;
    const QFont &font = reportFont(m_font / 4, m_font & 1, m_font & 2);
    // Glyph by glyph from the font itself when it has every letter: no
    // ligatures, so "ff" stays two letters for search and copy in a PDF
    // reader. Other texts go through full shaping with fallback fonts.
    const QRawFont raw = QRawFont::fromFont(font);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (!glyphs.contains(0)) {
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
        QList<QPointF> positions;
        positions.reserve(advances.size());
        double x = 0;
        for (const QPointF &a : advances) {
            positions << QPointF(x, 0);
            x += a.x();
        }
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        s.runs << run;
        s.width = x;
    } else {
        QTextLayout layout(text, font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        s.runs = layout.glyphRuns();
        s.width = line.naturalTextWidth();
        s.ascent = line.ascent();
    }
    return *m_shaped.insert(key, s);
}

void ReportDocumentImpl::drawLeft(QPainter &p, double x, double baseline, const QString &text,
                                  double maxWidth) const
{
    const ShapedText *s = &shaped(text);
    if (maxWidth > 0 && s->width > maxWidth)
        s = &shaped(QFontMetricsF(p.font()).elidedText(text, Qt::ElideRight, maxWidth));
    for (const QGlyphRun &run : s->runs)
        p.drawGlyphRun(QPointF(x, baseline - s->ascent), run);
}

void ReportDocumentImpl::drawRight(QPainter &p, double right, double baseline, const QString &text) const
{
    drawLeft(p, right - shaped(text).width, baseline, text);
}

void ReportDocumentImpl::paintHeader(QPainter &p, int page) const
{
    useFont(p, 14, true);
    drawLeft(p, 0, 15, request.windowTitle);
    useFont(p, 9);
    drawLeft(p, 0, 33, QStringLiteral("Collection: ") + fileName);
    drawRight(p, m_width, 33, date);
    double y = 33;
    for (const QString &line : m_wordLines) {
        y += 12;
        drawLeft(p, 0, y, line);
    }
    y += 6;
    p.drawLine(QPointF(0, y), QPointF(m_width, y));
    // Column headings.
    useFont(p, 9, true);
    const double base = y + 12;
    if (def.layout == Layout::Issues) {
        double x = Indent;
        for (const ReportColumn &c : def.columns) {
            const double w = c.widthInches * 72;
            if (c.field->kind == ReportField::Kind::Text)
                drawLeft(p, x, base, c.heading);
            else
                drawRight(p, x + w - 8, base, c.heading);
            x += w;
        }
    } else if (def.layout == Layout::Missing) {
        const MissingColumns m(m_width);
        drawLeft(p, Indent, base, QStringLiteral("Title / Issues missing"));
        drawRight(p, m.held, base, QStringLiteral("Held"));
        drawRight(p, m.missing, base, QStringLiteral("Missing"));
    } else {
        const TotalsColumns t(m_width);
        drawLeft(p, Indent, base, QStringLiteral("Title"));
        drawRight(p, t.issues, base, QStringLiteral("Issues"));
        drawRight(p, t.copies, base, QStringLiteral("Copies"));
        drawRight(p, t.paid, base, QStringLiteral("Total Paid"));
        drawRight(p, t.value, base, QStringLiteral("Total Value"));
        drawRight(p, t.difference, base, QStringLiteral("Difference"));
    }
    p.drawLine(QPointF(0, base + 4), QPointF(m_width, base + 4));

    const double footer = m_height - PageFooter + 6;
    p.drawLine(QPointF(0, footer), QPointF(m_width, footer));
    useFont(p, 9);
    const QString number = complete ? QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageStarts.size())
                                    : QStringLiteral("Page %1").arg(page + 1);
    p.drawText(QRectF(0, footer + 2, m_width, 14), Qt::AlignHCenter | Qt::AlignTop, number);
}

void ReportDocumentImpl::paintContinued(QPainter &p, const Item &first, double y) const
{
    int company = -1, title = -1;
    switch (first.kind) {
    case Kind::TitleHeader: company = titles[std::size_t(first.a)].company; break;
    case Kind::IssueLine:
    case Kind::NoteLine: title = rowTitle[std::size_t(first.a)]; break;
    case Kind::RangeLine: title = first.a; break;
    case Kind::TitleFooter:
        if (def.layout == Layout::Issues)
            title = first.a;
        else
            company = titles[std::size_t(first.a)].company;
        break;
    case Kind::CompanyFooter: company = first.a; break;
    default: return;
    }
    QString text;
    if (title >= 0) {
        company = titles[std::size_t(title)].company;
        text = companies[std::size_t(company)].name + QStringLiteral(" \u2014 ") +
               titles[std::size_t(title)].name;
    } else {
        text = companies[std::size_t(company)].name;
    }
    useFont(p, 10, true, true);
    drawLeft(p, 0, y + 12, text + QStringLiteral(" (continued)"));
}

void ReportDocumentImpl::paintItem(QPainter &p, const Item &item, double y) const
{
    const double base = y + itemHeight(item) - 3;
    switch (item.kind) {
    case Kind::CompanyHeader:
        useFont(p, 11, true);
        drawLeft(p, 0, base, companies[std::size_t(item.a)].name);
        break;
    case Kind::TitleHeader:
        useFont(p, 10, true);
        drawLeft(p, Indent / 2, base, titles[std::size_t(item.a)].name);
        break;
    case Kind::IssueLine: {
        useFont(p, 9);
        double x = Indent;
        for (int c = 0; c < def.columns.size(); ++c) {
            const double w = def.columns.at(c).widthInches * 72;
            const QString text = cellText(std::size_t(item.a), c);
            if (def.columns.at(c).field->kind == ReportField::Kind::Text)
                drawLeft(p, x, base, text, w - 8);
            else
                drawRight(p, x + w - 8, base, text);
            x += w;
        }
        break;
    }
    case Kind::NoteLine:
        useFont(p, 9, false, true);
        drawLeft(p, NoteIndent, base,
                 notes[std::size_t(item.a)].mid(item.b, item.c).remove(QChar::LineSeparator));
        break;
    case Kind::RangeLine: {
        // "None held" and "None missing" read as remarks, not numbers.
        const ReportTotals &t = titles[std::size_t(item.a)].totals;
        useFont(p, 9, false, t.held == 0 || t.missing == 0);
        drawLeft(p, NoteIndent, base, missingText[std::size_t(item.a)].mid(item.b, item.c));
        break;
    }
    case Kind::TitleFooter: {
        const Group &t = titles[std::size_t(item.a)];
        if (def.layout == Layout::Missing) {
            const MissingColumns c(m_width);
            useFont(p, 9, true);
            drawLeft(p, Indent, base, t.name, c.held - 60 - Indent);
            useFont(p, 9);
            drawRight(p, c.held, base, QString::number(t.totals.held));
            drawRight(p, c.missing, base, QString::number(t.totals.missing));
            break;
        }
        if (def.layout == Layout::Issues) {
            useFont(p, 9, false, true);
            drawLeft(p, Indent, base,
                     QStringLiteral("%1: %2 issues, %3 copies")
                         .arg(t.name)
                         .arg(t.totals.issues)
                         .arg(t.totals.copies));
            break;
        }
        const TotalsColumns c(m_width);
        useFont(p, 9);
        drawLeft(p, Indent, base, t.name, c.issues - 40 - Indent);
        drawRight(p, c.issues, base, QString::number(t.totals.issues));
        drawRight(p, c.copies, base, QString::number(t.totals.copies));
        drawRight(p, c.paid, base, money(t.totals.paid));
        drawRight(p, c.value, base, money(t.totals.value));
        drawRight(p, c.difference, base, money(t.totals.value - t.totals.paid));
        break;
    }
    case Kind::CompanyFooter:
    case Kind::GrandTotal: {
        const ReportTotals &t = item.kind == Kind::GrandTotal ? grand : companies[std::size_t(item.a)].totals;
        const QString name = item.kind == Kind::GrandTotal
                                 ? QStringLiteral("Grand total")
                                 : QStringLiteral("Total %1").arg(companies[std::size_t(item.a)].name);
        useFont(p, item.kind == Kind::GrandTotal ? 10 : 9, true);
        const double top = y + 2;
        p.drawLine(QPointF(item.kind == Kind::GrandTotal ? 0 : Indent, top), QPointF(m_width, top));
        if (def.layout == Layout::Issues) {
            drawLeft(p, 0, base,
                     QStringLiteral("%1: %2 issues, %3 copies").arg(name).arg(t.issues).arg(t.copies));
            break;
        }
        if (def.layout == Layout::Missing) {
            const MissingColumns c(m_width);
            drawLeft(p, 0, base, name, c.held - 60);
            drawRight(p, c.held, base, QString::number(t.held));
            drawRight(p, c.missing, base, QString::number(t.missing));
            break;
        }
        const TotalsColumns c(m_width);
        drawLeft(p, 0, base, name);
        drawRight(p, c.issues, base, QString::number(t.issues));
        drawRight(p, c.copies, base, QString::number(t.copies));
        drawRight(p, c.paid, base, money(t.paid));
        drawRight(p, c.value, base, money(t.value));
        drawRight(p, c.difference, base, money(t.value - t.paid));
        break;
    }
    case Kind::Nothing:
        useFont(p, 10, false, true);
        drawLeft(p, 0, base,
                 def.layout == Layout::Missing ? QStringLiteral("No titles match the selection.")
                                               : QStringLiteral("No issues match the selection."));
        break;
    }
}

void ReportDocumentImpl::paint(int page, QPainter &p) const
{
    p.save();
    const QPaintDevice *device = p.device();
    p.scale(device->logicalDpiX() / 72.0, device->logicalDpiY() / 72.0);
    // Rules of half a point, however fine the device.
    p.setPen(QPen(Qt::black, 0.5));
    paintHeader(p, page);
    const std::size_t begin = std::size_t(pageStarts[std::size_t(page)]);
    const std::size_t end = std::size_t(page) + 1 < pageStarts.size()
                                ? std::size_t(pageStarts[std::size_t(page) + 1])
                                : items.size();
    if (begin < end) {
        double y = headerHeight();
        if (bodyTop(items[begin]) > y) {
            paintContinued(p, items[begin], y);
            y = bodyTop(items[begin]);
        }
        for (std::size_t i = begin; i < end; ++i) {
            paintItem(p, items[i], y);
            y += itemHeight(items[i]);
        }
    }
    p.restore();
}

// The selected issues read afresh from the collection in report order, with
// every column, in one read transaction of a connection of their own: the
// report's connection is let go once its pages are laid out.
int ReportDocumentImpl::writeIssueCsv(const QString &path) const
{
    struct Reader
    {
        sqlite3 *db = nullptr;
        sqlite3_stmt *titles = nullptr, *issues = nullptr;
        ~Reader()
        {
            sqlite3_finalize(issues);
            sqlite3_finalize(titles);
            sqlite3_close_v2(db);
        }
    } r;
    const auto failed = [&](int rc) {
        return EngineError(errnum::Generic,
                           QStringLiteral("The collection '%1' could not be read: %2.")
                               .arg(QDir::toNativeSeparators(request.dataFile),
                                    QString::fromUtf8(r.db ? sqlite3_errmsg(r.db) : sqlite3_errstr(rc))));
    };
    int rc = openCollection(dataPath, &r.db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(r.db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(r.db, TitleListSql, -1, &r.titles, nullptr);
    if (rc == SQLITE_OK) {
        const QString columns = QStringLiteral("c.Company, t.Title, i.IssueNum, k.Condition, i.Quantity, "
                                               "i.Original_Price, i.Current_Value, i.Notes");
        rc = sqlite3_prepare_v2(r.db, issueQuery(columns, whereSql).toUtf8().constData(), -1, &r.issues,
                                nullptr);
    }
    if (rc != SQLITE_OK)
        throw failed(rc);
    bindSelection(r.issues, whereValues);

    CsvFile file(path, issueCsvColumns(), dataPath);
    while ((rc = sqlite3_step(r.titles)) == SQLITE_ROW) {
        sqlite3_reset(r.issues);
        sqlite3_bind_text(r.issues, 1, reinterpret_cast<const char *>(sqlite3_column_text(r.titles, 2)),
                          sqlite3_column_bytes(r.titles, 2), SQLITE_TRANSIENT);
        while ((rc = sqlite3_step(r.issues)) == SQLITE_ROW)
            file.writeRow(r.issues);
        if (rc != SQLITE_DONE)
            throw failed(rc);
    }
    if (rc != SQLITE_DONE)
        throw failed(rc);
    file.commit();
    return file.rows();
}

ReportDocument::ReportDocument(std::unique_ptr<ReportDocumentImpl> impl)
    : m_impl(std::move(impl))
{}

ReportDocument::~ReportDocument() = default;

std::unique_ptr<ReportDocument> ReportDocument::open(const ReportRequest &request)
{
    auto impl = std::make_unique<ReportDocumentImpl>();
    impl->open(request);
    return std::unique_ptr<ReportDocument>(new ReportDocument(std::move(impl)));
}

QString ReportDocument::windowTitle() const
{
    return m_impl->request.windowTitle;
}

QString ReportDocument::selectionWords() const
{
    return m_impl->words;
}

QPageLayout ReportDocument::pageLayout() const
{
    return QPageLayout(m_impl->def.pageSize, m_impl->def.orientation,
                       QMarginsF(Margin, Margin, Margin, Margin));
}

bool ReportDocument::layOutUpTo(int page)
{
    // A page is final once the next one has begun.
    while (!m_impl->complete && int(m_impl->pageStarts.size()) <= page + 1)
        m_impl->step();
    return page >= 0 && page < pageCount();
}

bool ReportDocument::layOutSome(int maxMilliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!m_impl->complete) {
        for (int i = 0; i < 256 && m_impl->step(); ++i) {
        }
        if (timer.elapsed() >= maxMilliseconds)
            break;
    }
    return m_impl->complete;
}

bool ReportDocument::isComplete() const
{
    return m_impl->complete;
}

int ReportDocument::pageCount() const
{
    return int(m_impl->pageStarts.size()) - (m_impl->complete ? 0 : 1);
}

void ReportDocument::paintPage(int page, QPainter &painter) const
{
    if (page < 0 || page >= pageCount())
        return;
    m_impl->paint(page, painter);
}

QList<ReportIssue> ReportDocument::issues() const
{
    QList<ReportIssue> list;
    list.reserve(qsizetype(m_impl->rowTitle.size()));
    for (std::size_t r = 0; r < m_impl->rowTitle.size(); ++r)
        list.push_back({m_impl->titles[std::size_t(m_impl->rowTitle[r])].id, m_impl->rowNum[r],
                        m_impl->rowCondition[r]});
    return list;
}

QList<ReportTotals> ReportDocument::titleTotals() const
{
    QList<ReportTotals> list;
    for (const Group &g : m_impl->titles)
        list.push_back(g.totals);
    return list;
}

QList<ReportTotals> ReportDocument::companyTotals() const
{
    QList<ReportTotals> list;
    for (const Group &g : m_impl->companies)
        list.push_back(g.totals);
    return list;
}

ReportTotals ReportDocument::grandTotal() const
{
    return m_impl->grand;
}

QString ReportDocument::dataFile() const
{
    return m_impl->request.dataFile;
}

QString ReportDocument::csvRowName() const
{
    return m_impl->def.layout == Layout::Missing ? QStringLiteral("title") : QStringLiteral("issue");
}

int ReportDocument::writeCsv(const QString &path) const
{
    switch (m_impl->def.layout) {
    case Layout::Issues:
    case Layout::Totals: return m_impl->writeIssueCsv(path);
    case Layout::Missing: {
        // A want list: each title's counts and missing numbers, as laid out.
        while (!m_impl->complete)
            m_impl->step();
        CsvFile file(path, missingCsvColumns(), m_impl->dataPath);
        for (std::size_t i = 0; i < m_impl->titles.size(); ++i) {
            const Group &title = m_impl->titles[i];
            file.writeRow({m_impl->companies[std::size_t(title.company)].name, title.name,
                           qlonglong(title.totals.held), qlonglong(title.totals.missing),
                           m_impl->missingText[i]});
        }
        file.commit();
        return file.rows();
    }
    }
    return 0;
}

} // namespace platform
