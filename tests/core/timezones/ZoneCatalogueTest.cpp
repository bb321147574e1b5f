#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneTime.h"
#include "support/FakeClock.h"
#include "support/ScratchHome.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

SystemTime fixed(int year, int month, int day, std::uint16_t hour) {
    const DateTime d = DateTime::fromFields(year, month, day);
    using U = std::uint16_t;
    return {U(year), U(month), U(d.weekday()), U(day), hour};
}

// Bias, daylight bias and the two names, to compare in one go.
std::string biasesAndNames(const ZoneRecord& r) {
    return std::to_string(r.Bias) + " " + std::to_string(r.DaylightBias) + " " + r.StandardName + "/" +
           r.DaylightName;
}

class ZoneCatalogueTest : public ::testing::Test {
  protected:
    test::FakeClock clock{DateTime::fromFields(2026, 6, 15, 12, 0, 0)};
    std::shared_ptr<ZoneCatalogue> catalogue = std::make_shared<ZoneCatalogue>(kZoneinfo, clock);
    MemoryStore store;

    void SetUp() override { store.mount(Root::LocalMachine, catalogue); }

    ZoneRecord read(const std::string& id) { return readZone(store, kZoneRootNt, id).valueOr({}); }
};

TEST_F(ZoneCatalogueTest, ListsZoneTabInOrderThenUtcUnderEveryAncestor) {
    const auto ids = catalogue->zoneIds();
    ASSERT_EQ(ids.size(), 18u);  // the zone.tab line whose file is missing is left out
    EXPECT_EQ(ids.front(), "Europe/Berlin");
    EXPECT_EQ(ids[1], "Europe/Dublin");
    EXPECT_EQ(ids.back(), "UTC");

    const std::string root = kZoneRootNt;
    const std::pair<std::string, bool> keys[] = {
        {"", true},
        {"software\\Microsoft", true},
        {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\europe/berlin\\", true},
        {"SOFTWARE\\QUILLON", false},
        {root + "\\Europe/Nowhere", false},
        {root + "\\Europe/Berlin\\More", false}};
    for (const auto& [path, has] : keys) EXPECT_EQ(catalogue->hasKey(path), has) << path;
    EXPECT_EQ(catalogue->subKeys(""), std::vector<std::string>{"SOFTWARE"});
    EXPECT_EQ(catalogue->subKeys("SOFTWARE\\MICROSOFT\\windows nt"),
              std::vector<std::string>{"CURRENTVERSION"});
    EXPECT_TRUE(catalogue->subKeys(root + "\\Europe/Berlin").empty());
}

TEST_F(ZoneCatalogueTest, DisplayTextsAndNames) {
    const std::pair<const char*, const char*> texts[] = {
        {"Europe/Berlin", "(GMT+01:00) Berlin, Germany"},
        {"america/st_johns", "(GMT-03:30) St Johns, Canada"},
        {"Asia/Kathmandu", "(GMT+05:45) Kathmandu, Nepal"},
        {"America/Argentina/Buenos_Aires", "(GMT-03:00) Buenos Aires, Argentina"},
        {"UTC", "(GMT) Coordinated Universal Time"}};
    for (const auto& [id, text] : texts) EXPECT_EQ(read(id).DisplayText, text);
    EXPECT_EQ(biasesAndNames(read("Europe/Berlin")), "-60 -60 CET/CEST");
    EXPECT_EQ(read("Europe/Berlin").CityName, " Berlin, Germany");
    // The quoted name loses its brackets; without daylight saving the standard name stands for both.
    const ZoneRecord kathmandu = read("Asia/Kathmandu");
    EXPECT_EQ(biasesAndNames(kathmandu), "-345 0 +0545/+0545");
    EXPECT_EQ(kathmandu.DaylightDate.wMonth, 0);

    ValueType type = ValueType::None;
    std::string data;
    ASSERT_TRUE(catalogue->getValue(std::string(kZoneRootNt) + "\\Europe/Berlin", "tzi", type, data));
    EXPECT_EQ(type, ValueType::Binary);
    EXPECT_EQ(data.size(), kTziSize);
    EXPECT_FALSE(catalogue->getValue(std::string(kZoneRootNt) + "\\Europe/Berlin", "MapID", type, data));
}

// The machine may name its zone by an id zone.tab does not list ("Etc/UTC" on Debian, or a legacy
// link): the home zone must still be that zone, not the empty record that would mean plain UTC. Such
// zones are found by name but not listed; names that are no zone file stay unknown.
TEST_F(ZoneCatalogueTest, FindsZonesByNameThatTheListLeavesOut) {
    EXPECT_EQ(biasesAndNames(read("US/Eastern")), "300 -60 EST/EDT");
    EXPECT_EQ(read("US/Eastern").DisplayText, "(GMT-05:00) Eastern");
    EXPECT_EQ(read("Etc/UTC").DisplayText, "(GMT) UTC");
    const auto ids = catalogue->zoneIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), "US/Eastern"), 0);
    for (const char* bad : {"../../etc/passwd", "/etc/localtime", "No/Such_Zone", "Europe/Nowhere", ""})
        EXPECT_EQ(read(bad), ZoneRecord{}) << bad;
}

