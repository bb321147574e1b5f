// Every zone and link of the system's tz database against the C library's own conversion of the same
// file: the zones' offsets, daylight flags and changes, and the world time, daylight time and next
// change the catalogue's records give, in every year.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/base/AtomicFile.h"
#include "core/settings/Settings.h"
#include "core/state/Paths.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneChanges.h"
#include "core/timezones/ZoneTime.h"
#include "support/FakeClock.h"
#include "support/ScratchHome.h"

namespace tavrin {
namespace {

struct SystemReading {
    long offset = 0;
    bool isDst = false;
    bool operator==(const SystemReading&) const = default;
};

SystemReading systemTimeAt(std::int64_t utc) {
    const std::time_t t = static_cast<std::time_t>(utc);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_gmtoff, tm.tm_isdst > 0};
}

// The instants at which the C library's offset or daylight flag for the zone changes in [from, to),
// found by bisecting between 5-day steps.
std::vector<std::int64_t> systemChanges(std::int64_t from, std::int64_t to) {
    constexpr std::int64_t kStep = 5 * 86400;
    std::vector<std::int64_t> changes;
    SystemReading atLo = systemTimeAt(from);
    for (std::int64_t a = from; a < to; a += kStep) {
        std::int64_t lo = a, hi = std::min(a + kStep, to);
        const SystemReading atHi = systemTimeAt(hi);
        if (!(atLo == atHi)) {
            while (hi - lo > 1) {
                const std::int64_t mid = lo + (hi - lo) / 2;
                (systemTimeAt(mid) == atLo ? lo : hi) = mid;
            }
            changes.push_back(hi);
        }
        atLo = atHi;
    }
    return changes;
}

// Every zone ("Z name ...") and link ("L target name") the database's own source lists; the zones
// zone.tab lists when the database ships no source.
std::vector<std::string> everyZoneName(const std::string& dir, ZoneCatalogue& catalogue) {
    const Result<std::string> text = AtomicFile::read(dir + "/tzdata.zi");
    if (!text) return catalogue.zoneIds();
    std::vector<std::string> names;
    std::istringstream lines(*text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string kind, first, second;
        words >> kind >> first >> second;
        if (kind == "Z") names.push_back(first);
        if (kind == "L") names.push_back(second);
    }
    return names;
}

std::string utcText(std::int64_t u) {
    return formatPattern(DateTime::fromUnix(u), "yyyy-mm-dd HH:MM:SS") + " UTC";
}

// The zone's stretches of one offset and one daylight flag as the C library shows them, each with
// whether it is daylight time in the clock's sense: the later clock. That is the C library's flag,
// except where a stretch it flags as daylight set the clock back on entering it and forward on
// leaving it (a winter "daylight" time, as in Ireland): there the flagged stretch is standard time
// and the stretches beside it are daylight time.
struct Stretch {
    std::int64_t start = 0;
    SystemReading reading;
    bool daylight = false;
};

std::vector<Stretch> systemStretches(std::int64_t from, const std::vector<std::int64_t>& changes) {
    std::vector<Stretch> out{{from, systemTimeAt(from), false}};
    for (std::int64_t c : changes)
        if (!(systemTimeAt(c) == out.back().reading)) out.push_back({c, systemTimeAt(c), false});
    const std::size_t n = out.size();
    auto wentBack = [&](std::size_t i) {
        return out[i].reading.isDst && (i == 0 || out[i - 1].reading.offset > out[i].reading.offset) &&
               (i + 1 == n || out[i + 1].reading.offset > out[i].reading.offset) && n > 1;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const long offset = out[i].reading.offset;
        if (out[i].reading.isDst)
            out[i].daylight = !wentBack(i);
        else
            out[i].daylight = (i > 0 && wentBack(i - 1) && out[i - 1].reading.offset < offset) ||
                              (i + 1 < n && wentBack(i + 1) && out[i + 1].reading.offset < offset);
    }
    return out;
}

// Each zone is read once through the cache, and its record once from the catalogue, as the world-time
// lines read it; both are then asked for every year: a second before, at and after each change of
// the zone's clock from 1970 to 2037 (as the zone gives it and as the C library shows it), and at
// instants spread at random from 1900 to 2200. The zone's offset and daylight flag are the C
// library's at each of them; its changes are the C library's changes of offset. The record's
// daylight time (the later clock) and its next change of offset are checked at the same instants up
// to 2037.
TEST(CatalogueMatchesSystem, EveryZoneGivesTheCLibrarysWallClock) {
    const std::string dir = Paths::fromEnvironment().zoneinfoDir;
    test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    auto zones = std::make_shared<ZoneCache>();
    auto catalogue = std::make_shared<ZoneCatalogue>(dir, clock, zones);
    MemoryStore store;
    store.mount(Root::LocalMachine, catalogue);
    const auto ids = everyZoneName(dir, *catalogue);
    ASSERT_GT(ids.size(), 300u) << "no tz database in " << dir;

    auto unix = [](int year) { return DateTime::fromFields(year, 1, 1).toUnix(); };
    const int year = SystemClock().utcNow().year();
    // Stretches are followed from 1960 to 2040, so those of 1970 and 2037 are seen with both sides.
    const std::int64_t from = unix(1970), to = unix(2038), seenFrom = unix(1960),
                       seenTo = unix(std::max(2040, year + 3));
    std::mt19937_64 random(20260615);
    std::uniform_int_distribution<std::int64_t> anyInstant(unix(1900), unix(2200) - 1);

    std::size_t checked = 0, wrongZone = 0, wrongTime = 0, wrongDaylight = 0, wrongNext = 0;
    for (const auto& id : ids) {
        const auto tz = zones->zone(dir, id);
        const ZoneRecord zone = readZone(store, kZoneRootNt, id).valueOr({});
        if (!tz || zone.tzFile.empty()) {
            ADD_FAILURE() << id << ": " << (tz ? "the record names no tz file" : tz.message());
            continue;
        }
        const Zone& own = **tz;
        const test::TzVariable tzVariable(":" + zone.tzFile);
        const std::vector<std::int64_t> systemOffsetChanges = [&] {
            std::vector<std::int64_t> out;
            for (std::int64_t c : systemChanges(seenFrom, seenTo))
                if (systemTimeAt(c).offset != systemTimeAt(c - 1).offset) out.push_back(c);
            return out;
        }();
        std::vector<std::int64_t> zoneChanges;
        for (auto c = own.nextChangeAfter(seenFrom); c && c->at < seenTo; c = own.nextChangeAfter(c->at))
            zoneChanges.push_back(c->at);
        std::vector<std::int64_t> changes = systemChanges(seenFrom, seenTo);
        changes.insert(changes.end(), zoneChanges.begin(), zoneChanges.end());
        std::sort(changes.begin(), changes.end());
        changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
        const auto stretches = systemStretches(seenFrom, changes);
        int shown = 0;
        auto wrong = [&](std::size_t& count, std::int64_t u, const std::string& what) {
            ++count;
            if (++shown <= 3) ADD_FAILURE() << id << " at " << utcText(u) << ": " << what;
        };
        if (zoneChanges != systemOffsetChanges)
            wrong(wrongZone, seenFrom, "the zone's changes of offset are not the C library's");

        std::vector<std::int64_t> instants;
        for (std::int64_t c : changes)
            if (c >= from && c < to) instants.insert(instants.end(), {c - 1, c, c + 1});
        for (int i = 0; i < 100; ++i) instants.push_back(anyInstant(random));
        for (std::int64_t u : instants) {
            ++checked;
            const DateTime utc = DateTime::fromUnix(u);
            const SystemReading system = systemTimeAt(u);
            if (own.offsetAt(u) != system.offset || own.isDstAt(u) != system.isDst)
                wrong(wrongZone, u, "the zone's offset or daylight flag differs");
            const std::int64_t off = zoneTimeNow(utc, zone, *zones).toUnix() - u - system.offset;
            if (off != 0) wrong(wrongTime, u, "off by " + std::to_string(off) + " s");
            if (u < from || u >= to) continue;
            const auto in = std::upper_bound(stretches.begin(), stretches.end(), u,
                                             [](std::int64_t v, const Stretch& s) { return v < s.start; });
            const bool daylight = std::prev(in)->daylight;
            if (isDaylightNow(zone, utc, *zones) != daylight)
                wrong(wrongDaylight, u, daylight ? "in daylight time" : "in standard time");
            auto next = in;
            while (next != stretches.end() && next->reading.offset == std::prev(in)->reading.offset) ++next;
            if (next == stretches.end()) continue;  // none seen before 2040
            const auto change = nextClockChange(zone, utc, *zones);
            if (!change || change->at != next->start || change->offsetAfter != next->reading.offset)
                wrong(wrongNext, u, "the next change is at " + utcText(next->start));
        }
    }
    EXPECT_EQ(wrongZone + wrongTime + wrongDaylight + wrongNext, 0u);
    // The records and the catalogue share one read of each file.
    EXPECT_LE(zones->filesRead(), ids.size() + 1);
    std::printf("%zu zones, %zu instants; wrong: %zu zone, %zu times, %zu daylight, %zu next\n", ids.size(),
                checked, wrongZone, wrongTime, wrongDaylight, wrongNext);
}

}  // namespace
}  // namespace tavrin
