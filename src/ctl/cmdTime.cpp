#include <cstdio>
#include <memory>
#include <optional>

#include "core/base/Text.h"
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

// A clock that reads a set instant: each instant is taken as if it were now, so the catalogue builds
// the rule block of that instant's own year.
class SetClock final : public ClockService {
  public:
    explicit SetClock(const DateTime& utc) { set(utc); }
    void set(const DateTime& utc) { millis_ = utc.toUnix() * 1000; }
    std::int64_t unixMillis() const override { return millis_; }
    DateTime localNow() const override { return utcNow(); }

  private:
    std::int64_t millis_ = 0;
};

std::string instantText(const DateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year(), t.month(), t.day(), t.hour(),
                  t.minute(), t.second());
    return buf;
}

constexpr const char* kTimeUsage = "Usage: tavrinctl time ZONE [\"YYYY-MM-DD HH:MM:SS\" (UTC) ...]\n";

}  // namespace

int cmdTime(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "'time' needs a zone (see tavrinctl zones)", kTimeUsage);
    const std::string& zoneName = args[0];
    std::vector<DateTime> instants;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto t = DateTime::fromIsoText(args[i]);
        if (!t)
            return usageError(err,
                              "'" + escapeOnOneLine(args[i], {.nul = true}) +
                                  "' is not a UTC instant of the form YYYY-MM-DD HH:MM:SS",
                              kTimeUsage);
        instants.push_back(*t);
    }
    if (instants.empty()) instants.push_back(utcNow(SystemClock()));

    const std::string folder = Paths::fromEnvironment().zoneinfoDir;
    SetClock clock(instants.front());
    auto zones = std::make_shared<ZoneCache>();
    auto catalogue = makeZoneCatalogue(folder, clock, zones);
    MemoryStore store;
    store.mount(Root::LocalMachine, catalogue);
    // An empty name would name the zone root itself. The clock shows UTC for a zone it cannot find;
    // asked by name, that is a mistyped zone, unless no zone could be read at all.
    if (zoneName.empty() || !catalogue->hasKey(std::string(kZoneRootNt) + "\\" + zoneName)) {
        if (const Result<> readable = zoneFolderReadable(folder); !readable) {
            err << "tavrinctl: " << readable.message() << '\n';
            return 1;
        }
        return usageError(err,
                          "no zone '" + escapeOnOneLine(zoneName, {.nul = true}) +
                              "' in the catalogue (see tavrinctl zones)",
                          kTimeUsage);
    }
    for (const DateTime& utc : instants) {
        clock.set(utc);
        const Result<ZoneRecord> read = readZone(store, kZoneRootNt, zoneName);
        if (!read) {
            err << "tavrinctl: " << read.message() << '\n';
            return 1;
        }
        const ZoneRecord& zone = *read;
        // The same line the world-time lines give as their tool tip.
        out << instantText(zoneTimeNow(utc, zone, *zones)) << '\t' << zoneChangeText(zone, utc, *zones)
            << '\n';
    }
    return 0;
}

}  // namespace tavrin::ctl
