#pragma once

#include <functional>

class QComboBox;

namespace platform {

// Connects a drop-down list to the handler of a choice (cboCompany_Click).
// A choice from the open list, by mouse or Enter, takes effect at once. In
// the closed list, typing the start of a name (spaces included) shows the
// first entry so named, and the arrow keys move through the entries, but
// the choice takes effect only when the user has finished: Enter, or
// leaving the list for another control of the window. Escape puts back the
// entry last chosen. Choosing from code never runs the handler.
void onChoice(QComboBox *list, std::function<void()> handler);

} // namespace platform
