// Opening the reminder and alarm windows as a user meets them: the calendar from the menu to its first
// painted frame, a month change, the manager listing a full table of 256 reminders, and the alarm
// dialog with a dozen chosen zones read from the system's zone database. Each opening is timed up to
// a complete rendering of the window (a grab paints every child), offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "core/alarms/SoundPlayer.h"
#include "core/state/AppState.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TestApp.h"
#include "ui/alarms/frmAlarm.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/reminders/frmCal.h"
#include "ui/reminders/frmRem.h"
#include "ui/utilities/QtCommonDialogs.h"

using namespace tavrin;

namespace {

struct QuietSound final : SoundPlayer {
    void play(const std::string&) override {}
    void beep() override {}
    void stop() override {}
};

struct Fixture {
    Fixture() {
        test::ensureApp();
        app.settings.DateFormat = "mm/dd/yy";
        app.settings.TimeFormat = "h:mm AM/PM";
        app.settings.WForeColor = "800000";
        app.paths.dataHome = "/nonexistent";  // nothing here is saved
        // A full table, a few reminders on every day of March 2005.
        for (int i = 0; i < kReminderSlots; ++i) {
            const int day = 1 + i % 31;
            app.reminders.titles[i] =
                "Reminder number " + std::to_string(i) + " with a title of usual length";
            app.reminders.dates[i] = std::string("03/") + (day < 10 ? "0" : "") + std::to_string(day) + "/05";
            app.reminders.times[i] = (i % 24 < 10 ? "0" : "") + std::to_string(i % 24) + ":30:00";
            app.reminders.enabled[i] = i % 5 ? "1" : "0";
            app.reminders.recurrences[i] = std::to_string(i % 4 - 1);
            app.reminders.bodies[i] = std::string(250, 'm');
        }
        store.mount(Root::LocalMachine, makeZoneCatalogue("/usr/share/zoneinfo", clock));
        app.zones.ZoneRoot = kZoneRootNt;
        const char* zones[] = {"Asia/Tokyo",       "Europe/Berlin",    "America/New_York",
                               "Australia/Sydney", "Asia/Kolkata",     "Europe/London",
                               "America/Chicago",  "Pacific/Auckland", "America/Sao_Paulo",
                               "Africa/Cairo",     "Asia/Shanghai",    "America/Los_Angeles"};
        for (int i = 0; i < 12; ++i) app.zones.ZoneList[static_cast<std::size_t>(i + 1)] = zones[i];
    }
    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2005, 3, 15, 15, 20, 0)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    ReminderWindows windows{app, TAVRIN_SOURCE_DIR "/Images"};
};

Fixture& fixture() {
    static Fixture* f = new Fixture;
    return *f;
}

// Times `open` showing a window up to its first paint; closing it is not timed.
template <typename Open>
void timeOpenToFirstPaint(benchmark::State& state, Open open) {
    for (auto _ : state) {
        QWidget* window = open();
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        delete window;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The first window of the process: fonts and pictures are loaded on the way. Run once, first, or on
// its own: --benchmark_filter=CalendarFirst.
void BM_CalendarFirstOpenInTheProcess(benchmark::State& state) {
    timeOpenToFirstPaint(state, [] { return fixture().windows.showCalendar(); });
}
BENCHMARK(BM_CalendarFirstOpenInTheProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CalendarOpenToFirstPaint(benchmark::State& state) {
    timeOpenToFirstPaint(state, [] { return fixture().windows.showCalendar(); });
}
BENCHMARK(BM_CalendarOpenToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_CalendarMonthChange(benchmark::State& state) {
    Fixture& f = fixture();
    frmCal* cal = f.windows.showCalendar();
    int step = 0;
    for (auto _ : state) {
        // Forward and back, so every other change lands on the month full of markers.
        step++ % 2 == 0 ? cal->showPreviousMonth() : cal->showNextMonth();
        benchmark::DoNotOptimize(cal->grab());
    }
    delete cal;
}
BENCHMARK(BM_CalendarMonthChange)->Unit(benchmark::kMillisecond);

void BM_ManagerOpenWith256Reminders(benchmark::State& state) {
    timeOpenToFirstPaint(state, [] { return fixture().windows.showManager(); });
}
BENCHMARK(BM_ManagerOpenWith256Reminders)->Unit(benchmark::kMillisecond);

// The alarm dialog, built and shown.
void timeAlarmDialogOpen(benchmark::State& state) {
    QuietSound sound;
    QtCommonDialogs dialogs;
    timeOpenToFirstPaint(state, [&] {
        auto* dialog = new frmAlarm(fixture().app, sound, dialogs);
        dialog->show();
        return dialog;
    });
}

// The alarm dialog as the first window of the process, its zones not yet read from the database.
// Run on its own: --benchmark_filter=AlarmDialogFirst.
void BM_AlarmDialogFirstOpenInTheProcess(benchmark::State& state) {
    timeAlarmDialogOpen(state);
}
BENCHMARK(BM_AlarmDialogFirstOpenInTheProcess)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_AlarmDialogOpen(benchmark::State& state) {
    timeAlarmDialogOpen(state);
}
BENCHMARK(BM_AlarmDialogOpen)->Unit(benchmark::kMillisecond);

}  // namespace
