#pragma once

#include <QString>

// The per-user settings store, kept by QSettings under organisation and
// application "PANELKEP". Values are texts, addressed by section and key.
namespace platform {

QString getSetting(const QString &section, const QString &key, const QString &defaultValue = QString());
void saveSetting(const QString &section, const QString &key, const QString &value);

} // namespace platform
