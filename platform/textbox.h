#pragma once

class QLineEdit;

namespace platform {

// Selects length characters from start, as far as the text reaches: boxes
// ask for "the first 25" or "up to 99" whatever their text holds, and a
// selection past the end must never reach the line edit.
void selectText(QLineEdit *box, int start, int length);

// Gives the box the focus back and selects its text once the focus change
// under way has finished: a line edit clears its selection when it loses the
// focus, after any handler of that loss has run.
void refocusAndSelect(QLineEdit *box, int start, int length);

} // namespace platform
