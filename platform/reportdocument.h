#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <cstdint>
#include <memory>

class QPainter;

namespace platform {

struct ReportRequest
{
    QString dataFile;   // the collection file (data file 0)
    QString reportFile; // full path of Kepix00N.rpt
    QString windowTitle;
    QString formula; // selection formula text; empty = the definition's own selection
};

// One issue row the report shows: title, issue number, condition.
struct ReportIssue
{
    QString titleId;
    int issueNum = 0;
    int condition = 0;
    friend bool operator==(const ReportIssue &, const ReportIssue &) = default;
};

// Sums of one group (a title, a company or the whole report), amounts in
// ten-thousandths; an empty amount counts as zero. Amounts are summed only by
// a totals layout (report 003), numbers held and missing only by a missing
// layout (report 004), which counts no issues or copies.
struct ReportTotals
{
    QString id; // Title_ID or Company_ID; empty for the grand total
    int issues = 0;
    std::int64_t copies = 0;
    std::int64_t paid = 0;  // quantity x original price
    std::int64_t value = 0; // quantity x current value
    std::int64_t held = 0;  // issue numbers held, each once whatever its conditions
    std::int64_t missing = 0;
};

class ReportDocumentImpl;

// One report run: the definition, the selected rows and the pages laid out so
// far. Rows are read and pages laid out as they are asked for, so the first
// page of any size shows at once; the collection is held open (read-only)
// only until the layout is complete.
class ReportDocument
{
public:
    // Reads the definition, compiles the formula, opens the collection
    // read-only and runs the query. Throws EngineError (a number other than
    // 20000, text saying what/where) on any failure.
    static std::unique_ptr<ReportDocument> open(const ReportRequest &request);
    ~ReportDocument();
    ReportDocument(const ReportDocument &) = delete;
    ReportDocument &operator=(const ReportDocument &) = delete;

    QString windowTitle() const;
    QString selectionWords() const; // the selection as the page headers say it
    QPageLayout pageLayout() const; // the page the report is laid out for
    // The layout calls read the collection and may throw EngineError (a read
    // failure, a total beyond the largest amount).
    bool layOutUpTo(int page);            // lays out pages up to `page` (0-based); false past the end
    bool layOutSome(int maxMilliseconds); // lays out more in a time slice; true once complete
    bool isComplete() const;
    int pageCount() const; // pages laid out so far; the total once complete
    // Paints page `page` (laid out already) on a painter whose origin is the
    // top-left corner of pageLayout()'s paint rectangle (as on a QPrinter or
    // QPdfWriter given that layout), scaled by the device's own resolution.
    // Until the layout is complete the footer reads "Page N" without the total.
    void paintPage(int page, QPainter &painter) const;

    // What the report holds once complete: its issues in report order and
    // the sums per title, per company (in report order) and overall.
    QList<ReportIssue> issues() const;
    QList<ReportTotals> titleTotals() const;
    QList<ReportTotals> companyTotals() const;
    ReportTotals grandTotal() const;

    QString dataFile() const; // the collection the report reads
    // Writes the report's rows as a CSV file at path (see csvfile.h), each
    // layout its own: the issue reports write every issue the selection
    // picks, in report order, with all its columns, read afresh from the
    // collection; the missing-issues report writes a row per title with its
    // counts and missing numbers, as laid out (completing the layout first). Returns the rows written. Throws
    // EngineError when the collection cannot be read or the file not written; any earlier file at path is
    // then left as it was.
    int writeCsv(const QString &path) const;
    // What one row of that CSV file is: "issue", or "title" for the
    // missing-issues report.
    QString csvRowName() const;

private:
    explicit ReportDocument(std::unique_ptr<ReportDocumentImpl> impl);
    std::unique_ptr<ReportDocumentImpl> m_impl;
};

} // namespace platform
