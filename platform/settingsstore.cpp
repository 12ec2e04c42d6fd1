#include "platform/settingsstore.h"

#include <QSettings>

namespace platform {

namespace {
QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("PANELKEP"),
                     QStringLiteral("PANELKEP"));
}
} // namespace

QString getSetting(const QString &section, const QString &key, const QString &defaultValue)
{
    const QSettings s = store();
    return s.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void saveSetting(const QString &section, const QString &key, const QString &value)
{
    QSettings s = store();
    s.setValue(section + QLatin1Char('/') + key, value);
    s.sync();
}

} // namespace platform
