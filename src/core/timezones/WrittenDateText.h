#pragma once
// Support for readDateText (declared in FormatPattern.h): text read back token by token as a pattern
// writes it, so that whatever the formatter wrote with the pattern (quoted words, names in the user's
// language, fields without anything between them) reads back as the value it was written from.
#include <optional>
#include <string_view>

#include "core/timezones/CalendarNames.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

// Nothing unless the whole of `text` is what `pattern` writes for some date, time or both. A pattern
// without a year takes the date's year from `yearIfMissing`, and reads nothing when that is 0.
// Numbers may have fewer digits than the pattern writes ("7" for "dd"); literal text and names are
// matched ignoring ASCII case.
std::optional<DateTime> readAsWritten(std::string_view text, std::string_view pattern, int yearIfMissing,
                                      const CalendarNames& names);

}  // namespace tavrin
