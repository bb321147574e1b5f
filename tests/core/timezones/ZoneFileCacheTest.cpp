#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
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
        ZoneFilePath(kZoneinfo, "Europe/Berlin"), ZoneFilePath(kZoneinfo, "Australia/Sydney"),
        ZoneFilePath(kZoneinfo, "Asia/Tokyo"), ZoneFilePath(kZoneinfo, "No/Such_Zone"),
        ZoneFilePath(kZoneinfo, "zone.tab")};  // a file, but no zone file
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
    EXPECT_NE(seen[0][paths[0]], nullptr);
    EXPECT_EQ(seen[0][paths[3]], nullptr);
    EXPECT_EQ(seen[0][paths[4]], nullptr);
    EXPECT_EQ(cache.get(paths[0])->offsetAt(0), 3600);  // Berlin on 1 January 1970
}

TEST(ZoneFileCache, PathsAreAbsoluteAndNormalSoOneFileHasOneEntry) {
    const std::string direct = ZoneFilePath(kZoneinfo, "Europe/Berlin");
    EXPECT_TRUE(std::filesystem::path(direct).is_absolute());
    EXPECT_EQ(ZoneFilePath(kZoneinfo + "/Europe/..", "Europe/Berlin"), direct);
    EXPECT_EQ(ZoneFilePath(kZoneinfo + "/", "./Europe/Berlin"), direct);

    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(kZoneinfo);
    const std::string relative = ZoneFilePath(".", "Europe/Berlin");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(relative, std::filesystem::path(direct).lexically_normal().string());
}

TEST(ZoneTimeline, AZoneThatNeverChangesHasOneOffsetAndNoNextChange) {
    const ZoneTimeline utc(TzFile::constant(LocalTimeType{0, false, "UTC"}));
    const ZoneTimeline ahead(TzFile::constant(LocalTimeType{19800, false, "+0530"}));
    for (std::int64_t t : {std::int64_t{-5000000000}, std::int64_t{0}, std::int64_t{4102444800}}) {
        EXPECT_EQ(utc.offsetAt(t), 0);
        EXPECT_EQ(ahead.offsetAt(t), 19800);
        EXPECT_FALSE(ahead.isDaylightAt(t));
        EXPECT_FALSE(ahead.nextChangeAfter(t));
    }
}

}  // namespace
}  // namespace tavrin
