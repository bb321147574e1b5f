#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneTime.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

// A change on the `week`th `weekday` of `month` every year (week 5: the last one).
SystemTime recurring(std::uint16_t month, std::uint16_t weekday, std::uint16_t week, std::uint16_t hour,
                     std::uint16_t minute = 0) {
    return {0, month, weekday, week, hour, minute};
}

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

    ZoneRecord read(const std::string& id) { return ReadZone(store, kZoneRootNt, id); }
    // The wall clock of zone `id` at the UTC reading `utc`, with the clock set to it.
    std::string wall(const std::string& id, DateTime utc) {
        clock.setUtc(utc);
        const DateTime t = ZoneTimeNow(utc, read(id));
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year(), t.month(), t.day(),
                      t.hour(), t.minute(), t.second());
        return buf;
    }
    // The wall clock of `zone` one second before the UTC reading `at` and at it.
    void aroundChange(const char* zone, DateTime at, const char* secondBefore, const char* atWall) {
        EXPECT_EQ(wall(zone, at.addSeconds(-1)), secondBefore) << zone;
        EXPECT_EQ(wall(zone, at), atWall) << zone;
    }
    static DateTime utc(int month, int day, int hour, int minute = 0) {
        return DateTime::fromFields(2026, month, day, hour, minute);
    }
};

TEST_F(ZoneCatalogueTest, ListsZoneTabInOrderThenUtcUnderEveryAncestor) {
    const auto ids = catalogue->zoneIds();
    ASSERT_EQ(ids.size(), 18u);  // the zone.tab line whose file is missing is left out
    EXPECT_EQ(ids.front(), "Europe/Berlin");
    EXPECT_EQ(ids[1], "Europe/Dublin");
    EXPECT_EQ(ids.back(), "UTC");

    EXPECT_TRUE(catalogue->hasKey(""));
    EXPECT_EQ(catalogue->subKeys(""), std::vector<std::string>{"SOFTWARE"});
    EXPECT_TRUE(catalogue->hasKey("software\\Microsoft"));
    EXPECT_EQ(catalogue->subKeys("SOFTWARE\\MICROSOFT\\windows nt"),
              std::vector<std::string>{"CURRENTVERSION"});
    EXPECT_TRUE(
        catalogue->hasKey("Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\europe/berlin\\"));
    EXPECT_FALSE(catalogue->hasKey("SOFTWARE\\QUILLON"));
    EXPECT_FALSE(catalogue->hasKey(std::string(kZoneRootNt) + "\\Europe/Nowhere"));
    EXPECT_FALSE(catalogue->hasKey(std::string(kZoneRootNt) + "\\Europe/Berlin\\More"));
    EXPECT_TRUE(catalogue->subKeys(std::string(kZoneRootNt) + "\\Europe/Berlin").empty());

    // Walking the store by index gives the same list.
    KeyHandle root;
    ASSERT_EQ(store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), kZoneRootNt, kAllAccess, root), 0);
    std::string name;
    std::uint32_t n = 0;
    while (store.EnumKey(root, n, name) == status::kSuccess) EXPECT_EQ(name, ids[n++]);
    EXPECT_EQ(n, ids.size());
    KeyHandle user;
    EXPECT_NE(store.OpenKey(KeyHandle::rootKey(Root::CurrentUser), kZoneRootNt, kAllAccess, user), 0);
    EXPECT_EQ(store.SetValue(root, "TZI", ValueType::Binary, "x"), status::kAccessDenied);
}

TEST_F(ZoneCatalogueTest, DisplayTextsAndNames) {
    EXPECT_EQ(read("Europe/Berlin").DisplayText, "(GMT+01:00) Berlin, Germany");
    EXPECT_EQ(read("Europe/Berlin").CityName, " Berlin, Germany");
    EXPECT_EQ(read("america/st_johns").DisplayText, "(GMT-03:30) St Johns, Canada");
    EXPECT_EQ(read("Asia/Kathmandu").DisplayText, "(GMT+05:45) Kathmandu, Nepal");
    EXPECT_EQ(read("America/Argentina/Buenos_Aires").DisplayText, "(GMT-03:00) Buenos Aires, Argentina");
    EXPECT_EQ(read("UTC").DisplayText, "(GMT) Coordinated Universal Time");
    const ZoneRecord kathmandu = read("Asia/Kathmandu");
    EXPECT_EQ(kathmandu.StandardName, "+0545");  // the quoted form loses its brackets
    EXPECT_EQ(kathmandu.DaylightName, "+0545");  // no daylight saving: the standard name again
    EXPECT_EQ(kathmandu.DaylightDate.wMonth, 0);

    ValueType type = ValueType::None;
    std::string data;
    ASSERT_TRUE(catalogue->getValue(std::string(kZoneRootNt) + "\\Europe/Berlin", "tzi", type, data));
    EXPECT_EQ(type, ValueType::Binary);
    EXPECT_EQ(data.size(), kTziSize);
    EXPECT_FALSE(catalogue->getValue(std::string(kZoneRootNt) + "\\Europe/Berlin", "MapID", type, data));
    EXPECT_EQ(read("Europe/Nowhere"), ZoneRecord{});
}

