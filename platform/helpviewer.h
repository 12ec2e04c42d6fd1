#pragma once

#include <QString>
#include <functional>

namespace platform {

// Opens the help file in the program's help window at its contents.
void showHelpContents(const QString &helpFile);

// Tests record the request instead of opening a window.
void setHelpHandler(std::function<void(const QString &)> handler);

} // namespace platform
