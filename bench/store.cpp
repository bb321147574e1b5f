// The settings store on disk: reading one setting (done often: the loader, the menu, the zone list)
// and one change, which rewrites the whole file with its lock, re-read and flushes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/Settings.h"
#include "core/store/StoreAccess.h"
#include "platform/FileStore.h"

using namespace tavrin;

namespace {

struct Fixture {
    Fixture() {
        char pattern[] = "/tmp/tavrin-bench-store-XXXXXX";
        dir = ::mkdtemp(pattern);
        store = std::make_unique<FileStore>(dir + "/user.reg", dir + "/machine.reg", dir + "/a", dir + "/b");
        Disposition d;
        store->CreateKey(KeyHandle::rootKey(Root::CurrentUser), kMakerKey, kAllAccess, key, d);
        store->SetValue(key, "", ValueType::String, "Quillon");
        store->CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d);
        const std::vector<std::pair<const char*, const char*>> defaults = {
            {"UseSysTZ", "1"},
            {"DateFormat", "mm/dd/yy"},
            {"TimeFormat", "h:mm AM/PM"},
            {"TZFormat", "mm/dd/yy h:mm am/pm"},
            {"TZSType", "1"},
            {"TZSDir", "0"},
            {"PNDisp", "0"},
            {"DForeColor", "0"},
            {"TForeColor", "0"},
            {"WForeColor", "0"},
            {"ColScheme", "C8D0D4"},
            {"TimeFont", "ARIAL"},
            {"DateFont", "TAHOMA"},
            {"TimeSize", "8"},
            {"DateSize", "6"},
            {"TimeBold", "1"},
            {"DateBold", "0"},
            {"NumTimeZones", "3"},
            {"TZone1", "Europe/Berlin"},
            {"TZoneName1", "(UTC+01:00) Berlin"},
            {"TZone2", "Asia/Tokyo"},
            {"TZoneName2", "(UTC+09:00) Tokyo"},
            {"TZone3", "America/New_York"},
            {"TZoneName3", "(UTC-05:00) New York"}};
        for (const auto& [name, text] : defaults) store->SetValue(key, name, ValueType::String, text);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
    std::string dir;
    std::unique_ptr<FileStore> store;
    KeyHandle key;
};

void BM_ReadText(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(readText(*f.store, f.key, "TimeFormat", "h:mm AM/PM"));
}
BENCHMARK(BM_ReadText);

void BM_OpenAndRead(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        const Result<KeyHandle> key = openKey(*f.store, Root::CurrentUser, kSettingsKey, kAllAccess);
        benchmark::DoNotOptimize(key ? readText(*f.store, *key, "DateFormat") : key.why());
    }
}
BENCHMARK(BM_OpenAndRead);

void BM_SetValueRewrite(benchmark::State& state) {
    Fixture f;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        benchmark::DoNotOptimize(
            f.store->SetValue(f.key, "DateFormat", ValueType::String, flip ? "dd.mm.yy" : "mm/dd/yy"));
    }
}
BENCHMARK(BM_SetValueRewrite)->Unit(benchmark::kMicrosecond);

}  // namespace
