#pragma once
// The reminder editor's fields, as text the user typed or picked.
#include <string>

namespace tavrin {

struct ReminderForm {
    std::string title;       // "Reminder Title:"
    std::string date;        // "Date:"
    std::string hour;        // the hour box
    std::string minute;      // the minute box
    std::string amPm;        // "AM", "PM" or typed text
    std::string message;     // "Reminder Message:"
    bool enabled = true;     // "Enabled?"
    bool recurring = false;  // "Re-Occuring Reminder?"
    int recurChoice = -1;    // 0 "Every Hour", 1 "Every Day", 2 "Every Week"; -1 nothing chosen
};

}  // namespace tavrin
