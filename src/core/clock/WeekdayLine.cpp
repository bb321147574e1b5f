#include "core/clock/WeekdayLine.h"

#include "core/timezones/FormatPattern.h"

namespace tavrin {

std::optional<std::string> weekdayLine(std::string_view dateText, std::string_view dateFormat,
                                       const DateTime& today, const CalendarNames& names) {
    const std::optional<DateTime> date = readDateText(dateText, dateFormat, today.year(), names);
    if (!date) return std::nullopt;
    return formatPattern(*date, "dddd", names);
}

}  // namespace tavrin
