// What the windows add to the calendars: marks and lines from the cache, the calendars' list kept in
// the settings, a failing calendar told once.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTreeWidget>

#include "core/calendars/CalendarCache.h"
#include "core/calendars/CalendarList.h"
#include "support/FakeCommonDialogs.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "ui/WindowTestApp.h"
#include "ui/calendars/CalendarRefresher.h"
#include "ui/calendars/frmCalendars.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/reminders/frmCal.h"
#include "ui/reminders/frmDayRem.h"

namespace tavrin {
namespace {

const std::string kIcs =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:meet-1\r\n"
    "DTSTAMP:20050301T000000Z\r\nDTSTART:20050315T150000Z\r\nDTEND:20050315T160000Z\r\n"
    "SUMMARY:Team meeting\r\nLOCATION:Room 4\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

struct CalendarWindows : ::testing::Test {
    // The cache answers every load; `fetchOutcome` every fetch.
    CalendarRefresher& refresher() {
        if (!refresher_) {
            auto load = [dir = cache.path()](const CalendarSubscription& c, std::int64_t from,
                                             std::int64_t to) -> Result<std::vector<CalendarEvent>> {
                ZoneCache zones;
                return loadShownEvents({c}, CalendarCache(dir), from, to, EventZones{Zone::utc(), zones, ""})
                    .events;
            };
            auto fetch = [this](const CalendarSubscription&, const std::string&) { return fetchOutcome; };
            refresher_ = std::make_unique<CalendarRefresher>(t.clock, nullptr, nullptr, "", fetch, load);
        }
        return *refresher_;
    }
    void seedCache() {
        CachedCalendar cached;
        cached.resources["feed"] = {"", kIcs};
        ASSERT_TRUE(CalendarCache(cache.path()).write("work", cached));
    }
    static CalendarSubscription work() {
        CalendarSubscription c;
        c.id = "work";
        c.name = "Work";
        c.address = "https://example.com/w.ics";
        c.colour = 0x4E9A06;
        return c;
    }
    // Waits for `runs` more fetches to end, as the window thread hears of them.
    void settle(int runs) {
        int ended = 0;
        const auto seen =
            QObject::connect(&refresher(), &CalendarRefresher::refreshEnded, [&ended] { ++ended; });
        for (int waited = 0; ended < runs && waited < 500; ++waited) test::wait(10);
        QObject::disconnect(seen);
        ASSERT_EQ(ended, runs);
    }

    test::WindowTestApp t;
    test::TempDir cache;
    Result<> fetchOutcome = Result<>::success();
    std::unique_ptr<CalendarRefresher> refresher_;
};

TEST_F(CalendarWindows, CachedEventMarksItsDayInTheCalendarsColourAndListsInTheDayList) {
    seedCache();
    refresher().setCalendars({work()});
    settle(1);
    ReminderWindows windows(t.app, "");
    windows.setCalendarEvents(&refresher());
    frmCal* cal = windows.showCalendar();
    EXPECT_EQ(cal->eventColoursOfDay(15), std::vector<QColor>{QColor(0x4E, 0x9A, 0x06)});
    EXPECT_TRUE(cal->eventColoursOfDay(14).empty());

    cal->selectDay(15);
    cal->viewDayEvents();
    frmDayRem* list = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* day = qobject_cast<frmDayRem*>(w)) list = day;
    ASSERT_TRUE(list);
    ASSERT_EQ(list->eventList()->topLevelItemCount(), 1);
    const QTreeWidgetItem* row = list->eventList()->topLevelItem(0);
    EXPECT_EQ(row->text(1), "Team meeting");
    EXPECT_EQ(row->text(2), "Room 4");
    EXPECT_TRUE(row->text(0).contains("15:00"));
    if (qEnvironmentVariableIsSet("TAVRIN_SHOTS")) {
        cal->grab().save(qEnvironmentVariable("TAVRIN_SHOTS") + "/frmCal-events.png");
        list->show();
        list->grab().save(qEnvironmentVariable("TAVRIN_SHOTS") + "/frmDayRem-events.png");
    }
}

TEST_F(CalendarWindows, FailingCalendarKeepsItsEventsAndIsToldOnceUntilItWorksAgain) {
    seedCache();
    int told = 0;
    QObject::connect(&refresher(), &CalendarRefresher::fetchFailed, [&told] { ++told; });
    fetchOutcome = Result<>::failure("the server answered 500");
    refresher().setCalendars({work()});
    settle(1);
    refresher().refreshAll();
    settle(1);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(refresher().failureOf("work"), "the server answered 500");
    EXPECT_EQ(refresher().eventsOnDay(2005, 3, 15).size(), 1u);
    fetchOutcome = Result<>::success();
    refresher().refreshAll();
    settle(1);
    fetchOutcome = Result<>::failure("the server answered 500");
    refresher().refreshAll();
    settle(1);
    EXPECT_EQ(told, 2);
}

TEST_F(CalendarWindows, CalendarsWindowAddsTogglesAndRemovesAFileAndRefusesOtherAddresses) {
    test::TempDir files;
    test::writeFile(files.file("home.ics"), kIcs);
    test::FakeCommonDialogs dialogs;
    frmCalendars window(t.app, refresher(), dialogs, CalendarAccess{});
    auto stored = [this] { return readCalendarList(t.store, t.app.settings.SettingsRoot).valueOr({}); };

    for (const char* bad : {"ftp://example.com/a.ics", "/no/such/file.ics", "calendar"}) {
        window.addressEdit()->setText(bad);
        window.addCalendar();
    }
    EXPECT_EQ(t.asker.asked.size(), 3u);
    EXPECT_TRUE(stored().empty());

    window.addressEdit()->setText(QString::fromStdString(files.file("home.ics")));
    window.addCalendar();
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored()[0].name, "home");
    EXPECT_EQ(stored()[0].source, CalendarSource::File);
    settle(1);
    if (qEnvironmentVariableIsSet("TAVRIN_SHOTS")) {
        window.show();
        window.grab().save(qEnvironmentVariable("TAVRIN_SHOTS") + "/frmCalendars.png");
    }

    // Chosen to hold the reminders, its row says so.
    t.app.settings.SyncCalendar = stored()[0].id;
    window.refresh();
    settle(1);
    EXPECT_TRUE(window.list()->topLevelItem(0)->text(1).startsWith("Holds the reminders: synced "));

    window.list()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(stored()[0].enabled);
    EXPECT_TRUE(refresher().events().empty());

    t.asker.answers = {true};
    window.removeCalendar();
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(window.list()->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace tavrin
