#include <optional>

#include "core/base/Text.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/LocaleNames.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kFormatUsage = "Usage: tavrinctl format PATTERN [\"YYYY-MM-DD HH:MM:SS\"]\n";

}  // namespace

int cmdFormat(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "'format' needs a pattern", kFormatUsage);
    if (args.size() > 3) return usageError(err, "'format' takes a pattern and one date-time", kFormatUsage);
    // No pattern of the clock's starts with two dashes; such a word is a mistyped option.
    for (const std::string& a : args)
        if (a.rfind("--", 0) == 0) return usageError(err, "unknown option '" + a + "'", kFormatUsage);
    DateTime value;
    if (args.size() == 1) {
        value = SystemClock().localNow();
    } else {
        // An unquoted date-time arrives as two arguments; it is the same text.
        const std::string text = args.size() == 3 ? args[1] + " " + args[2] : args[1];
        const std::optional<DateTime> given = DateTime::fromIsoText(text);
        if (!given)
            return usageError(err,
                              "'" + escapeOnOneLine(text, {.nul = true}) +
                                  "' is not a date-time; write it as \"YYYY-MM-DD HH:MM:SS\" (for example "
                                  "\"2005-03-07 21:05:00\")",
                              kFormatUsage);
        value = *given;
    }
    // Names of weekdays and months in the language the environment asks for, as the clock shows them.
    out << FormatPattern(value, args[0], calendarNamesFromEnvironment()) << '\n';
    return 0;
}

}  // namespace tavrin::ctl
