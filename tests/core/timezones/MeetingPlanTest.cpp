#include "core/timezones/MeetingPlan.h"

#include <gtest/gtest.h>

#include "core/timezones/ZoneCache.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

// The week from Monday 7 December 2026, 00:00 UTC, for Berlin (UTC+1), New York (UTC-5) and
// Kathmandu (UTC+5:45), 09:00-17:00 each: Berlin and New York share 14:00-16:00 UTC on each weekday;
// with Kathmandu, whose day ends at 11:15 UTC, never.
TEST(MeetingPlan, FindsTheStretchesWhereEveryoneIsAtWork) {
    ZoneCache cache;
    const auto zone = [&](const char* id) { return cache.zone(kZoneinfo, id).value().get(); };
    const Zone *berlin = zone("Europe/Berlin"), *newYork = zone("America/New_York"),
               *kathmandu = zone("Asia/Kathmandu");
    const DateTime monday = DateTime::fromFields(2026, 12, 7, 0, 0, 0);
    const auto stretches = [&](std::vector<const Zone*> zones, int minutes, const DateTime& from) {
        std::vector<std::pair<std::int64_t, std::int64_t>> out;  // hours after Monday 00:00 UTC, as minutes
        for (const MeetingWindow& w : findMeetingWindows(zones, WorkingHours{}, from, minutes))
            out.push_back({w.startUtc.secondsSince(monday) / 60, w.endUtc.secondsSince(monday) / 60});
        return out;
    };
    std::vector<std::pair<std::int64_t, std::int64_t>> berlinNewYork;
    for (int day = 0; day < 5; ++day) berlinNewYork.push_back({day * 1440 + 14 * 60, day * 1440 + 16 * 60});
    EXPECT_EQ(stretches({berlin, newYork}, 120, monday), berlinNewYork);
    EXPECT_TRUE(stretches({berlin, newYork}, 135, monday).empty());
    EXPECT_TRUE(stretches({berlin, newYork, kathmandu}, 15, monday).empty());
    // Starting inside a stretch, on no quarter hour: it begins at the next quarter hour; the week
    // ends seven days after the start, cutting the next Monday's stretch short.
    const auto fromMidMonday = stretches({berlin, newYork}, 15, monday.addSeconds(14 * 3600 + 20 * 60));
    ASSERT_EQ(fromMidMonday.size(), 6u);
    EXPECT_EQ(fromMidMonday.front(), (std::pair<std::int64_t, std::int64_t>{14 * 60 + 30, 16 * 60}));
    EXPECT_EQ(fromMidMonday.back(),
              (std::pair<std::int64_t, std::int64_t>{7 * 1440 + 14 * 60, 7 * 1440 + 14 * 60 + 15}));
}

// A wall-clock reading in Berlin's spring gap names no instant, and in the autumn's repeated hour two.
TEST(MeetingPlan, ReadsWallTimesAcrossChanges) {
    ZoneCache cache;
    const Zone& berlin = *cache.zone(kZoneinfo, "Europe/Berlin").value();
    const LocalReading gap = berlin.readWallTime(DateTime::fromFields(2026, 3, 29, 2, 30, 0));
    const LocalReading twice = berlin.readWallTime(DateTime::fromFields(2026, 10, 25, 2, 30, 0));
    EXPECT_EQ(gap.kind, LocalReading::Kind::Skipped);
    EXPECT_EQ(gap.change.at, DateTime::fromFields(2026, 3, 29, 1, 0, 0).toUnix());
    EXPECT_EQ(twice.kind, LocalReading::Kind::Repeated);
    EXPECT_EQ(twice.earlier, DateTime::fromFields(2026, 10, 25, 0, 30, 0));
}

}  // namespace
}  // namespace tavrin
