#pragma once
// The one alarm and the one world-time warning. Not stored: they last until they fire, are
// cancelled, or the program ends.
#include <string>

#include "core/timezones/ZoneRecord.h"

namespace tavrin {

struct AlarmState {
    bool alarmOn = false;
    std::string alarmTime;  // "HH:MM:SS", seconds "00"
    ZoneRecord alarmZone;
    std::string alarmSound;
    std::string alarmMessage;
    bool warningOn = false;
    std::string warningTime;  // as entered, in the "TimeFormat" form
    // The "TimeFormat" that wrote warningTime: the text it holds ("13:05 Uhr", "13h05") reads back
    // only through the pattern that wrote it.
    std::string warningFormat;
    ZoneRecord warningZone;
    std::string warningSound;
};

}  // namespace tavrin
