#pragma once
// Moving the menu's time: how far one step goes, the header line that says where the lines' time is,
// and the text a line gives to the clipboard to propose that moment to people in the other zones.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/clock/MenuLines.h"
#include "core/timezones/CalendarNames.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

// The step of one turn of the wheel or one arrow key: 15 minutes, an hour with `hour` (Shift), a day
// with `day` (Ctrl, which wins over Shift).
std::int64_t scrubStepSeconds(bool hour, bool day);

// How far from now, in whole minutes: "+1 day 2 h", "-45 min", "+3 days"; empty at zero.
std::string scrubOffsetText(std::int64_t offsetSeconds);

// The header above the lines while their time is moved: the distance, then the local time at that
// moment in the menu's own format ("+1 day 2 h: 12/09/26 3:00 pm here"); empty at zero, where the
// menu shows no header.
std::string scrubHeaderText(std::int64_t offsetSeconds, const DateTime& localTime, const std::string& format,
                            const CalendarNames& names);

// "15:00 Tue 8 Dec in Tokyo = 07:00 in Berlin = 06:00 UTC": line `clicked` first, with its date, then
// every other line with a time and UTC last; a zone on another date than the first names its own.
// `utc` is the instant the lines show.
std::string meetingText(const MenuLines& lines, std::size_t clicked, const DateTime& utc,
                        const CalendarNames& names);

}  // namespace tavrin
