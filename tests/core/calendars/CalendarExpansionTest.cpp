#include "core/calendars/CalendarExpansion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tavrin {
namespace {

constexpr const char* kSystemZones = "/usr/share/zoneinfo";

// The instant of a wall-clock reading "YYYY-MM-DD HH:MM" in `zone`, as the C library converts it.
std::int64_t systemInstant(const char* zone, const char* wall) {
    std::tm tm{};
    std::sscanf(wall, "%d-%d-%d %d:%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour, &tm.tm_min);
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    tm.tm_isdst = -1;
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", zone, 1);
    tzset();
    const std::int64_t t = std::mktime(&tm);
    old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
    return t;
}

std::string calendar(const std::string& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

// A zone of its own name with New York's rules since 2007, as a server might send it.
const std::string kOwnZone =
    "BEGIN:VTIMEZONE\r\nTZID:Office Time\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:20070311T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
    "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nDTSTART:20071104T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
    "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

struct Expected {
    const char* zone;  // the zone the walls below are read in
    const char* start;
    const char* end;
    const char* title;
    std::vector<std::int64_t> alarmOffsets = {};  // seconds from the expected start
};

struct ExpansionCase {
    const char* name;
    std::string ics;
    std::vector<Expected> events;
};

const std::vector<ExpansionCase> kCases = {
    {"WeeklyInBerlinAcrossDaylightWithExdateMovedAndCancelledOverride",
     calendar("BEGIN:VEVENT\r\nUID:w1\r\nSUMMARY:Stand-up\\, team\r\nLOCATION:Room 4\r\n"
              "DTSTART;TZID=Europe/Berlin:20240305T100000\r\nDTEND;TZID=Europe/Berlin:20240305T103000\r\n"
              "RRULE:FREQ=WEEKLY;COUNT=6\r\nEXDATE;TZID=Europe/Berlin:20240319T100000\r\n"
              "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:w1\r\nSUMMARY:Stand-up moved\r\n"
              "RECURRENCE-ID;TZID=Europe/Berlin:20240402T100000\r\n"
              "DTSTART;TZID=Europe/Berlin:20240403T150000\r\nDTEND;TZID=Europe/Berlin:20240403T153000\r\n"
              "END:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:w1\r\nSTATUS:CANCELLED\r\nRECURRENCE-ID:20240409T080000Z\r\n"
              "DTSTART:20240409T080000Z\r\nEND:VEVENT\r\n"),
     {{"Europe/Berlin", "2024-03-05 10:00", "2024-03-05 10:30", "Stand-up, team", {-900}},
      {"Europe/Berlin", "2024-03-12 10:00", "2024-03-12 10:30", "Stand-up, team", {-900}},
      {"Europe/Berlin", "2024-03-26 10:00", "2024-03-26 10:30", "Stand-up, team", {-900}},
      {"Europe/Berlin", "2024-04-03 15:00", "2024-04-03 15:30", "Stand-up moved"}}},
    {"AllDayAndFloatingAreTheUsersDaysAndClock",
     calendar("BEGIN:VEVENT\r\nUID:d1\r\nSUMMARY:Holiday\r\nDTSTART;VALUE=DATE:20240310\r\n"
              "DTEND;VALUE=DATE:20240312\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:f1\r\nSUMMARY:Floating\r\nDTSTART:20240311T090000\r\nDURATION:PT2H\r\n"
              "END:VEVENT\r\n"),
     {{"America/New_York", "2024-03-10 00:00", "2024-03-12 00:00", "Holiday"},
      {"America/New_York", "2024-03-11 09:00", "2024-03-11 11:00", "Floating"}}},
    {"OwnVTimezoneUtcAndAlarmsFromEndAndAbsolute",
     calendar(kOwnZone +
              "BEGIN:VEVENT\r\nUID:o1\r\nSUMMARY:Office\r\nDTSTART;TZID=Office Time:20240308T170000\r\n"
              "RRULE:FREQ=DAILY;UNTIL=20240312T000000Z\r\nDURATION:PT1H\r\n"
              "BEGIN:VALARM\r\nTRIGGER;RELATED=END:PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:u1\r\nSUMMARY:Call Tokyo\r\nDTSTART:20240320T010000Z\r\n"
              "DTEND;TZID=Asia/Tokyo:20240320T110000\r\n"
              "BEGIN:VALARM\r\nTRIGGER;VALUE=DATE-TIME:20240319T230000Z\r\nEND:VALARM\r\nEND:VEVENT\r\n"),
     {{"America/New_York", "2024-03-08 17:00", "2024-03-08 18:00", "Office", {3900}},
      {"America/New_York", "2024-03-09 17:00", "2024-03-09 18:00", "Office", {3900}},
      {"America/New_York", "2024-03-10 17:00", "2024-03-10 18:00", "Office", {3900}},
      {"America/New_York", "2024-03-11 17:00", "2024-03-11 18:00", "Office", {3900}},
      {"UTC", "2024-03-20 01:00", "2024-03-20 02:00", "Call Tokyo", {-7200}}}},
};

TEST(Expansion, MatchesTheSystemsConversion) {
    ZoneCache zones;
    const auto user = zones.zone(kSystemZones, "America/New_York");
    ASSERT_TRUE(user);
    const std::int64_t from = systemInstant("America/New_York", "2024-03-01 00:00");
    const std::int64_t to = systemInstant("America/New_York", "2024-05-01 00:00");
    for (const ExpansionCase& c : kCases) {
        SCOPED_TRACE(c.name);
        auto got = expandCalendarReporting(c.ics, "cal", from, to, **user, zones, kSystemZones);
        ASSERT_TRUE(got) << got.message();
        EXPECT_TRUE(got->skipped.empty());
        ASSERT_EQ(got->events.size(), c.events.size());
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            const Expected& want = c.events[i];
            const CalendarEvent& e = got->events[i];
            const std::int64_t start = systemInstant(want.zone, want.start);
            EXPECT_EQ(e.start, start) << i;
            EXPECT_EQ(e.end, systemInstant(want.zone, want.end)) << i;
            EXPECT_EQ(e.title, want.title) << i;
            std::vector<std::int64_t> alarms;
            for (std::int64_t offset : want.alarmOffsets) alarms.push_back(start + offset);
            EXPECT_EQ(e.alarms, alarms) << i;
        }
    }
}

TEST(Expansion, NamesItsZoneAndSeparatesCalendars) {
    ZoneCache zones;
    const auto user = zones.zone(kSystemZones, "Europe/London");
    const std::string two =
        calendar(
            "BEGIN:VEVENT\r\nUID:a\r\nDTSTART;TZID=/example.org/2020_1/Asia/Kolkata:20240102T100000\r\n"
            "LOCATION:Hall\r\nEND:VEVENT\r\n") +
        calendar(
            "BEGIN:VEVENT\r\nUID:b\r\nSUMMARY:no start\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20240101T000000Z\r\nEND:VEVENT\r\n");
    auto got =
        expandCalendarReporting(two, "cal", 1704067200, 1704067200 + 86400 * 7, **user, zones, kSystemZones);
    ASSERT_TRUE(got) << got.message();
    ASSERT_EQ(got->events.size(), 2u);
    EXPECT_EQ(got->events[1].zoneName, "Asia/Kolkata");
    EXPECT_EQ(got->events[1].start, systemInstant("Asia/Kolkata", "2024-01-02 10:00"));
    EXPECT_EQ(got->events[1].location, "Hall");
    ASSERT_EQ(got->skipped.size(), 1u);
    EXPECT_EQ(got->skipped[0], "the event \"no start\" has no start that can be read");

    for (const char* bad :
         {"", "hello world", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n", "BEGIN:VTODO\r\nEND:VTODO\r\n"})
        EXPECT_FALSE(expandCalendarReporting(bad, "cal", 0, 1, **user, zones, kSystemZones)) << bad;

    // A rule that counts every second for ever gives no more than the cap.
    auto many = expandCalendarReporting(
        calendar(
            "BEGIN:VEVENT\r\nUID:s\r\nDTSTART:20240101T000000Z\r\nRRULE:FREQ=SECONDLY\r\nEND:VEVENT\r\n"),
        "cal", 1704067200, 1704067200 + 86400, **user, zones, kSystemZones);
    ASSERT_TRUE(many);
    EXPECT_EQ(many->events.size(), static_cast<std::size_t>(kMaxOccurrencesPerEvent));
}

}  // namespace
}  // namespace tavrin
