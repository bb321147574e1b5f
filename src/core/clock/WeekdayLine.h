#pragma once
// The weekday line between time and date: the date text read back as a date, shown as "dddd".
#include <optional>
#include <string>
#include <string_view>

#include "core/timezones/CalendarNames.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

// Nothing when the date text cannot be read as a date: the face then skips the line. A date text
// without a year (a "DateFormat" such as "d mmm") is read in the year of `today`. The date text and
// the weekday are in the language of `names`.
std::optional<std::string> weekdayLine(std::string_view dateText, std::string_view dateFormat,
                                       const DateTime& today,
                                       const CalendarNames& names = CalendarNames::english());

}  // namespace tavrin
