#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneRecord.h"
#include "support/FakeClock.h"

using namespace tavrin;

// The machine may name its zone by an id zone.tab does not list ("Etc/UTC" on Debian, or a legacy
// link): the home zone must still be that zone, not the empty record that would mean plain UTC.
TEST(ZoneCatalogue, FindsZonesByNameThatTheListLeavesOut) {
    test::FakeClock clock(DateTime::fromFields(2026, 7, 1, 12, 0, 0));
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(TAVRIN_TEST_DATA "/zoneinfo", clock));

    const ZoneRecord eastern = ReadZone(store, kZoneRootNt, "US/Eastern");
    EXPECT_EQ(eastern.Bias, 300);
    EXPECT_EQ(eastern.DaylightBias, -60);
    EXPECT_EQ(eastern.DisplayText, "(GMT-05:00) Eastern");
    EXPECT_EQ(ReadZone(store, kZoneRootNt, "Etc/UTC").DisplayText, "(GMT) UTC");

    // Listed zones alone are enumerated, and names that are no zone file stay unknown.
    KeyHandle root;
    ASSERT_EQ(store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), kZoneRootNt, kAllAccess, root), 0);
    std::string name;
    for (std::uint32_t i = 0; store.EnumKey(root, i, name) == status::kSuccess; ++i)
        EXPECT_NE(name, "US/Eastern");
    for (const char* bad : {"../../etc/passwd", "/etc/localtime", "No/Such_Zone", ""})
        EXPECT_EQ(ReadZone(store, kZoneRootNt, bad), ZoneRecord{}) << bad;
}
