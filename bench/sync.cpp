// The reminder sync against a real CalDAV server on this machine (a radicale started through the
// test fixture's script, stopped at the end): the first sync of a full file of 256 reminders into an
// empty calendar, and a sync after one reminder changed. The counter "requests" is what one run sent
// the server; the incremental run should cost two (the change, and the listing from the last token).
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/sync/ReminderSync.h"
#include "platform/CalDavSyncServer.h"
#include "support/LocalRadicale.h"
#include "support/TempDir.h"

namespace {

using namespace tavrin;

// One radicale for the whole program, stopped at its end.
test::LocalRadicale& server() {
    static test::TempDir folder("tavrin-bench-sync");
    static test::LocalRadicale radicale(folder.file("radicale"));
    return radicale;
}

std::string newCalendar() {
    return test::newCalendar(server().address(), "alice", "bench");
}

ReminderEventContext context() {
    return {"mm/dd/yy", "Europe/Berlin", "/usr/share/zoneinfo", ::time(nullptr)};
}

// A full file: 256 reminders over the coming weeks, a quarter of them weekly.
void writeFullFile(const std::string& path) {
    ReminderTable table;
    for (int i = 0; i < kReminderSlots; ++i) {
        char date[16], time[16];
        std::snprintf(date, sizeof date, "12/%02d/26", 1 + i % 28);
        std::snprintf(time, sizeof time, "%02d:%02d:00", 7 + i % 12, (i * 5) % 60);
        ReminderRecord{"Reminder " + std::to_string(i), date, time, "1", i % 4 == 0 ? "2" : "-1",
                       "Body " + std::to_string(i)}
            .toSlot(table, i);
    }
    (void)saveReminders(table, path);
}

// A full reminder file, read, and an empty calendar of its own on the server.
struct FullMachine {
    test::TempDir dir;
    const std::string file = dir.file("Tavrin.DAT");
    const std::string address = newCalendar();
    CalDavSyncServer caldav{address, "alice", "alice-pw"};
    ReminderTable table;

    explicit FullMachine(const char* name) : dir(name) {
        writeFullFile(file);
        (void)readReminders(table, file);
    }
    Result<SyncReport> sync() { return syncReminders(table, file, address, caldav, context()); }
};

void BM_FirstSyncOf256(benchmark::State& state) {
    int requests = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FullMachine m("tavrin-bench-first");
        state.ResumeTiming();
        const Result<SyncReport> synced = m.sync();
        if (!synced || synced->sent != kReminderSlots) state.SkipWithError("the first sync failed");
        requests += m.caldav.requestsSent();
        ++runs;
    }
    state.counters["requests"] = static_cast<double>(requests) / runs;
}
BENCHMARK(BM_FirstSyncOf256)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SyncAfterOneChange(benchmark::State& state) {
    FullMachine m("tavrin-bench-incremental");
    if (!m.sync()) state.SkipWithError("the first sync failed");
    int requests = 0, runs = 0, minute = 0;
    for (auto _ : state) {
        state.PauseTiming();
        (void)readReminders(m.table, m.file);
        m.table.times[7] = "06:" + std::to_string(10 + minute++ % 50) + ":00";
        (void)saveReminders(m.table, m.file);
        (void)readReminders(m.table, m.file);
        const int before = m.caldav.requestsSent();
        state.ResumeTiming();
        const Result<SyncReport> synced = m.sync();
        if (!synced || synced->sent != 1) state.SkipWithError("the incremental sync failed");
        requests += m.caldav.requestsSent() - before;
        ++runs;
    }
    state.counters["requests"] = static_cast<double>(requests) / runs;
}
BENCHMARK(BM_SyncAfterOneChange)->Unit(benchmark::kMillisecond);

}  // namespace
