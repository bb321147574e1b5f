#include <optional>

#include "core/base/Text.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/LocaleNames.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kFormatUsage = "Usage: tavrinctl format [--] PATTERN [\"YYYY-MM-DD HH:MM:SS\"]\n";

}  // namespace

int cmdFormat(const Args& commandLine, std::ostream& out, std::ostream& err) {
    std::size_t literalFrom = 0;
    const Args args = endOfOptions(commandLine, literalFrom);
    if (args.empty()) return usageError(err, "'format' needs a pattern", kFormatUsage);
    if (args.size() > 3) return usageError(err, "'format' takes a pattern and one date-time", kFormatUsage);
    // A pattern that starts with two dashes is far more often a mistyped option; after "--" it is
    // taken as it is.
    for (std::size_t i = 0; i < literalFrom; ++i)
        if (args[i].rfind("--", 0) == 0)
            return usageError(err, "unknown option '" + args[i] + "'", kFormatUsage);
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
    out << formatPattern(value, args[0], calendarNamesFromEnvironment()) << '\n';
    return 0;
}

}  // namespace tavrin::ctl
