#include "core/clock/ClockTexts.h"

#include "core/timezones/FormatPattern.h"

namespace tavrin {

ClockTexts clockTextsAt(const DateTime& now, const Settings& settings) {
    // The date line is today's date as a day, so a date pattern holding time tokens shows midnight.
    return ClockTexts{formatPattern(now, settings.TimeFormat, settings.calendarNames),
                      formatPattern(now.date(), settings.DateFormat, settings.calendarNames)};
}

}  // namespace tavrin
