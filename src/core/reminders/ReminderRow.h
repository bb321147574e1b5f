#pragma once
// One row of the reminder lists (the manager and the day list).
#include <string>

namespace tavrin {

struct ReminderRow {
    std::string title;
    std::string date;    // "Due Date": the stored date text
    std::string time;    // "Due Time": the stored time in "TimeFormat"
    int slot = 0;        // the hidden "Index" column
    std::string occurs;  // "Occ?": "No" when the recurrence code is -1 or less, else "Yes"
    bool enabled = false;
};

}  // namespace tavrin