// A year that no recurring rule describes gets a block of fixed dates, those of the clock's year, that
// gets no second wrong; a year with two daylight periods gets the best single one, and says how far
// off it is. (Blocks with a recurring rule are read at their changes in the tool-tip lines' test.)
TEST_F(ZoneCatalogueTest, FixedDatesAreThoseOfTheClocksYearAndTwoDaylightPeriodsGetTheBestOne) {
    EXPECT_EQ(read("Asia/Jerusalem").DaylightDate, fixed(2026, 3, 27, 2));
    clock.setUtc(DateTime::fromFields(2027, 2, 1));
    EXPECT_EQ(read("Asia/Jerusalem").DaylightDate, fixed(2027, 3, 26, 2));
    const auto rule = catalogue->zoneRuleForYear("Asia/Jerusalem", 2027);
    ASSERT_TRUE(rule);
    EXPECT_FALSE(rule->recurring);
    EXPECT_EQ(rule->mismatchSeconds, 0);

    const auto y2026 = catalogue->zoneRuleForYear("Africa/Casablanca", 2026);
    ASSERT_TRUE(y2026);
    // +01 until 15 February, +00 until 22 March, +01 until 20 September: one period cannot say it.
    EXPECT_EQ(std::pair(y2026->record.Bias, y2026->record.DaylightBias), std::pair(0, -60));
    EXPECT_EQ(y2026->mismatchSeconds, 35 * 86400);
    const auto y2027 = catalogue->zoneRuleForYear("Africa/Casablanca", 2027);
    EXPECT_EQ(y2027->mismatchSeconds, 0);
    EXPECT_EQ(y2027->record.DaylightDate.wMonth, 0);
}

TEST_F(ZoneCatalogueTest, MachineZoneBiasIsTheStandardOffsetAllYear) {
    const test::TempDir empty;
    const std::string& noEtc = empty.path();
    ZoneCache zones;
    {
        test::TzVariable tz("Australia/Sydney");  // in daylight time on 1 January, yet the standard Bias
        clock.setUtc(DateTime::fromFields(2026, 1, 1));
        EXPECT_EQ(machineZoneBias(kZoneinfo, clock, zones, noEtc), -600);
        ZoneState state;
        fillLocalBias(state, kZoneinfo, clock, zones);
        EXPECT_EQ(state.LocalBias, -600);
    }
    {
        test::TzVariable tz("Europe/Dublin");
        EXPECT_EQ(machineZoneBias(kZoneinfo, clock, zones, noEtc), 0);
    }
    // No zone file at all: 0, and a catalogue that still has UTC.
    EXPECT_EQ(machineZoneBias(noEtc, clock, zones, noEtc), 0);
    ZoneCatalogue none(noEtc, clock);
    EXPECT_EQ(none.zoneIds(), std::vector<std::string>{"UTC"});
    const auto utc = none.zoneRecord("utc");
    ASSERT_TRUE(utc);
    EXPECT_EQ(utc->DisplayText, "(GMT) Coordinated Universal Time");
    EXPECT_EQ(biasesAndNames(*utc), "0 0 UTC/UTC");
}

}  // namespace
}  // namespace tavrin
