#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/base/AtomicFile.h"
#include "core/store/KeyNames.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneCatalogue.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

std::string bytesOf(const std::string& path) {
    const Result<std::string> bytes = AtomicFile::read(path);
    EXPECT_TRUE(bytes) << path << ": " << bytes.message();
    return bytes.valueOr({});
}

TEST(ZoneCache, ThreadsAskingAtOnceShareOneReadOfEachFile) {
    ZoneCache cache;
    const std::vector<std::string> ids = {"Europe/Berlin", "Asia/Tokyo", "No/Such_Zone", "zone.tab"};
    constexpr int kThreads = 4;
    std::vector<std::map<std::string, const Zone*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                for (const auto& id : ids) seen[t][id] = cache.zone(kZoneinfo, id).valueOr(nullptr).get();
        });
    for (auto& t : threads) t.join();

    EXPECT_EQ(cache.filesRead(), ids.size());
    for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
    const auto berlin = cache.zone(kZoneinfo, "Europe/Berlin");
    ASSERT_TRUE(berlin) << berlin.message();
    EXPECT_EQ((*berlin)->name(), "Europe/Berlin");
    EXPECT_EQ((*berlin)->offsetAt(0), 3600);  // on 1 January 1970
    EXPECT_EQ(seen[0]["No/Such_Zone"], nullptr);
    EXPECT_EQ(seen[0]["zone.tab"], nullptr);
}

TEST(ZoneCache, OneFileHasOnePathFromAnyFolderSpelling) {
    const auto direct = zoneFilePath(kZoneinfo, "Europe/Berlin");
    ASSERT_TRUE(direct);
    EXPECT_EQ(zoneFilePath(kZoneinfo + "/Europe/..", "./Europe/Berlin"), direct);
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(kZoneinfo);
    const auto relative = zoneFilePath(".", "Europe/Berlin");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(relative, direct);
    for (const char* outside : {"../../etc/passwd", "/etc/localtime", "Europe\\Berlin", ""})
        EXPECT_FALSE(zoneFilePath(kZoneinfo, outside)) << outside;
}

// What a zone folder may hold in place of a zone file, among them files whose counts promise more
// than they hold, which once crashed every program that met one: each is refused with a reason.
TEST(ZoneCache, ADamagedZoneFileIsRefusedWithAReason) {
    const test::TempDir folder;
    const std::string berlin = bytesOf(kZoneinfo + "/Europe/Berlin");
    const std::string damaged = kZoneinfo + "/damaged/";
    const std::map<std::string, std::string> cases = {
        {"TimeCount", bytesOf(damaged + "crash-version-1-time-count")},
        {"NoTypes", bytesOf(damaged + "crash-version-1-no-types")},
        {"Empty", ""},
        {"Cut", berlin.substr(0, berlin.size() / 3)},
        {"Text", "Europe/Berlin\n"},
    };
    for (const auto& [id, bytes] : cases) ASSERT_TRUE(AtomicFile::write(folder.file(id), bytes));
    ZoneCache cache;
    for (const std::string id : {"TimeCount", "NoTypes", "Empty", "Cut", "Text", "Missing"}) {
        const auto zone = cache.zone(folder.path(), id);
        ASSERT_FALSE(zone) << id;
        // "damaged or no zone file", or for the missing one "no zone file ...: No such file".
        EXPECT_NE(zone.message().find("no zone file"), std::string::npos) << id << ": " << zone.message();
        EXPECT_NE(zone.message().find(folder.file(id)), std::string::npos) << zone.message();
    }
}

// A tz database update replaces zone files while the clock runs: the refresh of the minute tick
// drops what it read from them, and the zones and the catalogue's records follow the new files.
TEST(ZoneCache, AReplacedZoneFileIsReadAgainAfterARefresh) {
    const test::TempDir folder;
    ASSERT_TRUE(AtomicFile::write(folder.file("Test/Zone"), bytesOf(kZoneinfo + "/Europe/Berlin"),
                                  {.makeFolders = true}));
    auto cache = std::make_shared<ZoneCache>();
    test::FakeClock clock(DateTime::fromFields(2026, 1, 15));
    ZoneCatalogue catalogue(folder.path(), clock, cache);
    ASSERT_EQ(catalogue.zoneRecord("Test/Zone")->Bias, -60);
    EXPECT_EQ(cache->refresh(), 0u);
    EXPECT_EQ((*cache->zone(folder.path(), "Test/Zone"))->offsetAt(0), 3600);

    ASSERT_TRUE(AtomicFile::write(folder.file("Test/Zone"), bytesOf(kZoneinfo + "/Asia/Tokyo")));
    const std::uint64_t before = cache->generation();
    EXPECT_EQ(cache->refresh(), 1u);
    EXPECT_NE(cache->generation(), before);
    EXPECT_EQ((*cache->zone(folder.path(), "Test/Zone"))->offsetAt(0), 9 * 3600);
    EXPECT_EQ(catalogue.zoneRecord("Test/Zone")->Bias, -540);
}

}  // namespace
}  // namespace tavrin
