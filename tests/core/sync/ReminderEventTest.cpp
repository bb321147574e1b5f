#include "core/sync/ReminderEvent.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/timezones/FormatPattern.h"

namespace tavrin {
namespace {

ReminderEventContext contextIn(const std::string& zone, const std::string& dateFormat = "dd/mm/yyyy") {
    // 2026-12-08 06:00 UTC
    return ReminderEventContext{dateFormat, zone, "/usr/share/zoneinfo", 1796709600};
}

ReminderRecord reminder(std::string title, std::string date, std::string time, std::string recur,
                        std::string enabled = "1", std::string body = "") {
    return {std::move(title),   std::move(date),  std::move(time),
            std::move(enabled), std::move(recur), std::move(body)};
}

std::string calendar(const std::string& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string event(const std::string& lines) {
    return calendar("BEGIN:VEVENT\r\nUID:e1@phone\r\nDTSTAMP:20260101T000000Z\r\n" + lines +
                    "END:VEVENT\r\n");
}

// The wall clock "YYYY-MM-DD HH:MM:SS" of a Unix instant in `zone`, as the C library converts it.
std::string systemWall(const char* zone, std::int64_t instant) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", zone, 1);
    tzset();
    const std::time_t t = static_cast<std::time_t>(instant);
    std::tm tm{};
    localtime_r(&t, &tm);
    old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

std::string wallRead(const EventReminder& read) {
    EXPECT_TRUE(read.reminder.ok()) << read.reminder.message();
    if (!read.reminder.ok()) return {};
    const auto day = readDateText(read.reminder->date, "dd/mm/yyyy");
    return formatPattern(*day, "yyyy-mm-dd") + " " + read.reminder->time;
}

TEST(ReminderEvent, EveryRepeatKindAndTheSwitchedOffFlagComeBackAsTheyWere) {
    const auto context = contextIn("Europe/Berlin");
    const ReminderRecord reminders[] = {
        reminder("Once", "29/03/2026", "02:30:00", "-1", "1", "in the gap the clock skips"),
        reminder("Hourly", "01/01/2027", "00:15:00", "0"), reminder("Daily", "25/10/2026", "02:30:00", "1"),
        reminder("Weekly", "07/12/2026", "18:00:00", "2", "0", "tea; with, marks\\ and: colons")};
    const char* rules[] = {nullptr, "RRULE:FREQ=HOURLY", "RRULE:FREQ=DAILY", "RRULE:FREQ=WEEKLY"};
    for (int i = 0; i < 4; ++i) {
        const Result<std::string> text = eventFromReminder(reminders[i], "u" + std::to_string(i), context);
        ASSERT_TRUE(text.ok()) << text.message();
        EXPECT_NE(text->find("PRODID:-//Tavrin//Reminders//EN"), std::string::npos);
        EXPECT_NE(text->find("DTSTART;TZID=Europe/Berlin:"), std::string::npos);
        EXPECT_NE(text->find("TZID:Europe/Berlin"), std::string::npos);
        const std::string own = text->substr(text->find("BEGIN:VEVENT"));
        EXPECT_EQ(own.find(rules[i] ? rules[i] : "RRULE"), rules[i] ? own.find("RRULE") : std::string::npos);
        EXPECT_EQ(text->find("BEGIN:VALARM") != std::string::npos, reminders[i].enabled == "1");
        EXPECT_NE(text->find(reminders[i].enabled == "1" ? "X-TAVRIN-ENABLED:1" : "X-TAVRIN-ENABLED:0"),
                  std::string::npos);
        const EventReminder back = reminderFromEvent(*text, context);
        EXPECT_EQ(back.uid, "u" + std::to_string(i));
        ASSERT_TRUE(back.reminder.ok()) << back.reminder.message();
        EXPECT_EQ(*back.reminder, reminders[i]);
    }
}

TEST(ReminderEvent, ADateWithoutAYearIsItsNextDayAndReadsBackTheSame) {
    const auto context = contextIn("Europe/Berlin", "d mmm");
    const ReminderRecord early = reminder("New year", "2 Jan", "09:00:00", "-1");
    const Result<std::string> text = eventFromReminder(early, "u", context);
    ASSERT_TRUE(text.ok()) << text.message();
    EXPECT_NE(text->find("DTSTART;TZID=Europe/Berlin:20270102T090000"), std::string::npos);
    EXPECT_EQ(*reminderFromEvent(*text, context).reminder, early);
}

// The written VTIMEZONE, read by libical under a name no tz database knows, against the C library.
TEST(ReminderEvent, TheWrittenZoneKeepsTheSystemsClockChanges) {
    const std::pair<const char*, const char*> zones[] = {
        {"Europe/Berlin", "29/03/2026"},    {"Europe/Berlin", "26/10/2026"},
        {"America/New_York", "08/03/2026"}, {"America/New_York", "01/11/2026"},
        {"Australia/Sydney", "05/04/2026"}, {"Europe/Dublin", "15/01/2027"},
        {"Australia/Sydney", "04/10/2026"}, {"Europe/Dublin", "15/07/2026"}};
    for (const auto& [zone, date] : zones) {
        const Result<std::string> text =
            eventFromReminder(reminder("t", date, "12:00:00", "-1"), "u", contextIn(zone));
        ASSERT_TRUE(text.ok()) << text.message();
        std::string renamed = *text;
        for (std::size_t at; (at = renamed.find(zone)) != std::string::npos;)
            renamed.replace(at, std::string(zone).size(), "Written Zone");
        const auto inUtc = readDateText(wallRead(reminderFromEvent(renamed, contextIn("UTC"))), "yyyy-mm-dd");
        ASSERT_TRUE(inUtc);
        const auto local = readDateText(date, "dd/mm/yyyy")->addSeconds(12 * 3600);
        EXPECT_EQ(systemWall(zone, inUtc->toUnix()), formatPattern(local, "yyyy-mm-dd HH:MM:SS")) << zone;
    }
}

TEST(ReminderEvent, StartsInOtherZonesBecomeTheUsersWallClock) {
    const auto context = contextIn("Europe/Berlin");
    // 10 March: New York already keeps summer time, Berlin not yet.
    const std::int64_t newYork = 1773147600;  // 2026-03-10 09:00 in New York
    EXPECT_EQ(wallRead(reminderFromEvent(
                  event("SUMMARY:a\r\nDTSTART;TZID=America/New_York:20260310T090000\r\n"), context)),
              systemWall("Europe/Berlin", newYork));
    EXPECT_EQ(wallRead(reminderFromEvent(event("SUMMARY:a\r\nDTSTART:20260701T220000Z\r\n"), context)),
              systemWall("Europe/Berlin", 1782943200));
    EXPECT_EQ(wallRead(reminderFromEvent(event("SUMMARY:a\r\nDTSTART:20260701T220000\r\n"), context)),
              "2026-07-01 22:00:00");
    EXPECT_EQ(wallRead(reminderFromEvent(event("SUMMARY:a\r\nDTSTART;VALUE=DATE:20260701\r\n"), context)),
              "2026-07-01 00:00:00");
}

TEST(ReminderEvent, WhatAReminderCannotHoldIsRefusedWithTheReason) {
    const auto context = contextIn("Europe/Berlin");
    const std::string start = "DTSTART:20260701T220000Z\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"SUMMARY:a\r\n" + start + "RRULE:FREQ=MONTHLY\r\n",
         "a monthly rule, which a reminder cannot repeat"},
        {"SUMMARY:a\r\n" + start + "RRULE:FREQ=DAILY;INTERVAL=2\r\n", "every 2 steps"},
        {"SUMMARY:a\r\n" + start + "RRULE:FREQ=DAILY;COUNT=3\r\n", "ends after 3 times"},
        {"SUMMARY:a\r\n" + start + "RRULE:FREQ=WEEKLY;BYDAY=MO,TH\r\n", "particular days"},
        {"SUMMARY:a\r\n" + start + "RDATE:20260705T220000Z\r\n", "extra dates"},
        {"SUMMARY:say \"hi\"\r\n" + start,
         "a title with a double quote, which the reminder file cannot hold"},
        {"SUMMARY:a\r\nDESCRIPTION:\"x\"\r\n" + start, "a message with a double quote"},
        {start, "no title"},
        {"SUMMARY:a\r\n", "no start"}};
    for (const auto& [lines, why] : cases) {
        const EventReminder read = reminderFromEvent(event(lines), context);
        ASSERT_FALSE(read.reminder.ok()) << lines;
        EXPECT_NE(read.reminder.message().find(why), std::string::npos) << read.reminder.message();
    }
    const Result<std::vector<EventReminder>> notCalendar = remindersFromCalendar("hello there", context);
    ASSERT_FALSE(notCalendar.ok());
    EXPECT_NE(notCalendar.message().find("iCalendar"), std::string::npos) << notCalendar.message();
}

TEST(ReminderEvent, APhonesEventIsTakenWithItsAlarmItsWeekdayAndItsOverridesOnce) {
    const auto context = contextIn("Europe/Berlin");
    const std::string master =
        "BEGIN:VEVENT\r\nUID:w@phone\r\nSUMMARY:Bins\r\nDESCRIPTION:Line one\\nline two\r\n"
        "DTSTART;TZID=Europe/Berlin:20261207T070000\r\nDTEND;TZID=Europe/Berlin:20261207T073000\r\n"
        "RRULE:FREQ=WEEKLY;BYDAY=MO\r\nEXDATE;TZID=Europe/Berlin:20261214T070000\r\n"
        "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nDESCRIPTION:Reminder\r\nEND:VALARM\r\nEND:"
        "VEVENT\r\n";
    const std::string moved =
        "BEGIN:VEVENT\r\nUID:w@phone\r\nSUMMARY:Bins "
        "late\r\nRECURRENCE-ID;TZID=Europe/Berlin:20261221T070000\r\n"
        "DTSTART;TZID=Europe/Berlin:20261221T090000\r\nEND:VEVENT\r\n";
    const std::string cancelled =
        "BEGIN:VEVENT\r\nUID:c@phone\r\nSUMMARY:Off\r\nSTATUS:CANCELLED\r\nDTSTART:20261207T070000\r\nEND:"
        "VEVENT\r\n";
    const Result<std::vector<EventReminder>> read =
        remindersFromCalendar(calendar(moved + master + cancelled), context);
    ASSERT_TRUE(read.ok()) << read.message();
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[0].uid, "w@phone");
    EXPECT_EQ(*(*read)[0].reminder,
              reminder("Bins", "07/12/2026", "07:00:00", "2", "1", "Line one line two"));
    EXPECT_EQ((*read)[1].reminder->enabled, "0");
}

TEST(ReminderEvent, AnExportReadBackGivesTheSameRemindersAndNamesThoseLeftOut) {
    const auto context = contextIn("America/New_York");
    const std::vector<UidReminder> reminders = {{"a", reminder("One", "08/03/2026", "02:30:00", "1")},
                                                {"b", reminder("Bad", "31/02/2026", "10:00:00", "-1")},
                                                {"c", reminder("Two", "01/11/2026", "01:30:00", "0", "0")}};
    const ReminderCalendar exported = calendarFromReminders(reminders, context);
    ASSERT_EQ(exported.skipped.size(), 1u);
    EXPECT_NE(exported.skipped[0].find(
                  "\"Bad\" cannot be written as an event: its date \"31/02/2026\" reads as no day"),
              std::string::npos)
        << exported.skipped[0];
    const Result<std::vector<EventReminder>> read = remindersFromCalendar(exported.text, context);
    ASSERT_TRUE(read.ok()) << read.message();
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[0].uid, "a");
    EXPECT_EQ(*(*read)[0].reminder, reminders[0].reminder);
    EXPECT_EQ(*(*read)[1].reminder, reminders[2].reminder);
    EXPECT_NE(newReminderUid(), newReminderUid());
}

}  // namespace
}  // namespace tavrin
