#pragma once
// What the alarm dialog holds when "OK" is pressed, control by control.
#include <string>

namespace tavrin {

struct AlarmEntry {
    // The alarm half.
    int alarmChoice = -1;       // Combo1: -1 nothing chosen ("Preset Alarm Times"), else its list index
    std::string customHours;    // Text2
    std::string customMinutes;  // Text3
    int alarmZone = 0;          // Combo2: 0 "System Default", n the chosen zone in slot n
    std::string alarmSound;     // Text4
    std::string alarmMessage;   // Text1

    // The warning half.
    int warningChoice = -1;     // Combo3: -1 nothing chosen ("Preset Warning Hours"), else its list index
    std::string warningHour;    // Text5
    std::string warningMinute;  // Text6
    std::string warningHalf;    // Combo5: "AM" or "PM"
    int warningZone = 0;        // Combo4, as Combo2
    std::string warningSound;   // Text7
};

}  // namespace tavrin
