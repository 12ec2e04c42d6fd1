#pragma once

class QLineEdit;

namespace platform {

// Selects length characters from start, as far as the text reaches: boxes
// ask for "the first 25" or "up to 99" whatever their text holds, and a
// selection past the end must never reach the line edit.
void selectText(QLineEdit *box, int start, int length);

// Gives the box the focus back and selects its text once it really has the
// focus, after its own got-focus handling: when the focus change under way
// has finished, or, if a message box holds the activation, when the box's
// window becomes active again.
void refocusAndSelect(QLineEdit *box, int start, int length);

} // namespace platform
