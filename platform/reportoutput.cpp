#include "platform/reportoutput.h"

#include "platform/engineerror.h"
#include "platform/reportdocument.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace platform {

namespace {
void paintAll(ReportDocument &doc, QPagedPaintDevice &device, const ReportProgress &progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw EngineError(errnum::Generic, QStringLiteral("The report could not be written."));
    doc.layOutUpTo(1 << 30);
    for (int p = 0; p < doc.pageCount(); ++p) {
        if (p > 0)
            device.newPage();
        doc.paintPage(p, painter);
        if (progress && !progress(p + 1, doc.pageCount())) {
            painter.end();
            throw EngineError(errnum::ReportCancelled, QStringLiteral("The report was cancelled."));
        }
    }
    painter.end();
}
} // namespace

void printReport(ReportDocument &doc, QPrinter &printer, const ReportProgress &progress)
{
    printer.setPageLayout(doc.pageLayout());
    paintAll(doc, printer, progress);
}

void writeReportPdf(ReportDocument &doc, const QString &path, const ReportProgress &progress)
{
    QPdfWriter writer(path);
    writer.setPageLayout(doc.pageLayout());
    paintAll(doc, writer, progress);
}

} // namespace platform
