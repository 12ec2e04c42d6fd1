#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace platform {

// The issue numbers a title lacks: every number from 1 (or from the lowest
// number held, when that is below 1) up to the highest number held that is
// held in no condition.
struct MissingIssues
{
    // Runs of missing numbers, ascending: "12" alone, "4-7" for a run, and
    // "-5 to -3" or "-1 to 2" when the run starts below zero, so a minus sign
    // is never read as a dash.
    QStringList ranges;
    std::int64_t held = 0; // distinct numbers held
    std::int64_t missing = 0;

    QString text() const { return ranges.join(QStringLiteral(", ")); } // "4-7, 12, 15-20"
};

// `held` lists a title's issue numbers in any order, a number once per
// condition it is held in. Counts are 64-bit, so no set of numbers overflows.
MissingIssues missingIssues(std::vector<int> held);

} // namespace platform
