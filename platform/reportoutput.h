#pragma once

#include <QString>
#include <functional>

class QPrinter;

namespace platform {

class ReportDocument;

// Called while the report is laid out (done and total 0) and after each page
// is written; returning false cancels the run, which then throws
// EngineError(errnum::ReportCancelled). Other failures (unwritable file,
// printer error) throw another number.
using ReportProgress = std::function<bool(int done, int total)>;

void printReport(ReportDocument &doc, QPrinter &printer, const ReportProgress &progress = {});
void writeReportPdf(ReportDocument &doc, const QString &path, const ReportProgress &progress = {});

} // namespace platform
