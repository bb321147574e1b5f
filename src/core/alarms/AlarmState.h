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
    ZoneRecord WarningZone;
    std::string WarningSound;
};

}  // namespace tavrin
