#pragma once

#include <QIcon>
#include <QList>

namespace shell {

// imgToolBar: the ten toolbar images, image n at index n - 1 (New, Open,
// AddCompany, AddTitle, MaintainIssue, CoverPrice, Browse, Report1, Report2,
// Report3). An image missing from the build is a null icon.
QList<QIcon> loadToolBarImages();

// The product picture of the splash and About box.
QIcon splashPicture();

// The program's own icon (window, desktop entry), in every size it comes in.
QIcon applicationIcon();

} // namespace shell