TEST_F(ZoneCatalogueTest, RecurringRulesComeStraightFromTheFooter) {
    const ZoneRecord berlin = read("Europe/Berlin");
    EXPECT_EQ(biasesAndNames(berlin), "-60 -60 CET/CEST");
    EXPECT_EQ(berlin.DaylightDate, recurring(3, 0, 5, 2));
    EXPECT_EQ(berlin.StandardDate, recurring(10, 0, 5, 3));

    const ZoneRecord chatham = read("Pacific/Chatham");
    EXPECT_EQ(chatham.Bias, -765);
    EXPECT_EQ(chatham.DaylightDate, recurring(9, 0, 5, 2, 45));
    EXPECT_EQ(chatham.StandardDate, recurring(4, 0, 1, 3, 45));
    EXPECT_EQ(read("Australia/Lord_Howe").DaylightBias, -30);
    EXPECT_EQ(read("Antarctica/Troll").DaylightBias, -120);

    const ZoneRecord dublin = read("Europe/Dublin");
    EXPECT_EQ(biasesAndNames(dublin), "0 -60 GMT/IST");
    EXPECT_EQ(dublin.DaylightDate, recurring(3, 0, 5, 1));
    EXPECT_EQ(dublin.StandardDate, recurring(10, 0, 5, 2));
}

TEST_F(ZoneCatalogueTest, FooterTimesOutsideTheDayBecomeTheYearsFixedDates) {
    const ZoneRecord jerusalem = read("Asia/Jerusalem");
    EXPECT_EQ(jerusalem.DaylightDate, fixed(2026, 3, 27, 2));
    EXPECT_EQ(jerusalem.StandardDate, fixed(2026, 10, 25, 2));
    EXPECT_EQ(read("America/Nuuk").DaylightDate, fixed(2026, 3, 28, 23));
    const ZoneRecord cairo = read("Africa/Cairo");  // "/24": midnight after the last Thursday
    EXPECT_EQ(cairo.DaylightDate, fixed(2026, 4, 24, 0));
    EXPECT_EQ(cairo.StandardDate, fixed(2026, 10, 30, 0));
    EXPECT_EQ(read("America/Santiago").StandardDate, fixed(2026, 4, 5, 0));
    EXPECT_EQ(read("Asia/Gaza").DaylightDate, fixed(2026, 3, 28, 2));

    // The year follows the clock.
    clock.setUtc(DateTime::fromFields(2027, 2, 1));
    EXPECT_EQ(read("Asia/Jerusalem").DaylightDate, fixed(2027, 3, 26, 2));
    const auto rule = catalogue->zoneRuleForYear("Asia/Jerusalem", 2027);
    ASSERT_TRUE(rule);
    EXPECT_FALSE(rule->recurring);
    EXPECT_EQ(rule->mismatchSeconds, 0);
}

TEST_F(ZoneCatalogueTest, MoroccosTwoDaylightPeriodsGetTheBestSingleOne) {
    const auto y2026 = catalogue->zoneRuleForYear("Africa/Casablanca", 2026);
    ASSERT_TRUE(y2026);
    // +01 until 15 February, +00 until 22 March, +01 until 20 September: one period cannot say it.
    EXPECT_EQ(y2026->record.Bias, 0);
    EXPECT_EQ(y2026->record.DaylightBias, -60);
    EXPECT_EQ(y2026->mismatchSeconds, 35 * 86400);
    const auto y2027 = catalogue->zoneRuleForYear("Africa/Casablanca", 2027);
    EXPECT_EQ(y2027->mismatchSeconds, 0);
    EXPECT_EQ(y2027->record.DaylightDate.wMonth, 0);
}

