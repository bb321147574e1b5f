// The running clock syncs its reminders with the calendar named by "SyncCalendar" on the test's CalDAV
// server: a phone's event comes in at the next refresh and is announced at its minute, a reminder
// added in the clock goes out within a minute, and a conflict is told once.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <ctime>
#include <set>

#include "app/AppCalendars.h"
#include "core/calendars/CalendarList.h"
#include "core/calendars/ShownEvents.h"
#include "core/reminders/DueCheck.h"
#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderEditor.h"
#include "support/CalendarServers.h"
#include "support/OnePasswordVault.h"
#include "support/TempDir.h"
#include "ui/WindowTestApp.h"
#include "ui/calendars/CalendarRefresher.h"
#include "ui/reminders/QtReminderAnnouncer.h"
#include "ui/reminders/ReminderWindows.h"

namespace tavrin {
namespace {

TEST(AppReminderSync, PhonesReminderIsAnnouncedOursGoesOutAndAConflictIsToldOnce) {
    const test::CalendarServers servers;
    if (servers["RADICALE"].empty()) GTEST_SKIP() << "radicale is not installed (tools/setup.sh installs it)";
    const std::string calendar = servers["RADICALE"] + "/carol/reminders-" + std::to_string(::getpid()) + "/";
    auto send = [&](const char* method, const std::string& to, const std::string& body) {
        return HttpClient().send(
            {method, to, {{"Content-Type", "text/calendar"}}, body, "carol", "carol-pw"});
    };
    ASSERT_EQ(send("MKCALENDAR", calendar, "").valueOr({}).status, 201);
    test::WindowTestApp t(DateTime::fromUnix(std::time(nullptr)));
    test::TempDir home;
    t.app.paths.dataHome = home.file("data");
    t.app.paths.cacheHome = home.file("cache");
    t.app.paths.zoneinfoDir = "/usr/share/zoneinfo";
    t.app.settings.DateFormat = "mm/dd/yyyy";
    t.app.settings.SyncCalendar = "phone";
    const std::string file = t.app.paths.reminderFile();
    ASSERT_TRUE(loadReminders(t.app.reminders, file));
    CalendarSubscription phone;
    phone.id = "phone";
    phone.name = "Phone";
    phone.address = calendar;
    phone.source = CalendarSource::CalDav;
    phone.user = "carol";
    ASSERT_TRUE(writeCalendarList(t.store, t.app.settings.SettingsRoot, {phone}));
    ReminderWindows windows(t.app, "");
    QWidget clock;
    AppCalendars calendars(t.app, std::make_unique<test::OnePasswordVault>("carol-pw"), {});
    int runs = 0;
    QObject::connect(calendars.refresher(), &CalendarRefresher::refreshEnded, [&runs] { ++runs; });
    auto waitForRun = [&](int run) {
        for (int waited = 0; runs < run && waited < 3000; ++waited) test::wait(10);
        ASSERT_EQ(runs, run);
        ASSERT_EQ(calendars.refresher()->failureOf("phone"), "");
    };
    auto nextMinute = [&] {
        t.clock.advanceSeconds(60);
        calendars.tick();
    };
    auto syncBalloons = [] {
        int n = 0;
        for (frmBalloon* balloon : test::shownWindows<frmBalloon>())
            n += balloon->titleLabel()->text() == "Reminders synced with \"Phone\"";
        return n;
    };
    calendars.start(windows, clock);
    waitForRun(1);

    // A phone adds an event with an alarm; the clock's next refresh takes it, and it rings at its minute.
    const std::int64_t at = (std::time(nullptr) / 86400 + 1) * 86400 + 9 * 3600 + 30 * 60;
    const DateTime start = DateTime::fromUnix(at);
    char when[32];
    std::snprintf(when, sizeof when, "%04d%02d%02dT%02d%02d00Z", start.year(), start.month(), start.day(),
                  start.hour(), start.minute());
    auto dentist = [&](const std::string& title) {
        return send("PUT", calendar + "dentist.ics",
                    test::eventResource("dentist@phone",
                                        std::string("DTSTART:") + when + "\r\nSUMMARY:" + title +
                                            "\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:" + title +
                                            "\r\nTRIGGER:PT0S\r\nEND:VALARM\r\n"));
    };
    ASSERT_TRUE(dentist("Dentist"));
    calendars.refresher()->refreshAll();
    waitForRun(2);
    ASSERT_EQ(t.app.reminders.titles[0], "Dentist");
    EXPECT_TRUE(calendars.refresher()->events().empty());  // the reminders are not shown twice
    QtReminderAnnouncer announcer(t.app, {});
    DueCheck due(t.app.reminders, t.app.settings, t.clock, announcer, file);
    EXPECT_EQ(due.checkReminders(userWallTime(at, calendars.refresher()->userZone())).announced, 1);
    ASSERT_TRUE(announcer.lastBalloon() && announcer.lastBalloon()->isVisible());

    // One added in the clock goes out at the next minute's tick.
    ReminderForm form = newReminderForm(t.clock.localNow().addDays(2), t.app.settings);
    form.title = "Call Bob";
    ASSERT_TRUE(addReminder(t.app.reminders, form, t.app.settings, file).ok());
    nextMinute();
    waitForRun(3);
    EXPECT_NE(send("GET", calendar, "").valueOr({}).body.find("SUMMARY:Call Bob"), std::string::npos);

    // Both sides change the dentist: the phone's copy wins, ours is kept beside it, told once.
    ASSERT_TRUE(dentist("Dentist moved"));
    form = editReminderForm(t.app.reminders, 0, t.app.settings);
    form.title = "Dentist at 11";
    ASSERT_TRUE(editReminder(t.app.reminders, 0, "Dentist", form, t.app.settings, file).ok());
    nextMinute();
    waitForRun(4);
    std::set<std::string> titles(t.app.reminders.titles.begin(),
                                 t.app.reminders.titles.begin() + occupiedSlots(t.app.reminders));
    EXPECT_EQ(titles, (std::set<std::string>{"Call Bob", "Dentist moved", "Dentist at 11 (conflict)"}));
    EXPECT_EQ(syncBalloons(), 1);
    nextMinute();  // nothing changed: nothing to sync
    EXPECT_FALSE(calendars.refresher()->fetching("phone"));
    calendars.refresher()->refreshAll();
    waitForRun(5);
    EXPECT_EQ(syncBalloons(), 1);
}

}  // namespace
}  // namespace tavrin
