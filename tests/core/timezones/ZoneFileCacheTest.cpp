#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/timezones/ZoneFileCache.h"

namespace tavrin {
namespace {

const std::string kZoneinfo = std::string(TAVRIN_TEST_DATA) + "/zoneinfo";

TEST(ZoneFileCache, ThreadsAskingAtOnceShareOneReadOfEachFile) {
    ZoneFileCache cache;
    const std::vector<std::string> paths = {
        zoneFilePath(kZoneinfo, "Europe/Berlin"), zoneFilePath(kZoneinfo, "Asia/Tokyo"),
        zoneFilePath(kZoneinfo, "No/Such_Zone"), zoneFilePath(kZoneinfo, "zone.tab")};  // no zone file
    constexpr int kThreads = 4;
    std::vector<std::map<std::string, const ZoneTimeline*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                for (const auto& p : paths) seen[t][p] = cache.get(p).get();
        });
    for (auto& t : threads) t.join();

    EXPECT_EQ(cache.filesRead(), paths.size());
    for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
    EXPECT_EQ(cache.get(paths[0])->offsetAt(0), 3600);  // Berlin on 1 January 1970
    EXPECT_EQ(seen[0][paths[2]], nullptr);
    EXPECT_EQ(seen[0][paths[3]], nullptr);
}

TEST(ZoneFileCache, OneFileHasOnePathFromAnyFolderSpelling) {
    const std::string direct = zoneFilePath(kZoneinfo, "Europe/Berlin");
    EXPECT_EQ(zoneFilePath(kZoneinfo + "/Europe/..", "./Europe/Berlin"), direct);
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(kZoneinfo);
    const std::string relative = zoneFilePath(".", "Europe/Berlin");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(relative, direct);
}

// Zone files whose counts promise more than they hold once crashed every program that met one (a
// TZ or TZDIR pointing at it); now they are no zone, like a missing file.
TEST(ZoneFileCache, ADamagedZoneFileIsNoZone) {
    ZoneFileCache cache;
    for (const char* name : {"crash-version-1-time-count", "crash-version-1-no-types"})
        EXPECT_EQ(cache.get(std::string(TAVRIN_TEST_DATA) + "/fuzz/tz_file/" + name), nullptr) << name;
}

}  // namespace
}  // namespace tavrin
