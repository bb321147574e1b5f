#pragma once
// Planning across zones: the working hours every zone is measured against, whether a zone's wall clock
// is inside them, and the stretches of a week in which every chosen zone is at work at once.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/Zone.h"

namespace tavrin {

// The working day, in minutes after midnight of each zone's own clock: from `start` up to, not
// including, `end`. Working days are Monday to Friday of each zone's own calendar, so Friday afternoon
// in New York is no working time in Tokyo, where it is Saturday already.
struct WorkingHours {
    int start = 9 * 60;
    int end = 17 * 60;
    friend bool operator==(const WorkingHours&, const WorkingHours&) = default;
};

inline constexpr const char* kDefaultWorkingHours = "09:00-17:00";

// Reads "HH:MM-HH:MM" (blanks allowed around the dash; the end may be 24:00); the start must come
// before the end, as a working day that runs past midnight would be two days' hours.
Result<WorkingHours> readWorkingHours(std::string_view text);
// "09:00-17:00".
std::string workingHoursText(const WorkingHours& hours);

// Whether a zone's wall-clock reading falls in working hours on a working day.
bool isWorkingTime(const DateTime& wall, const WorkingHours& hours);

// A stretch of time, in UTC, in which every zone asked about is at work.
struct MeetingWindow {
    DateTime startUtc;
    DateTime endUtc;
    friend bool operator==(const MeetingWindow&, const MeetingWindow&) = default;
};

// The stretches of at least `minutes` in which every one of `zones` is at work, between `fromUtc` and
// `days` days later, on quarter hours of UTC (the first at or after `fromUtc`); each runs as long as
// all stay at work. Every offset in use today is a whole quarter hour, so each zone's own quarter hours
// fall on them too.
std::vector<MeetingWindow> findMeetingWindows(const std::vector<const Zone*>& zones,
                                              const WorkingHours& hours, const DateTime& fromUtc, int minutes,
                                              int days = 7);

}  // namespace tavrin
