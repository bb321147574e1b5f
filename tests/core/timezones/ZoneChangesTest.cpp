// The tool-tip line of a world-time line: the offset now and the next clock change, on the pinned zone
// data (each expectation read off `TZ=zone date` over the same files).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneChanges.h"
#include "support/FakeClock.h"

namespace tavrin {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTime::fromFields(y, mo, d, h, mi, s);
}

class ZoneChangeTextTest : public ::testing::Test {
  protected:
    test::FakeClock clock{at(2026, 6, 15, 12)};
    MemoryStore store;
    std::shared_ptr<ZoneCache> zones = std::make_shared<ZoneCache>();

    void SetUp() override {
        store.mount(Root::LocalMachine, makeZoneCatalogue(TAVRIN_TEST_DATA "/zoneinfo", clock, zones));
    }
    ZoneRecord read(const std::string& id) { return readZone(store, kZoneRootNt, id).valueOr({}); }
};

// Each line comes from the record with its tz zone and, where one rule a year says it all, from the
// record's rule block alone (a record that names no tz file), read when the line is asked for.
TEST_F(ZoneChangeTextTest, OffsetNowAndTheNextChangeOnTheZonesOwnClock) {
    const struct {
        const char* zone;
        DateTime utc;
        const char* text;
        bool fromBlock = true;
    } cases[] = {
        // Northern: forward in March, back in October; the time is the wall clock before the change.
        {"Europe/Berlin", at(2026, 3, 29, 0, 59, 59),
         "UTC+01:00 now; clocks go forward 1 h on 29 Mar 2026 at 02:00"},
        {"Europe/Berlin", at(2026, 3, 29, 1), "UTC+02:00 now; clocks go back 1 h on 25 Oct 2026 at 03:00"},
        // Past the file's last listed change, from its closing rule.
        {"Europe/Berlin", at(2040, 1, 1), "UTC+01:00 now; clocks go forward 1 h on 25 Mar 2040 at 02:00"},
        // Southern: forward in October, back in April of the next year, by half an hour.
        {"Australia/Lord_Howe", at(2026, 7, 1),
         "UTC+10:30 now; clocks go forward 30 min on 4 Oct 2026 at 02:00"},
        {"Australia/Lord_Howe", at(2026, 12, 1),
         "UTC+11:00 now; clocks go back 30 min on 4 Apr 2027 at 02:00"},
        {"America/St_Johns", at(2026, 7, 1), "UTC-02:30 now; clocks go back 1 h on 1 Nov 2026 at 02:00"},
        // Winter is the tz data's daylight time in Dublin; the change still reads as the clock moves.
        {"Europe/Dublin", at(2026, 7, 1), "UTC+01:00 now; clocks go back 1 h on 25 Oct 2026 at 02:00", false},
        {"Europe/Dublin", at(2026, 12, 1), "UTC+00:00 now; clocks go forward 1 h on 28 Mar 2027 at 01:00",
         false},
        // A second daylight period in the year: the next change is the nearer one.
        {"Africa/Casablanca", at(2026, 6, 15), "UTC+01:00 now; clocks go back 1 h on 20 Sep 2026 at 02:00",
         false},
        // No daylight time.
        {"Asia/Kathmandu", at(2026, 7, 1), "UTC+05:45 now; no clock changes"},
        // A name the catalogue does not know reads as the empty record: UTC without changes.
        {"Nowhere/Zone", at(2026, 7, 1), "UTC+00:00 now; no clock changes", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.zone << " at " << c.utc.year() << "-" << c.utc.month() << "-" << c.utc.day());
        clock.setUtc(c.utc);
        ZoneRecord zone = read(c.zone);
        EXPECT_EQ(zoneChangeText(zone, c.utc, *zones), c.text);
        if (!c.fromBlock) continue;
        ASSERT_FALSE(zone.tzFile.empty());
        zone.tzFile.clear();
        EXPECT_EQ(zoneChangeText(zone, c.utc, *zones), c.text);
    }
}

}  // namespace
}  // namespace tavrin
