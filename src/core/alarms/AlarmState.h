#pragma once
// The one alarm and the one world-time warning. Not stored: they last until they fire, are
// cancelled, or the program ends.
#include <string>

#include "core/timezones/ZoneRecord.h"

namespace tavrin {

struct AlarmState {
    bool AlarmOn = false;
    std::string AlarmTime;  // "HH:MM:SS", seconds "00"
    ZoneRecord AlarmZone;
    std::string AlarmSound;
    std::string AlarmMessage;
    bool WarningOn = false;
    std::string WarningTime;  // as entered, in the "TimeFormat" form
    // The "TimeFormat" that wrote WarningTime: the text it holds ("13:05 Uhr", "13h05") reads back
    // only through the pattern that wrote it.
    std::string WarningFormat;
    ZoneRecord WarningZone;
    std::string WarningSound;
};

}  // namespace tavrin
