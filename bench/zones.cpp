// The zone catalogue over the system's tz database: the whole catalogue as the preferences list
// reads it (every key, then readZone of each), from a cold start and with its caches warm, one zone
// as the world-time lines read it, one zone's time from a record already read, and a zone's time
// straight from its name.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/settings/Settings.h"
#include "core/state/Paths.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneCatalogue.h"
#include "core/timezones/ZoneTime.h"
#include "support/FakeClock.h"

namespace {

using namespace tavrin;

std::size_t readWholeCatalogue(Store& store) {
    KeyHandle root;
    store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), kZoneRootNt, kAllAccess, root);
    std::string name;
    std::size_t n = 0;
    for (std::uint32_t i = 0; store.EnumKey(root, i, name) == status::kSuccess; ++i) {
        const Result<ZoneRecord> z = readZone(store, kZoneRootNt, name);
        benchmark::DoNotOptimize(z);
        ++n;
    }
    store.CloseKey(root);
    return n;
}

void BM_WholeCatalogueCold(benchmark::State& state) {
    const test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    const std::string dir = Paths::fromEnvironment().zoneinfoDir;
    std::size_t n = 0;
    for (auto _ : state) {
        // A cache of its own, so every round loads every zone again (the zone library keeps what
        // it parsed once, so this is the catalogue's own work over loaded zones).
        MemoryStore store;
        store.mount(Root::LocalMachine, std::make_shared<ZoneCatalogue>(dir, clock));
        n = readWholeCatalogue(store);
    }
    state.counters["zones"] = static_cast<double>(n);
}
BENCHMARK(BM_WholeCatalogueCold)->Unit(benchmark::kMillisecond);

void BM_WholeCatalogueWarm(benchmark::State& state) {
    const test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(Paths::fromEnvironment().zoneinfoDir, clock));
    readWholeCatalogue(store);
    for (auto _ : state) benchmark::DoNotOptimize(readWholeCatalogue(store));
}
BENCHMARK(BM_WholeCatalogueWarm)->Unit(benchmark::kMillisecond);

// A zone's line from its name, warm: the record (whole, or only the names the menu reads, which asks
// its zone for the time), then the zone's time.
using ZoneReader = Result<ZoneRecord> (*)(Store&, std::string_view, std::string_view);
void BM_ZoneLineWarm(benchmark::State& state, ZoneReader read) {
    const test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    auto zones = std::make_shared<ZoneCache>();
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(Paths::fromEnvironment().zoneinfoDir, clock, zones));
    (void)read(store, kZoneRootNt, "Asia/Jerusalem");
    for (auto _ : state) {
        const Result<ZoneRecord> z = read(store, kZoneRootNt, "Asia/Jerusalem");
        benchmark::DoNotOptimize(zoneTimeNow(clock.utcNow(), *z, *zones));
    }
}
BENCHMARK_CAPTURE(BM_ZoneLineWarm, WholeRecord, &readZone)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ZoneLineWarm, MenuNames, &readZoneNames)->Unit(benchmark::kMicrosecond);

void BM_ReadZoneOneCold(benchmark::State& state) {
    const test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    const std::string dir = Paths::fromEnvironment().zoneinfoDir;
    for (auto _ : state) {
        MemoryStore store;
        store.mount(Root::LocalMachine, std::make_shared<ZoneCatalogue>(dir, clock));
        benchmark::DoNotOptimize(readZone(store, kZoneRootNt, "Asia/Jerusalem"));
    }
}
BENCHMARK(BM_ReadZoneOneCold)->Unit(benchmark::kMicrosecond);

// What a world-time line, the floating clock and the alarm pay each time: the zone's time at an
// instant from a record read once, its file already in the shared cache. Instants move a minute a
// round through one year, so the lookup is not always the same one.
void BM_ZoneTimeNowWarm(benchmark::State& state) {
    const test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    auto zones = std::make_shared<ZoneCache>();
    MemoryStore store;
    store.mount(Root::LocalMachine, makeZoneCatalogue(Paths::fromEnvironment().zoneinfoDir, clock, zones));
    const ZoneRecord zone = readZone(store, kZoneRootNt, "Europe/Berlin").value();
    const DateTime start = DateTime::fromFields(2026, 1, 1);
    std::int64_t minute = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zoneTimeNow(start.addMinutes(minute), zone, *zones));
        minute = (minute + 1) % (365 * 24 * 60);
    }
}
BENCHMARK(BM_ZoneTimeNowWarm)->Unit(benchmark::kNanosecond);

// A zone's time from its name through a warm cache, as the menu asks it for each line.
void BM_ZoneByNameWarm(benchmark::State& state) {
    const std::string dir = Paths::fromEnvironment().zoneinfoDir;
    ZoneCache zones;
    const DateTime start = DateTime::fromFields(2026, 1, 1);
    std::int64_t minute = 0;
    for (auto _ : state) {
        const auto zone = zones.zone(dir, "Europe/Berlin");
        benchmark::DoNotOptimize((*zone)->wallTimeAt(start.addMinutes(minute)));
        minute = (minute + 1) % (365 * 24 * 60);
    }
}
BENCHMARK(BM_ZoneByNameWarm)->Unit(benchmark::kNanosecond);

}  // namespace
