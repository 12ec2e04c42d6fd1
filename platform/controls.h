#pragma once

#include <QLabel>
#include <QLatin1String>
#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

namespace platform {

// Creates one control of a laid-out screen on parent, with its design name
// (as objectName) and geometry; args go to the control's constructor before
// the parent (a caption, for most).
template <typename Control, typename... Args>
Control *placeControl(QWidget *parent, const char *name, const QRect &geometry, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// A caption; with a buddy, its access key moves the focus to that control.
inline QLabel *placeLabel(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
                          QWidget *buddy = nullptr)
{
    auto *label = placeControl<QLabel>(parent, name, geometry, caption);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace platform
