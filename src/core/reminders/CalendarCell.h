#pragma once
// One day cell of the month calendar.
#include <string>

namespace tavrin {

struct CalendarCell {
    std::string caption;  // the day number, or empty
    bool today = false;   // drawn bold and red
    int markers = 0;      // one per reminder dated that day, enabled or not
};

}  // namespace tavrin
