// The pop-up menu's world-time lines as the menu builds them at every press: the zone list read from
// the settings key, every zone read from the catalogue over the system's tz database (its caches
// warm, as after the first press), the captions formatted and sorted by time.
#include <benchmark/benchmark.h>

#include "core/clock/MenuLines.h"
#include "core/state/Paths.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"

namespace {

using namespace tavrin;

void BM_MenuLines(benchmark::State& state) {
    const test::FakeClock clock(DateTime::fromFields(2026, 6, 15, 12, 0, 0));
    MemoryStore store;
    auto catalogue = std::make_shared<ZoneCatalogue>(Paths::fromEnvironment().zoneinfoDir, clock);
    store.mount(Root::LocalMachine, catalogue);
    Settings settings;
    settings.SettingsRoot = Root::CurrentUser;
    settings.TZFormat = "mm/dd/yy h:mm am/pm";
    settings.TZSType = kSortByTime;
    ZoneState zones;
    zones.ZoneRoot = kZoneRootNt;

    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<std::string> ids = catalogue->zoneIds();
    KeyHandle key;
    Disposition d = Disposition::None;
    store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d);
    store.SetValue(key, "NumTimeZones", ValueType::String, std::to_string(count));
    for (std::size_t i = 0; i < count && i < ids.size(); ++i)
        store.SetValue(key, "TZone" + std::to_string(i + 1), ValueType::String, ids[i * ids.size() / count]);

    const DateTime utc = clock.utcNow();
    prepareMenuLines(store, settings, zones, utc);  // the first press reads the zone files
    for (auto _ : state) benchmark::DoNotOptimize(prepareMenuLines(store, settings, zones, utc));
    state.counters["lines"] = static_cast<double>(count);
}
BENCHMARK(BM_MenuLines)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace
