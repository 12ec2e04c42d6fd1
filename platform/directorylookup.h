#pragma once

#include <QString>

namespace platform {

// The directory lookup: the path of the file as its folder lists it. The
// exact name when it exists; otherwise the one entry whose name differs only
// in letter case (the first in name order when there are several); "" when
// the folder holds neither.
QString listedPath(const QString &path);

// Whether both paths name one existing file (through links and "..").
bool sameFile(const QString &a, const QString &b);

} // namespace platform
