#pragma once

#include <QString>

namespace shell {

inline const QString ProgramVersion = QStringLiteral("1.0");
inline const QString LicenceName = QStringLiteral("GPL-3.0-or-later");
// The licence in the words of the About box.
inline const QString LicenceText =
    QStringLiteral("Free software under the GNU General Public License, version 3 or later "
                   "(GPL-3.0-or-later), with no warranty.");

} // namespace shell
