// The pop-up menu's world-time lines as the menu builds them at every press: the zone list read from
// the settings key, every zone read from the catalogue over the system's tz database (its caches
// warm, as after the first press), the captions formatted and sorted by time; and one step of the open
// menu's time, as a turn of the wheel makes it.
#include <benchmark/benchmark.h>

#include "core/clock/MenuLines.h"
#include "core/state/Paths.h"
#include "core/store/KeyNames.h"
#include "core/store/MemoryStore.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"

namespace {

using namespace tavrin;

// A menu over the system's tz database with `count` zones chosen across the catalogue, sorted by time.
struct MenuBench {
    explicit MenuBench(std::size_t count) {
        store.mount(Root::LocalMachine, catalogue);
        settings.SettingsRoot = Root::CurrentUser;
        settings.TZFormat = "mm/dd/yy h:mm am/pm";
        settings.TZSType = kSortByTime;
        settings.WorkingHours = "09:00-17:00";
        zones.ZoneRoot = kZoneRootNt;
        const std::vector<std::string> ids = catalogue->zoneIds();
        KeyHandle key;
        Disposition d = Disposition::None;
        store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d);
        store.SetValue(key, "NumTimeZones", ValueType::String, std::to_string(count));
        for (std::size_t i = 0; i < count && i < ids.size(); ++i)
            store.SetValue(key, "TZone" + std::to_string(i + 1), ValueType::String,
                           ids[i * ids.size() / count]);
    }
    const test::FakeClock clock{DateTime::fromFields(2026, 6, 15, 12, 0, 0)};
    MemoryStore store;
    std::shared_ptr<ZoneCatalogue> catalogue =
        std::make_shared<ZoneCatalogue>(Paths::fromEnvironment().zoneinfoDir, clock);
    Settings settings;
    ZoneState zones;
};

void BM_MenuLines(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    MenuBench menu(count);
    const DateTime utc = menu.clock.utcNow();
    prepareMenuLines(menu.store, menu.settings, menu.zones, utc);  // the first press reads the zone files
    for (auto _ : state)
        benchmark::DoNotOptimize(prepareMenuLines(menu.store, menu.settings, menu.zones, utc));
    state.counters["lines"] = static_cast<double>(count);
}
BENCHMARK(BM_MenuLines)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

// One turn of the wheel over the open menu: every line's time, caption and working-time mark worked
// out again 15 minutes on, and the lines sorted by time again.
void BM_MenuScrubStep(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    MenuBench menu(count);
    DateTime utc = menu.clock.utcNow();
    MenuLines lines = prepareMenuLines(menu.store, menu.settings, menu.zones, utc);
    for (auto _ : state) {
        utc = utc.addMinutes(15);
        retimeMenuLines(lines, menu.settings, menu.zones, utc);
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(count);
}
BENCHMARK(BM_MenuScrubStep)->Arg(50)->Unit(benchmark::kMicrosecond);

}  // namespace
