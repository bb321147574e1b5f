#pragma once
// What the pop-up menu's six buttons do. The application fills these in; the menu closes itself and
// then runs the one chosen. A button whose action is empty only closes the menu.
#include <functional>

namespace tavrin {

// The buttons, in their order along the menu.
enum class MenuButton { Calendar, Alarm, Stopwatch, FloatingClock, Preferences, EndProgram };

struct MenuActions {
    std::function<void()> openCalendar;
    std::function<void()> openAlarm;
    std::function<void()> openStopwatch;
    std::function<void()> openFloatingClock;
    std::function<void()> openPreferences;
    std::function<void()> endProgram;
};

}  // namespace tavrin
