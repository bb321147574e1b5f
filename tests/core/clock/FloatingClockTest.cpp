#include "core/clock/FloatingClock.h"

#include <gtest/gtest.h>

#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"

namespace tavrin {
namespace {

using Kind = FloatingMenuKind;

struct FloatingClockTest : ::testing::Test {
    // 7 March 2005, 21:05:00 UTC; the machine is an hour ahead.
    test::FakeClock clock{DateTime::fromFields(2005, 3, 7, 21, 5, 0), 60};
    MemoryStore store;
    Settings settings;
    ZoneState zones;

    void SetUp() override {
        store.mount(Root::LocalMachine,
                    makeZoneCatalogue(std::string(TAVRIN_TEST_DATA) + "/zoneinfo", clock));
        zones.ZoneRoot = kZoneRootNt;
        zones.HomeZone.DisplayText = "(GMT+01:00) Berlin, Germany";
        settings.TimeFormat = "h:mm AM/PM";
        settings.DateFormat = "dd mmm yyyy";
    }
    std::string texts(FloatingClock& f) {
        f.refresh(store, settings, zones, clock);
        return f.texts().time + " | " + f.texts().date + " | " + f.texts().zoneName;
    }
};

// The menu's entries, a separator as "-", a zone as its caption and "=" its zone's name.
std::string entries(const FloatingClock& f) {
    std::string out;
    for (const FloatingMenuItem& item : f.menu()) {
        out += item.kind == Kind::Separator ? "-" : item.text;
        if (item.kind == Kind::Zone) out += "=" + item.zoneName;
        out += "|";
    }
    return out;
}

TEST_F(FloatingClockTest, MenuListsTheChosenZonesUpToTheFirstGap) {
    // No zones: two separators side by side.
    EXPECT_EQ(entries(FloatingClock(store, zones)), "&Show Time Zone...|-|-|&Always on Top|-|&Close|");
    EXPECT_EQ(FloatingClock(store, zones).menu()[0].kind, Kind::ShowTimeZone);
    zones.ZoneList[1] = "Asia/Tokyo";
    zones.ZoneList[2] = "Europe/Nowhere";
    zones.ZoneList[4] = "Europe/Dublin";  // after the gap at 3: not listed
    FloatingClock f(store, zones);
    EXPECT_EQ(entries(f),
              "&Show Time Zone...|-|(GMT+09:00) Tokyo, Japan=Asia/Tokyo|Europe/Nowhere - unknown "
              "zone=Europe/Nowhere|-|&Always on Top|-|&Close|");
    // The entries follow the chosen zones when they change, and only then.
    EXPECT_FALSE(f.followZoneList(store, zones));
    zones.ZoneList[2] = "Europe/Dublin";
    EXPECT_TRUE(f.followZoneList(store, zones));
    EXPECT_EQ(f.menu()[3], (FloatingMenuItem{Kind::Zone, "(GMT) Dublin, Ireland", "Europe/Dublin"}));
    EXPECT_EQ(f.menu()[5].kind, Kind::AlwaysOnTop);
    EXPECT_EQ(f.menu()[7].kind, Kind::Close);

    for (int slot = 1; slot <= kMaxZones; ++slot)
        zones.ZoneList[static_cast<std::size_t>(slot)] = "Asia/Tokyo";
    EXPECT_EQ(FloatingClock(store, zones).menu().size(), 6u + kMaxZones);
}

TEST_F(FloatingClockTest, MachinesZoneInTheDesktopsFormsAWorldZoneInTheSettings) {
    FloatingClock f(store, zones);
    EXPECT_EQ(f.mode(), FloatingMode::OwnZoneAtLoad);
    EXPECT_EQ(texts(f), "10:05:00 PM | 3/7/2005 | (GMT+01:00) Berlin, Germany");

    f.showZone("America/New_York");
    EXPECT_EQ(texts(f), "4:05 PM | 07 Mar 2005 | (GMT-05:00) New York, United States");

    f.showOwnZone();
    EXPECT_EQ(f.mode(), FloatingMode::OwnZoneChosen);
    EXPECT_EQ(texts(f), "10:05:00 PM | 3/7/2005 | (GMT+01:00) Berlin, Germany");

    // A zone the catalogue does not know shows its name, marked, and no time.
    f.showZone("Europe/Gone");
    EXPECT_EQ(texts(f), "--:-- |  | Europe/Gone - unknown zone");
}

// Refresh tells whether any text changed; the pace says whether one can within a minute.
TEST_F(FloatingClockTest, RefreshAndPaceFollowTheSecondsShown) {
    FloatingClock f(store, zones);
    EXPECT_TRUE(f.refresh(store, settings, zones, clock));
    clock.advanceSeconds(1);  // the long time shows seconds
    EXPECT_TRUE(f.refresh(store, settings, zones, clock));
    EXPECT_EQ(f.pace(settings), TickPace::EachSecond);

    f.showZone("Asia/Tokyo");
    EXPECT_TRUE(f.refresh(store, settings, zones, clock));
    clock.advanceSeconds(1);  // "h:mm AM/PM" has not moved
    EXPECT_FALSE(f.refresh(store, settings, zones, clock));
    EXPECT_EQ(f.pace(settings), TickPace::EachMinute);
    settings.DateFormat = "dd mmm yyyy hh:mm:ss";  // a world zone's date is written from its time
    EXPECT_EQ(f.pace(settings), TickPace::EachSecond);
    settings.DateFormat = "dd mmm yyyy";
    settings.TimeFormat = "hh:mm:ss";
    EXPECT_EQ(f.pace(settings), TickPace::EachSecond);
}

TEST(FloatingClockDrag, FollowsTheCursorButStaysOnTheScreen) {
    const PixelRect screen{0, 0, 1024, 768};
    const struct {
        PixelPoint cursor, grab, at;
    } cases[] = {
        {{500, 300}, {10, 5}, {490, 295}},
        {{3, 300}, {10, 5}, {0, 295}},       // past the left edge
        {{1020, 760}, {10, 5}, {767, 668}},  // past the bottom-right corner: the whole window shows
        {{500, -40}, {10, 5}, {490, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(draggedWindowPos(c.cursor, c.grab, 257, 100, screen), c.at)
            << c.cursor.x << "," << c.cursor.y;
    // On a second screen to the right.
    EXPECT_EQ(draggedWindowPos({1030, 10}, {0, 0}, 257, 100, {1024, 0, 2048, 768}), (PixelPoint{1030, 10}));
}

}  // namespace
}  // namespace tavrin
