#pragma once

#include <QTest>
#include <memory>

// A screen loaded, filled and shown the way the main window's command does it
// (modeless here, so the test can drive it); nothing when the fill refuses or
// the window never becomes active.
template <typename Screen, typename Fill> std::unique_ptr<Screen> openScreen(Fill fill)
{
    auto screen = std::make_unique<Screen>();
    if (!fill(*screen))
        return nullptr;
    screen->show();
    if (!QTest::qWaitForWindowActive(screen.get()))
        return nullptr;
    return screen;
}

template <typename Screen> std::unique_ptr<Screen> openScreen()
{
    return openScreen<Screen>([](Screen &) { return true; });
}