TEST_F(ZoneCatalogueTest, WallClockToTheSecondAroundTransitions) {
    aroundChange("America/New_York", utc(3, 8, 7), "2026-03-08 01:59:59", "2026-03-08 03:00:00");
    aroundChange("America/New_York", utc(11, 1, 6), "2026-11-01 01:59:59", "2026-11-01 01:00:00");
    aroundChange("Australia/Sydney", utc(4, 4, 16), "2026-04-05 02:59:59", "2026-04-05 02:00:00");
    aroundChange("Australia/Sydney", utc(12, 31, 13, 30), "2027-01-01 00:29:59", "2027-01-01 00:30:00");
    aroundChange("Asia/Jerusalem", utc(3, 27, 0), "2026-03-27 01:59:59", "2026-03-27 03:00:00");
    aroundChange("America/Nuuk", utc(3, 29, 1), "2026-03-28 22:59:59", "2026-03-29 00:00:00");
    aroundChange("Africa/Cairo", utc(10, 29, 21), "2026-10-29 23:59:59", "2026-10-29 23:00:00");
    aroundChange("Pacific/Chatham", utc(9, 26, 14), "2026-09-27 02:44:59", "2026-09-27 03:45:00");
    // Winter is Dublin's standard time, summer its daylight time.
    aroundChange("Europe/Dublin", utc(1, 10, 12), "2026-01-10 11:59:59", "2026-01-10 12:00:00");
    aroundChange("Europe/Dublin", utc(7, 10, 12), "2026-07-10 12:59:59", "2026-07-10 13:00:00");
    aroundChange("Unknown/Zone", utc(9, 26, 14), "2026-09-26 13:59:59", "2026-09-26 14:00:00");
    // Morocco's second period of the year, which the year's one rule block cannot hold.
    aroundChange("Africa/Casablanca", utc(2, 15, 2), "2026-02-15 02:59:59", "2026-02-15 02:00:00");
    aroundChange("Africa/Casablanca", utc(3, 22, 2), "2026-03-22 01:59:59", "2026-03-22 03:00:00");
}

TEST_F(ZoneCatalogueTest, DaylightTimeIsTheLaterClockWhateverTheTzDataFlags) {
    // Each record read once, in June, and asked about the whole year.
    const struct {
        const char* zone;
        DateTime utc;
        bool daylight;
    } cases[] = {
        {"Europe/Berlin", utc(1, 15, 12), false},
        {"Europe/Berlin", utc(7, 15, 12), true},
        {"Australia/Sydney", utc(1, 15, 12), true},
        {"Australia/Sydney", utc(7, 15, 12), false},
        {"Asia/Kathmandu", utc(7, 15, 12), false},
        // The tz data flags Dublin's winter and Morocco's Ramadan hour as daylight time that sets the
        // clock back; the record's names call the summer clock daylight time, and so does the clock.
        {"Europe/Dublin", utc(1, 15, 12), false},
        {"Europe/Dublin", utc(7, 15, 12), true},
        {"Africa/Casablanca", utc(3, 1, 12), false},
        {"Africa/Casablanca", utc(6, 15, 12), true},
        {"Africa/Casablanca", utc(10, 1, 12), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDaylightNow(read(c.zone), c.utc), c.daylight) << c.zone << " in month " << c.utc.month();
    EXPECT_EQ(read("Europe/Dublin").DaylightName, "IST");
}

// Points TZ at a zone and puts it back.
class TzVariable {
  public:
    explicit TzVariable(const char* value) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        ::setenv("TZ", value, 1);
    }
    ~TzVariable() { old_ ? ::setenv("TZ", old_->c_str(), 1) : ::unsetenv("TZ"); }

  private:
    std::optional<std::string> old_;
};

TEST_F(ZoneCatalogueTest, MachineZoneBiasIsTheStandardOffsetAllYear) {
    const test::TempDir empty;
    const std::string& noEtc = empty.path();
    {
        TzVariable tz("Australia/Sydney");  // in daylight time on 1 January, yet the standard Bias
        clock.setUtc(DateTime::fromFields(2026, 1, 1));
        EXPECT_EQ(machineZoneBias(kZoneinfo, clock, noEtc), -600);
        ZoneState state;
        fillLocalBias(state, kZoneinfo, clock);
        EXPECT_EQ(state.LocalBias, -600);
    }
    {
        TzVariable tz("Europe/Dublin");
        EXPECT_EQ(machineZoneBias(kZoneinfo, clock, noEtc), 0);
    }
    // No zone file at all: 0, and a catalogue that still has UTC.
    EXPECT_EQ(machineZoneBias(noEtc, clock, noEtc), 0);
    ZoneCatalogue none(noEtc, clock);
    EXPECT_EQ(none.zoneIds(), std::vector<std::string>{"UTC"});
    const auto utc = none.zoneRecord("utc");
    ASSERT_TRUE(utc);
    EXPECT_EQ(utc->DisplayText, "(GMT) Coordinated Universal Time");
    EXPECT_EQ(biasesAndNames(*utc), "0 0 UTC/UTC");
}

}  // namespace
}  // namespace tavrin
