#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>

#include "core/settings/Settings.h"
#include "core/state/Paths.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneChanges.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneTime.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {
namespace {

// Exactly "YYYY-MM-DD HH:MM:SS", every field in its range.
std::optional<DateTime> readInstant(const std::string& text) {
    if (text.size() != 19) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char expected = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (expected == '0' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != expected)
            return std::nullopt;
    }
    auto field = [&](std::size_t at, std::size_t len) { return std::stoi(text.substr(at, len)); };
    const int y = field(0, 4), mo = field(5, 2), d = field(8, 2), h = field(11, 2), mi = field(14, 2),
              s = field(17, 2);
    if (y < 1601 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return DateTime::fromFields(y, mo, d, h, mi, s);
}

std::string instantText(const DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year(), t.month(), t.day(), t.hour(),
                  t.minute(), t.second());
    return buf;
}

}  // namespace

int cmdTime(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "Usage: tavrinctl time ZONE [\"YYYY-MM-DD HH:MM:SS\" (UTC) ...]\n";
        return 2;
    }
    const std::string& zoneName = args[0];
    std::vector<DateTime> instants;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto t = readInstant(args[i]);
        if (!t) {
            err << "tavrinctl: '" << args[i] << "' is not a UTC instant of the form YYYY-MM-DD HH:MM:SS\n";
            return 2;
        }
        instants.push_back(*t);
    }
    if (instants.empty()) instants.push_back(UtcNow(SystemClock()));

    // Each instant is taken as if it were now, so the rule block is that of its own year.
    FakeClock clock(instants.front());
    auto catalogue = MakeZoneCatalogue(Paths::fromEnvironment().zoneinfoDir, clock);
    MemoryStore store;
    store.mount(Root::LocalMachine, catalogue);
    // An empty name would name the zone root itself.
    if (zoneName.empty() || !catalogue->HasKey(std::string(kZoneRootNt) + "\\" + zoneName))
        err << "tavrinctl: no zone '" << escapeText(zoneName)
            << "' in the catalogue; showing UTC, as the clock does\n";
    for (const DateTime& utc : instants) {
        clock.setUtc(utc);
        const ZoneRecord zone = ReadZone(store, kZoneRootNt, zoneName);
        // The same line the world-time lines give as their tool tip.
        out << instantText(ZoneTimeNow(utc, zone)) << '\t' << ZoneChangeText(zone, utc) << '\n';
    }
    return 0;
}

}  // namespace tavrin::ctl
