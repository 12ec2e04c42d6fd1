#pragma once

#include <QPageLayout>
#include <QString>
#include <memory>

class QPainter;

namespace platform {

struct ReportRequest
{
    QString dataFile;    // the collection file (data file 0)
    QString reportFile;  // full path of Kepix00N.rpt
    QString windowTitle;
    QString formula;     // selection formula text; empty = the definition's own selection
};

class ReportDocumentImpl;

// One report run: the definition, the selected rows and the pages laid out so
// far. Pages are laid out on demand so the first one shows at once.
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
    QPageLayout pageLayout() const;       // the page the report is laid out for
    bool layOutUpTo(int page);            // lays out pages up to `page` (0-based); false past the end
    bool layOutSome(int maxMilliseconds); // lays out more in a time slice; true once complete
    bool isComplete() const;
    int pageCount() const;                // pages laid out so far; the total once complete
    // Paints page `page` on a painter whose device has pageLayout()'s page at
    // its own resolution.
    void paintPage(int page, QPainter &painter) const;

private:
    explicit ReportDocument(std::unique_ptr<ReportDocumentImpl> impl);
    std::unique_ptr<ReportDocumentImpl> m_impl;
};

} // namespace platform
