#pragma once

#include <functional>

class QWidget;

// Connects a widget's focus and key events to a screen's named handlers
// (txtName_GotFocus, txtName_LostFocus, txtPrice_KeyPress), so screens read
// like their event lists.
namespace platform {

void onGotFocus(QWidget *widget, std::function<void()> handler);
void onLostFocus(QWidget *widget, std::function<void()> handler);
// As onLostFocus, but only when the focus moves to another control of the
// same window: the window losing activation or closing is not the user
// leaving the box.
void onLostFocusWithinWindow(QWidget *widget, std::function<void()> handler);

// Runs the leave handling of the window's focused box, as if the user had
// left it, while the focus stays: a way out of the screen (Escape, the title
// bar's close button, a button's access key) must first take in what was
// typed there, so the close question knows about it.
void leaveFocusedBox(QWidget *window);

// Enter on any of the window's buttons that has the focus presses it, as
// Space does, whether or not the window has a default button.
void pressFocusedButtonOnEnter(QWidget *window);

// The handler gets the typed character's code (8 for backspace) and may set
// it to 0 to swallow the key. Keys that type no character (arrows, Tab,
// Delete, shortcuts) never reach it.
void onKeyPress(QWidget *widget, std::function<void(int &keyAscii)> handler);

} // namespace platform
