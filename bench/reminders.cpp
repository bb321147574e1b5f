// The reminder file is read once at start and rewritten after every change; the due check runs
// on every reminder-timer tick (750 ms), doing real work once a minute.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/reminders/DueCheck.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderTable.h"
#include "support/FakeClock.h"

namespace {

using namespace tavrin;

ReminderTable fullTable() {
    ReminderTable t;
    for (int i = 0; i < kReminderSlots; ++i) {
        t.titles[i] = "Reminder number " + std::to_string(i) + " with a title of usual length";
        t.dates[i] = "03/" + std::to_string(10 + i % 18) + "/05";
        t.times[i] =
            (i % 24 < 10 ? "0" : "") + std::to_string(i % 24) + ":" + std::to_string(10 + i % 50) + ":00";
        t.enabled[i] = i % 5 ? "1" : "0";
        t.recurrences[i] = std::to_string(i % 4 - 1);
        t.bodies[i] = std::string(250, 'm') + "\r\nsecond line of the message";
    }
    return t;
}

std::string tempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

class QuietAnnouncer : public ReminderAnnouncer {
  public:
    bool showBalloon(const std::string&) override { return true; }
    bool askReview() override { return true; }
    void openManager() override {}
};

void BM_LoadFullFile(benchmark::State& state) {
    const std::string dir = tempFolder();
    const std::string path = dir + "/Tavrin.DAT";
    if (const Result saved = saveReminders(fullTable(), path); !saved) {
        state.SkipWithError(saved.message().c_str());
        return;
    }
    ReminderTable t;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadReminders(t, path));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadFullFile)->Unit(benchmark::kMicrosecond);

void BM_SaveFullFile(benchmark::State& state) {
    const std::string dir = tempFolder();
    const std::string path = dir + "/Tavrin.DAT";
    const ReminderTable t = fullTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(saveReminders(t, path));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveFullFile)->Unit(benchmark::kMicrosecond);

// The same without the file's flush to disk, to tell the program's own cost from the disk's.
void BM_SaveFullFileWithoutFlush(benchmark::State& state) {
    const std::string dir = tempFolder();
    const std::string path = dir + "/Tavrin.DAT";
    const ReminderTable t = fullTable();
    AtomicFile::WriteCalls calls = AtomicFile::WriteCalls::system();
    calls.fsync = [](int) { return 0; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(saveReminders(t, path, calls));
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveFullFileWithoutFlush)->Unit(benchmark::kMicrosecond);

void BM_ParseAndSerialiseOnly(benchmark::State& state) {
    const std::string text = serialiseReminders(fullTable());
    ReminderTable t;
    for (auto _ : state) {
        parseReminders(text, t);
        benchmark::DoNotOptimize(serialiseReminders(t));
    }
}
BENCHMARK(BM_ParseAndSerialiseOnly)->Unit(benchmark::kMicrosecond);

struct CheckFixture {
    ReminderTable table = fullTable();
    Settings settings;
    test::FakeClock clock{DateTime::fromFields(2005, 4, 1, 8, 0, 0)};
    QuietAnnouncer announcer;
    CheckFixture() {
        settings.DateFormat = "mm/dd/yy";
        settings.TimeFormat = "h:mm AM/PM";
    }
};

// The check at the first tick of each new minute, the stored dates already read.
void BM_DueCheckNewMinute(benchmark::State& state) {
    CheckFixture f;
    DueCheck check(f.table, f.settings, f.clock, f.announcer, "/nonexistent/Tavrin.DAT");
    check.checkReminders();
    for (auto _ : state) {
        f.clock.advanceSeconds(60);
        benchmark::DoNotOptimize(check.checkReminders());
    }
}
BENCHMARK(BM_DueCheckNewMinute)->Unit(benchmark::kMicrosecond);

// The first check, which reads every stored date and time.
void BM_DueCheckFirstRun(benchmark::State& state) {
    CheckFixture f;
    for (auto _ : state) {
        DueCheck check(f.table, f.settings, f.clock, f.announcer, "/nonexistent/Tavrin.DAT");
        benchmark::DoNotOptimize(check.checkReminders());
    }
}
BENCHMARK(BM_DueCheckFirstRun)->Unit(benchmark::kMicrosecond);

// A tick inside a minute already checked.
void BM_DueCheckSameMinute(benchmark::State& state) {
    CheckFixture f;
    DueCheck check(f.table, f.settings, f.clock, f.announcer, "/nonexistent/Tavrin.DAT");
    check.checkReminders();
    for (auto _ : state) {
        benchmark::DoNotOptimize(check.checkReminders());
    }
}
BENCHMARK(BM_DueCheckSameMinute);

// Catching up a whole week of missed minutes.
void BM_DueCheckWeekCatchUp(benchmark::State& state) {
    CheckFixture f;
    DueCheck check(f.table, f.settings, f.clock, f.announcer, "/nonexistent/Tavrin.DAT");
    check.checkReminders();
    for (auto _ : state) {
        f.clock.advanceSeconds(7 * 24 * 3600);
        benchmark::DoNotOptimize(check.checkReminders());
    }
}
BENCHMARK(BM_DueCheckWeekCatchUp)->Unit(benchmark::kMicrosecond);

}  // namespace
