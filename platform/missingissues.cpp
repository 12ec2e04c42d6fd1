#include "platform/missingissues.h"

#include <algorithm>

namespace platform {

namespace {

QString run(std::int64_t first, std::int64_t last)
{
    if (first == last)
        return QString::number(first);
    return QString::number(first) + (first < 0 ? QStringLiteral(" to ") : QStringLiteral("-")) +
           QString::number(last);
}

} // namespace

MissingIssues missingIssues(std::vector<int> held)
{
    MissingIssues out;
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    if (held.empty())
        return out;
    out.held = std::int64_t(held.size());
    std::int64_t next = std::min<std::int64_t>(held.front(), 1);
    for (const int number : held) {
        if (number > next) {
            out.ranges << run(next, number - 1);
            out.missing += number - next;
        }
        next = std::int64_t(number) + 1;
    }
    return out;
}

} // namespace platform
