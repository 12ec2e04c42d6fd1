#include "platform/reportoutput.h"

#include "platform/directorylookup.h"
#include "platform/engineerror.h"
#include "platform/reportdocument.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <limits>

namespace platform {

namespace {

[[noreturn]] void cancelled()
{
    throw EngineError(errnum::ReportCancelled, QStringLiteral("The report was cancelled."));
}

// Lays the whole report out, then paints every page; the painter is already
// begun on the device.
void paintAll(ReportDocument &doc, QPainter &painter, QPagedPaintDevice &device,
              const ReportProgress &progress)
{
    while (!doc.layOutSome(100)) {
        if (progress && !progress(0, 0))
            cancelled();
    }
    const int total = doc.pageCount();
    for (int p = 0; p < total; ++p) {
        if (p > 0 && !device.newPage())
            throw EngineError(errnum::Generic, QStringLiteral("A new page could not be started."));
        doc.paintPage(p, painter);
        if (progress && !progress(p + 1, total))
            cancelled();
    }
}

} // namespace

void printReport(ReportDocument &doc, QPrinter &printer, const ReportProgress &progress)
{
    printer.setPageLayout(doc.pageLayout());
    printer.setDocName(doc.windowTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        throw EngineError(errnum::Generic, QStringLiteral("The printer could not be started."));
    try {
        paintAll(doc, painter, printer, progress);
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw EngineError(errnum::Generic, QStringLiteral("The printer reported an error."));
}

void writeReportPdf(ReportDocument &doc, const QString &path, const ReportProgress &progress)
{
    // Written beside the target and put in its place only when whole, so a
    // cancelled or failed run leaves any earlier file as it was.
    // Replacing the collection being read would lose it.
    if (sameFile(path, doc.dataFile()))
        throw EngineError(
            errnum::Generic,
            QStringLiteral("'%1' is the collection file itself; choose another name for the PDF.")
                .arg(QDir::toNativeSeparators(path)));
    QSaveFile file(path);
    const auto failed = [&](const QString &why) {
        return EngineError(errnum::Generic, QStringLiteral("The PDF file '%1' could not be written: %2.")
                                                .arg(QDir::toNativeSeparators(path), why));
    };
    if (!file.open(QIODevice::WriteOnly))
        throw failed(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(doc.windowTitle());
        writer.setCreator(QStringLiteral("Panelkeep"));
        writer.setPageLayout(doc.pageLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            throw failed(QStringLiteral("the writer could not start"));
        try {
            paintAll(doc, painter, writer, progress);
        } catch (...) {
            painter.end();
            file.cancelWriting();
            throw;
        }
        painter.end();
    }
    if (!file.commit())
        throw failed(file.errorString());
}

} // namespace platform
