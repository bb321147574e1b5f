#pragma once
// The one date-time formatter, and the one reader of date and time text.
#include <optional>
#include <string>
#include <string_view>

#include "core/timezones/CalendarNames.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

// Formats `value` with a pattern such as "mm/dd/yy", "h:mm AM/PM" or "dddd". Weekdays and months
// are named from `names`: English for text that is stored or compared, the user's own for text shown.
std::string formatPattern(const DateTime& value, std::string_view pattern,
                          const CalendarNames& names = CalendarNames::english());

// Reads `text` as a date, a time or both. Text that `dateFormat` itself writes reads back as what
// was written, its quoted words and names included; other dates follow the day-month-year order that
// `dateFormat` shows (month/day/year when it shows none). A text with a time only gives that time on
// 1899-12-30; a date only gives its midnight. Unreadable text gives nothing.
// A date without a year ("7 Mar") is read in `yearIfMissing` (the current year, where the caller
// knows it) and is unreadable when that is 0.
// Weekdays and months may be named in English or as `names` name them, so text written under one
// language reads under another.
std::optional<DateTime> readDateText(std::string_view text, std::string_view dateFormat = {},
                                     int yearIfMissing = 0,
                                     const CalendarNames& names = CalendarNames::english());

// The minute of the day (hour × 60 + minute) that `text` names when read as above: how stored times
// are compared at minute resolution whatever form they were written in. Nothing when unreadable.
std::optional<int> readMinuteOfDay(std::string_view text, std::string_view dateFormat = {});

// Reads `text` as above and formats it with `pattern`; text that cannot be read comes back unchanged.
std::string formatPattern(std::string_view text, std::string_view pattern, std::string_view dateFormat = {},
                          const CalendarNames& names = CalendarNames::english());

}  // namespace tavrin
