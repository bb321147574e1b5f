#pragma once
// The user's own names of weekdays and months, read from the time category of a POSIX locale once
// at start and handed to the formatter of everything shown.
#include <optional>

#include "core/timezones/CalendarNames.h"

namespace tavrin {

// The names of the installed locale `locale` ("de_DE.UTF-8"; "" for the one the environment asks for
// through LC_ALL, LC_TIME and LANG). The C and POSIX locales give the English names. Nothing when
// the locale is not installed, or when its names are no text the program can show (a locale of
// another character set than UTF-8 whose names are not plain ASCII).
std::optional<CalendarNames> calendarNamesOfLocale(const char* locale);

// The names the user's environment asks for; English when it asks for none that can be had.
CalendarNames calendarNamesFromEnvironment();

}  // namespace tavrin
