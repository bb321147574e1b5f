// The running clock's calendars: an event's alarm is announced in a balloon once, by the tick, and
// not again after a restart.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/AppCalendars.h"
#include "core/calendars/CalendarList.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "ui/WindowTestApp.h"
#include "ui/calendars/CalendarRefresher.h"
#include "ui/notify/frmBalloon.h"
#include "ui/reminders/ReminderWindows.h"

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

}  // namespace
}  // namespace tavrin
