#pragma once

#include "platform/reportformula.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

namespace platform {

// One column of an issue line: its heading, the field it shows and its
// width on the page.
struct ReportColumn
{
    QString heading;
    const ReportField *field = nullptr;
    double widthInches = 1;
};

// What a report-definition file (.rpt) says. The format is line based:
//   # comment
//   format 1
//   heading "Issue Details"
//   layout issues|totals|missing
//                              issues: a line per issue; totals: sums per
//                              title; missing: the numbers each title lacks
//   notes yes|no               each issue's notes, wrapped, under its line
//   page Letter|A4|Legal portrait|landscape
//   column "Issue" {Issue.IssueNum} 0.8      (issues layout; in order)
//   selection <formula>        the report's own selection; empty for all
struct ReportDefinition
{
    enum class Layout { Issues, Totals, Missing };
    QString heading;
    Layout layout = Layout::Issues;
    bool notes = false;
    QPageSize pageSize{QPageSize::Letter};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QList<ReportColumn> columns;
    QString selection;
};

// Reads the definition at path. Throws EngineError naming the file (and the
// line) when it is missing, unreadable or not a definition.
ReportDefinition readReportDefinition(const QString &path);

} // namespace platform
