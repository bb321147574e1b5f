#pragma once
// What the alarm dialog holds when "OK" is pressed.
#include <string>

namespace tavrin {

struct AlarmEntry {
    // The alarm half.
    int alarmChoice = -1;  // the preset's list index; -1 while "Preset Alarm Times" shows
    std::string customHours;
    std::string customMinutes;
    int alarmZone = 0;  // 0 "System Default", n the chosen zone in slot n
    std::string alarmSound;
    std::string alarmMessage;

    // The warning half.
    int warningChoice = -1;  // the preset's list index; -1 while "Preset Warning Hours" shows
    std::string warningHour;
    std::string warningMinute;
    std::string warningHalf;  // "AM" or "PM"
    int warningZone = 0;      // as alarmZone
    std::string warningSound;
};

}  // namespace tavrin
