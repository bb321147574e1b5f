#include "core/calendars/ShownEvents.h"

#include <gtest/gtest.h>

#include "core/calendars/EventNotices.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

constexpr const char* kSystemZones = "/usr/share/zoneinfo";
constexpr std::int64_t kMarch4 = 1709528400;  // 2024-03-04 00:00 in New York (EST)

std::string oneEvent(const std::string& uid, const std::string& lines) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:" + uid + "\r\n" + lines +
           "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

struct CalendarsTest : ::testing::Test {
    test::TempDir dir;
    CalendarCache cache{dir.file("calendars")};
    ZoneCache zoneCache;
    ZoneCache::ZonePtr user = *zoneCache.zone(kSystemZones, "America/New_York");
    EventZones zones{*user, zoneCache, kSystemZones};
    std::vector<CalendarSubscription> list = {{"good", "Work", "/w.ics", CalendarSource::File, "", 0, true},
                                              {"bad", "Broken", "/b.ics", CalendarSource::File, "", 0, true},
                                              {"off", "Off", "/o.ics", CalendarSource::File, "", 0, false}};

    void cacheIcs(const std::string& id, std::map<std::string, std::string> resources) {
        CachedCalendar c;
        for (auto& [address, text] : resources) c.resources[address] = {"", text};
        ASSERT_TRUE(cache.write(id, c));
    }
};

TEST_F(CalendarsTest, OneCalendarsDamageHidesNoOtherAndDaysAreTheUsers) {
    cacheIcs("good", {{"/a", oneEvent("late",
                                      "SUMMARY:Late show\r\nLOCATION:Cinema\r\n"
                                      "DTSTART;TZID=Europe/Berlin:20240305T040000\r\nDURATION:PT3H\r\n")},
                      {"/b", oneEvent("fair",
                                      "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20240306\r\n"
                                      "DTEND;VALUE=DATE:20240308\r\n")},
                      {"/c", "not a calendar"}});
    test::writeFile(cache.fileOf("bad"), "garbage");
    cacheIcs("off", {{"/o", oneEvent("o", "DTSTART:20240305T120000Z\r\n")}});
    const ShownEvents shown = loadShownEvents(list, cache, kMarch4, kMarch4 + 7 * 86400, zones);
    ASSERT_EQ(shown.events.size(), 2u);
    ASSERT_EQ(shown.problems.size(), 2u);
    EXPECT_EQ(shown.problems[0].reason.substr(0, 4), "/c: ");
    EXPECT_EQ(shown.problems[1].calendarName, "Broken");

    // 04:00-07:00 in Berlin is 22:00-01:00 in New York: two of the user's days.
    const std::int64_t march4 = DateTime::fromFields(2024, 3, 4).days();
    const auto days = eventDays(shown.events, *user);
    std::vector<std::int64_t> marked;
    for (const auto& [day, ids] : days) marked.push_back(day - march4);
    EXPECT_EQ(marked, (std::vector<std::int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(eventsOfDay(shown.events, DateTime::fromFields(2024, 3, 5, 23), *user).size(), 1u);
    EXPECT_EQ(eventsOfDay(shown.events, DateTime::fromFields(2024, 3, 8), *user).size(), 0u);
    EXPECT_EQ(eventTimeText(shown.events[0], zones),
              "2024-03-04 22:00 - 2024-03-05 01:00 (04:00 - 07:00 Europe/Berlin)");
    EXPECT_EQ(eventTimeText(shown.events[1], zones), "2024-03-06 - 2024-03-07");
    EXPECT_EQ(nextEventAfter(shown.events, shown.events[0].start + 1)->title, "Fair");
    EXPECT_FALSE(nextEventAfter(shown.events, shown.events[1].start + 1));
}

TEST_F(CalendarsTest, NoticesComeOnceAcrossRestartsAndCatchUpAfterSleep) {
    cacheIcs("good", {{"/a", oneEvent("m",
                                      "SUMMARY:Meeting\r\nLOCATION:Room 4\r\n"
                                      "DTSTART:20240305T150000Z\r\nRRULE:FREQ=DAILY;COUNT=3\r\n"
                                      "BEGIN:VALARM\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\n")}});
    const std::vector<CalendarEvent> events =
        loadShownEvents({list[0]}, cache, kMarch4, kMarch4 + 7 * 86400, zones).events;
    const std::int64_t firstStart = events.at(0).start;
    const std::string file = dir.file("data/Tavrin.events");
    struct Step {
        bool restart;
        std::int64_t now;  // from the first start
        int noticeMinutes;
        std::vector<std::int64_t> triggers;  // from the first start
    };
    const std::vector<Step> steps = {
        {false, -3600, 0, {}},
        {false, -600, 0, {-600}},                             // the alarm, in its minute
        {true, -590, 0, {}},                                  // a restart in the same minute: not again
        {false, -300, 5, {-300}},                             // the five-minute notice
        {false, 86400 - 300, 5, {86400 - 600, 86400 - 300}},  // slept through a day: both caught up
        {true, 2 * 86400 - 540, 5, {}},                       // first check after start: only its own minute
        {false, 2 * 86400 - 300, 5, {2 * 86400 - 300}},
    };
    auto notices = std::make_unique<EventNotices>(file);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.now);
        if (step.restart) notices = std::make_unique<EventNotices>(file);
        const EventNoticeCheck got = notices->check(events, firstStart + step.now, step.noticeMinutes, zones);
        std::vector<std::int64_t> triggers;
        for (const EventNotice& n : got.notices) triggers.push_back(n.trigger - firstStart);
        EXPECT_EQ(triggers, step.triggers);
        if (!got.notices.empty()) {
            EXPECT_TRUE(got.save && *got.save);
            EXPECT_EQ(got.notices[0].title, "Meeting");
            EXPECT_EQ(got.notices[0].lines.back(), "Room 4");
        }
    }
    // A damaged list is kept as it is and named.
    test::writeFile(file, "damaged");
    EventNotices fresh(file);
    const EventNoticeCheck got = fresh.check(events, firstStart + 86400 - 600, 0, zones);
    ASSERT_TRUE(got.save);
    EXPECT_NE(got.save->message().find("is damaged"), std::string::npos);
    EXPECT_EQ(test::readFile(file), "damaged");
}

}  // namespace
}  // namespace tavrin
