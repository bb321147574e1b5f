#include <optional>

#include "core/timezones/ClockService.h"
#include "core/timezones/FormatPattern.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {

int cmdFormat(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args.size() > 3) {
        err << "Usage: tavrinctl format PATTERN [\"YYYY-MM-DD HH:MM:SS\"]\n";
        return 2;
    }
    DateTime value;
    if (args.size() == 1) {
        value = SystemClock().localNow();
    } else {
        // An unquoted date-time arrives as two arguments; it is the same text.
        const std::string text = args.size() == 3 ? args[1] + " " + args[2] : args[1];
        const std::optional<DateTime> given = DateTime::fromIsoText(text);
        if (!given) {
            err << "tavrinctl: '" << escapeText(text)
                << "' is not a date-time; write it as \"YYYY-MM-DD HH:MM:SS\" (for example "
                   "\"2005-03-07 21:05:00\")\n";
            return 2;
        }
        value = *given;
    }
    out << FormatPattern(value, args[0]) << '\n';
    return 0;
}

}  // namespace tavrin::ctl
