#include "core/clock/MenuLines.h"

#include <gtest/gtest.h>

#include <ctime>

#include "core/clock/MenuScrub.h"
#include "core/state/Paths.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"
#include "support/ScratchHome.h"
#include "support/StoredValue.h"

namespace tavrin {
namespace {

// 15 January 2026, 14:00 UTC: New York 9:00 am, St Johns 10:30 am, Buenos Aires 11:00 am, Berlin
// 3:00 pm, Tokyo 11:00 pm and Sydney already 1:00 am the next day.
const DateTime kUtc = DateTime::fromFields(2026, 1, 15, 14, 0, 0);

using Captions = std::vector<std::string>;

struct MenuLinesTest : ::testing::Test {
    // Over the pinned zones; a test may mount the system's whole tz database instead.
    std::string zoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";
    test::FakeClock clock{kUtc};
    MemoryStore store;
    Settings settings;
    ZoneState zones;
    KeyHandle key;

    void SetUp() override {
        store.mount(Root::LocalMachine, makeZoneCatalogue(zoneinfo, clock, zones.zoneCache));
        settings.SettingsRoot = Root::CurrentUser;
        settings.TZFormat = "mm/dd/yy h:mm am/pm";
        zones.ZoneRoot = kZoneRootNt;
        Disposition d = Disposition::None;
        ASSERT_EQ(store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d),
                  status::kSuccess);
    }
    void choose(const std::vector<std::string>& ids) {
        put("NumTimeZones", std::to_string(ids.size()));
        for (std::size_t i = 0; i < ids.size(); ++i) put("TZone" + std::to_string(i + 1), ids[i]);
    }
    void put(const std::string& name, const std::string& value) {
        store.SetValue(key, name, ValueType::String, value);
    }
    std::vector<std::string> captions(ZoneSort type, ZoneSortDirection dir) {
        settings.TZSType = type;
        settings.TZSDir = dir;
        std::vector<std::string> out;
        for (const MenuLine& line : prepareMenuLines(store, settings, zones, kUtc).lines)
            out.push_back(line.caption);
        return out;
    }
    std::vector<std::string> zoneList(int n) {
        return std::vector<std::string>(zones.ZoneList.begin() + 1, zones.ZoneList.begin() + 1 + n);
    }
};

TEST_F(MenuLinesTest, OneCaptionPerZoneAndNoTimeForAnUnknownOne) {
    choose({"America/New_York", "Asia/Kathmandu", "Australia/Sydney", "Europe/Nowhere"});
    // A zone the catalogue does not know: its stored name, marked.
    EXPECT_EQ(
        captions(ZoneSort{7}, kSortAscending),
        (Captions{"01/15/26 9:00 am - (GMT-05:00) New York, United States",
                  "01/15/26 7:45 pm - (GMT+05:45) Kathmandu, Nepal",
                  "01/16/26 1:00 am - (GMT+10:00) Sydney, Australia", "Europe/Nowhere - unknown zone"}));
}

TEST_F(MenuLinesTest, BothSortsInBothDirections) {
    // Jerusalem and Cairo both show 4:00 pm: the city decides. Sydney is on the next day already.
    const std::vector<std::string> chosen = {"Australia/Sydney", "Asia/Jerusalem", "Mars/Olympus",
                                             "America/New_York", "Asia/Tokyo",     "Africa/Cairo",
                                             "America/St_Johns"};
    choose(chosen);
    const std::vector<std::string> upward = {"New York", "St Johns", "Cairo", "Jerusalem",
                                             "Tokyo",    "Sydney",   "?"};
    const std::vector<std::string> downward = {"Sydney",   "Tokyo",    "Jerusalem", "Cairo",
                                               "St Johns", "New York", "?"};
    // By time the zones' own date-times are compared, whatever the menu format makes of them as text.
    settings.TZSType = kSortByTime;
    for (const auto& [dir, expected] : {std::pair{kSortAscending, upward}, {kSortDescending, downward}}) {
        settings.TZSDir = dir;
        std::vector<std::string> cities;
        for (const MenuLine& line : prepareMenuLines(store, settings, zones, kUtc).lines)
            cities.push_back(line.zoneTime ? line.zone.CityName.substr(1, line.zone.CityName.find(',') - 1)
                                           : "?");
        EXPECT_EQ(cities, expected) << static_cast<int>(dir);
        EXPECT_EQ(zoneList(7), chosen);  // by time, the stored order stays
    }

    choose({"Europe/Berlin", "America/New_York", "America/St_Johns", "America/Argentina/Buenos_Aires",
            "Asia/Tokyo"});
    settings.PNDisp = true;  // the city, with the blank after ")"
    settings.TZFormat = "h:mm";
    const Captions byCity = captions(kSortAlphabetically, kSortAscending);
    EXPECT_EQ(byCity, (Captions{"15:00 -  Berlin, Germany", "11:00 -  Buenos Aires, Argentina",
                                "9:00 -  New York, United States", "10:30 -  St Johns, Canada",
                                "23:00 -  Tokyo, Japan"}));
    // Alphabetically, the list in memory follows the lines.
    EXPECT_EQ(zoneList(5), (std::vector<std::string>{"Europe/Berlin", "America/Argentina/Buenos_Aires",
                                                     "America/New_York", "America/St_Johns", "Asia/Tokyo"}));
    EXPECT_EQ(captions(kSortAlphabetically, kSortDescending), Captions(byCity.rbegin(), byCity.rend()));
    EXPECT_EQ(captions(kSortAlphabetically, ZoneSortDirection{2}),
              captions(ZoneSort{7}, kSortAscending));  // unknown: unsorted
}

TEST_F(MenuLinesTest, EqualKeysAreNeverSwapped) {
    // Two unknown zones share the empty city name.
    choose({"Nowhere/First", "Europe/Berlin", "Nowhere/Second"});
    captions(kSortAlphabetically, kSortAscending);
    EXPECT_EQ(zoneList(3), (std::vector<std::string>{"Nowhere/First", "Nowhere/Second", "Europe/Berlin"}));
    captions(kSortAlphabetically, kSortDescending);
    EXPECT_EQ(zoneList(3), (std::vector<std::string>{"Europe/Berlin", "Nowhere/First", "Nowhere/Second"}));
}

TEST_F(MenuLinesTest, ReadsTheCountAndTheZonesFromTheSettingsKey) {
    // Missing: "0" is written back and nothing is shown.
    EXPECT_EQ(readMenuZones(store, Root::CurrentUser, zones), 0);
    EXPECT_EQ(test::storedValue(store, key, "NumTimeZones"), "0");

    // A stored terminator is not part of the name; slots past the count are emptied.
    zones.ZoneList[3] = "Asia/Tokyo";
    put("NumTimeZones", "2");
    put("TZone1", std::string("Europe/Berlin") + '\0');
    put("TZone2", "Asia/Kathmandu");
    EXPECT_EQ(readMenuZones(store, Root::CurrentUser, zones), 2);
    EXPECT_EQ(zoneList(3), (std::vector<std::string>{"Europe/Berlin", "Asia/Kathmandu", ""}));

    // Counts typed by hand: the whole zones of the leading number, at most the 50 slots there are.
    put("TZone3", "Asia/Tokyo");
    const std::pair<const char*, int> counts[] = {{"55", 50}, {"-3", 0}, {"3", 3}, {"2.7", 2}, {"0.9", 0}};
    for (const auto& [stored, shown] : counts) {
        put("NumTimeZones", stored);
        EXPECT_EQ(readMenuZones(store, Root::CurrentUser, zones), shown) << stored;
        EXPECT_EQ(zones.ZoneList[3].empty(), shown < 3) << stored;
    }
    // No settings key: nothing to show.
    EXPECT_EQ(readMenuZones(store, Root::LocalMachine, zones), 0);
}

// The menu's time moved in quarter hours across a day and a half on either side of clock changes:
// every line shows the C library's wall clock for its zone at that instant (TZ=zone, localtime_r), the
// lines stay sorted by the moved times, and a line is marked just when that time is working time.
struct MenuScrubTest : MenuLinesTest {
    MenuScrubTest() { zoneinfo = Paths::fromEnvironment().zoneinfoDir; }
};

TEST_F(MenuScrubTest, MovedLinesShowTheCLibrarysWallClockAcrossChanges) {
    const std::vector<std::string> chosen = {"Europe/Berlin", "Australia/Sydney", "Australia/Lord_Howe",
                                             "Pacific/Apia"};
    choose(chosen);
    settings.TZSType = kSortByTime;
    const DateTime starts[] = {
        DateTime::fromFields(2026, 3, 29, 1, 0, 0),    // Berlin forward
        DateTime::fromFields(2026, 10, 25, 1, 0, 0),   // Berlin back
        DateTime::fromFields(2026, 4, 4, 15, 0, 0),    // Sydney back an hour, Lord Howe half an hour
        DateTime::fromFields(2026, 10, 3, 15, 30, 0),  // both forward again
        DateTime::fromFields(2011, 12, 30, 10, 0, 0),  // Apia skips 30 December over the date line
    };
    for (const DateTime& now : starts) {
        MenuLines lines = prepareMenuLines(store, settings, zones, now);
        for (std::int64_t offset = -36 * 3600; offset <= 36 * 3600; offset += 900) {
            const DateTime at = now.addSeconds(offset);
            retimeMenuLines(lines, settings, zones, at);
            for (std::size_t i = 0; i < lines.lines.size(); ++i) {
                const MenuLine& line = lines.lines[i];
                const test::TzVariable tz(":" + line.zone.tzFile);
                const std::time_t t = static_cast<std::time_t>(at.toUnix());
                std::tm tm{};
                localtime_r(&t, &tm);
                const DateTime expected = DateTime::fromFields(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                                                               tm.tm_hour, tm.tm_min, tm.tm_sec);
                ASSERT_EQ(line.zoneTime, expected) << line.zone.tzFile << " at " << at.toUnix();
                EXPECT_EQ(line.workingTime,
                          tm.tm_wday >= 1 && tm.tm_wday <= 5 && tm.tm_hour >= 9 && tm.tm_hour < 17);
                if (i > 0) {
                    EXPECT_LE(*lines.lines[i - 1].zoneTime, *line.zoneTime);
                }
            }
        }
    }
}

// The header says how far the lines' time is from now and what time that is here; the clipboard
// proposes the clicked line's moment in every chosen zone.
TEST_F(MenuLinesTest, HeaderAndClipboardTexts) {
    const struct {
        std::int64_t offset;
        const char* header;
    } headers[] = {
        {30, ""},
        {-45 * 60, "-45 min: 01/15/26 2:15 pm here"},
        {3 * 86400 + 2 * 3600 + 15 * 60, "+3 days 2 h 15 min: 01/18/26 5:15 pm here"},
    };
    const DateTime here = DateTime::fromFields(2026, 1, 15, 15, 0, 0);
    for (const auto& h : headers)
        EXPECT_EQ(
            scrubHeaderText(h.offset, here.addSeconds(h.offset), settings.TZFormat, CalendarNames::english()),
            h.header);

    // 7 December 2026, 23:00 UTC: Tokyo and Berlin are on Tuesday already, New York and UTC still on
    // Monday; an unknown zone has no time to give.
    choose({"Europe/Berlin", "Asia/Tokyo", "Nowhere/Else", "America/New_York"});
    settings.TZSType = ZoneSort{7};
    const DateTime utc = DateTime::fromFields(2026, 12, 7, 23, 0, 0);
    const MenuLines lines = prepareMenuLines(store, settings, zones, utc);
    EXPECT_EQ(
        meetingText(lines, 1, utc, CalendarNames::english()),
        "08:00 Tue 8 Dec in Tokyo = 00:00 in Berlin = 18:00 Mon 7 Dec in New York = 23:00 Mon 7 Dec UTC");
}

}  // namespace
}  // namespace tavrin
