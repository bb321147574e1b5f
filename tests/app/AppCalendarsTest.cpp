// The running clock's calendars: an event's alarm is announced in a balloon once, by the tick, and
// not again after a restart.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/AppCalendars.h"
#include "core/calendars/CalendarList.h"
#include "support/CalendarServers.h"
#include "support/FileText.h"
#include "support/OnePasswordVault.h"
#include "support/TempDir.h"
#include "ui/WindowTestApp.h"
#include "ui/calendars/CalendarRefresher.h"
#include "ui/notify/frmBalloon.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/reminders/frmCal.h"

namespace tavrin {
namespace {

int balloonsShown() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmBalloon*>(w) && w->isVisible()) ++n;
    return n;
}

TEST(AppCalendars, EventAlarmIsAnnouncedOnceAcrossARestart) {
    test::WindowTestApp t(DateTime::fromFields(2005, 3, 15, 14, 45, 10));
    test::TempDir home;
    t.app.paths.dataHome = home.file("data");
    t.app.paths.cacheHome = home.file("cache");
    test::writeFile(home.file("team.ics"),
                    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:meet-1\r\n"
                    "DTSTAMP:20050301T000000Z\r\nDTSTART:20050315T150000Z\r\nDTEND:20050315T160000Z\r\n"
                    "SUMMARY:Team meeting\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Soon\r\n"
                    "TRIGGER:-PT15M\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    CalendarSubscription team;
    team.id = "team";
    team.name = "Team";
    team.address = home.file("team.ics");
    team.source = CalendarSource::File;
    ASSERT_TRUE(writeCalendarList(t.store, t.app.settings.SettingsRoot, {team}));
    ReminderWindows windows(t.app, "");
    QWidget clock;

    for (int run = 0; run < 2; ++run) {
        AppCalendars calendars(t.app, nullptr, {});
        calendars.start(windows, clock);
        for (int waited = 0; calendars.refresher()->events().empty() && waited < 500; ++waited)
            test::wait(10);
        ASSERT_EQ(calendars.refresher()->events().size(), 1u);
        calendars.tick();
        calendars.tick();
        EXPECT_EQ(balloonsShown(), 1) << "run " << run;
    }
    EXPECT_EQ(clock.toolTip(), "Next: Tue 15:00 Team meeting");
}

TEST(AppCalendars, CalDavCalendarIsFetchedInTheBackgroundAndMarkedInTheCalendar) {
    const test::CalendarServers servers;
    if (servers["RADICALE"].empty()) GTEST_SKIP() << "radicale is not installed (tools/setup.sh installs it)";
    const DateTime now = DateTime::fromUnix(std::time(nullptr));
    const DateTime day = now.date().addDays(2);
    char start[32];
    std::snprintf(start, sizeof start, "%04d%02d%02dT100000Z", day.year(), day.month(), day.day());
    ASSERT_TRUE(servers.putEvent(
        "carol", "windows-review.ics",
        std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                    "UID:windows-review\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:") +
            start + "\r\nDURATION:PT1H\r\nSUMMARY:Review\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
    test::WindowTestApp t(now);
    test::TempDir home;
    t.app.paths.dataHome = home.file("data");
    t.app.paths.cacheHome = home.file("cache");
    CalendarSubscription work;
    work.id = "carolwork";
    work.name = "Carol";
    work.address = servers["RADICALE"] + "/carol/work/";
    work.source = CalendarSource::CalDav;
    work.user = "carol";
    work.colour = 0xCC0000;
    ASSERT_TRUE(writeCalendarList(t.store, t.app.settings.SettingsRoot, {work}));
    ReminderWindows windows(t.app, "");
    QWidget clock;
    AppCalendars calendars(t.app, std::make_unique<test::OnePasswordVault>("carol-pw"), {});
    calendars.start(windows, clock);
    for (int waited = 0; calendars.refresher()->events().empty() && waited < 1000; ++waited) test::wait(10);
    EXPECT_EQ(calendars.refresher()->failureOf("carolwork"), "");
    frmCal* cal = windows.showCalendar();
    if (day.month() != now.month()) cal->showNextMonth();
    EXPECT_EQ(cal->eventColoursOfDay(day.day()), std::vector<QColor>{QColor(0xCC, 0, 0)});
}

}  // namespace
}  // namespace tavrin
