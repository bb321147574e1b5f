// The reminder sync against a real CalDAV server on this machine (a radicale started through the
// test fixture's script, stopped at the end): the first sync of a full file of 256 reminders into an
// empty calendar, and a sync after one reminder changed. The counter "requests" is what one run sent
// the server; the incremental run should cost two (the change, and the listing from the last token).
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/sync/ReminderSync.h"
#include "platform/CalDavSyncServer.h"
#include "support/TempDir.h"

extern char** environ;

namespace {

using namespace tavrin;

// A radicale of the benchmark's own, on a free port, for as long as the program runs.
class Radicale {
  public:
    Radicale() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof at;
        ::bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
        address_ = "http://127.0.0.1:" + std::to_string(ntohs(at.sin_port));
        const std::string port = std::to_string(ntohs(at.sin_port));
        ::close(s);
        const std::string script = std::string(TAVRIN_SOURCE_DIR) + "/tests/fixtures/calendar_servers.py";
        const std::string folder = dir_.file("radicale");
        const char* argv[] = {"python3", script.c_str(), "radicale", folder.c_str(), port.c_str(), nullptr};
        ::posix_spawnp(&pid_, "python3", nullptr, nullptr, const_cast<char**>(argv), environ);
        for (int i = 0; i < 200 && !HttpClient().send({"OPTIONS", address_ + "/", {}, "", "", ""}); ++i)
            ::usleep(50000);
    }
    ~Radicale() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    // A new, empty calendar; its address.
    std::string newCalendar() {
        const std::string at = address_ + "/alice/bench-" + std::to_string(++made_) + "/";
        (void)HttpClient().send({"MKCALENDAR", at, {}, "", "alice", "alice-pw"});
        return at;
    }

  private:
    test::TempDir dir_{"tavrin-bench-sync"};
    std::string address_;
    pid_t pid_ = 0;
    int made_ = 0;
};

Radicale& server() {
    static Radicale radicale;
    return radicale;
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

void BM_FirstSyncOf256(benchmark::State& state) {
    int requests = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        test::TempDir dir("tavrin-bench-first");
        const std::string file = dir.file("Tavrin.DAT");
        writeFullFile(file);
        const std::string address = server().newCalendar();
        CalDavSyncServer caldav(address, "alice", "alice-pw");
        ReminderTable table;
        (void)readReminders(table, file);
        state.ResumeTiming();
        const Result<SyncReport> synced = syncReminders(table, file, address, caldav, context());
        if (!synced || synced->sent != kReminderSlots) state.SkipWithError("the first sync failed");
        requests += caldav.requestsSent();
        ++runs;
    }
    state.counters["requests"] = static_cast<double>(requests) / runs;
}
BENCHMARK(BM_FirstSyncOf256)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SyncAfterOneChange(benchmark::State& state) {
    test::TempDir dir("tavrin-bench-incremental");
    const std::string file = dir.file("Tavrin.DAT");
    writeFullFile(file);
    const std::string address = server().newCalendar();
    CalDavSyncServer caldav(address, "alice", "alice-pw");
    ReminderTable table;
    (void)readReminders(table, file);
    if (!syncReminders(table, file, address, caldav, context())) state.SkipWithError("the first sync failed");
    int requests = 0, runs = 0, minute = 0;
    for (auto _ : state) {
        state.PauseTiming();
        (void)readReminders(table, file);
        table.times[7] = "06:" + std::to_string(10 + minute++ % 50) + ":00";
        (void)saveReminders(table, file);
        (void)readReminders(table, file);
        const int before = caldav.requestsSent();
        state.ResumeTiming();
        const Result<SyncReport> synced = syncReminders(table, file, address, caldav, context());
        if (!synced || synced->sent != 1) state.SkipWithError("the incremental sync failed");
        requests += caldav.requestsSent() - before;
        ++runs;
    }
    state.counters["requests"] = static_cast<double>(requests) / runs;
}
BENCHMARK(BM_SyncAfterOneChange)->Unit(benchmark::kMillisecond);

}  // namespace
