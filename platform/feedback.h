#pragma once

#include <QString>
#include <functional>

// The small user-feedback services: the beep, the one-line status message
// and letting the window system catch up. Each has one entry point here so
// tests can watch it.
namespace platform {

void beep();
void setBeepHandler(std::function<void()> handler);

// Writes the text to the status line (the main window's first status panel
// once the shell connects it), then processes pending events once so it
// paints at once.
void showStatus(const QString &text);
void setStatusSink(std::function<void(const QString &)> sink);
// A second listener that tests install to record every status text.
void setStatusObserver(std::function<void(const QString &)> observer);
// The last text shown, whatever sink is connected.
QString lastStatus();

// Called before the application object exists. Status texts repaint one
// small panel hundreds of times during long work; with shared-memory images
// on X11 each repaint first waits for the display server to finish reading
// the last one, a round trip per text that cost a large browse more than its
// whole query. Images sent whole do not wait. A setting the user made wins.
void prepareDisplay();

// Processes pending window events once.
void processPendingEvents();
void setPendingEventsHandler(std::function<void()> handler);

} // namespace platform
