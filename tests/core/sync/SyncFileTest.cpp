// Tavrin.DAT.sync: a file that does not read is never half used, nor lost. (What reads, writes back
// the same: the fuzz target sync_state.)
#include <gtest/gtest.h>

#include "core/sync/SyncFile.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

TEST(SyncFile, AFileThatDoesNotReadIsKeptAsideOnceAndAnotherCalendarStartsAfresh) {
    test::TempDir dir;
    const std::string path = dir.file("Tavrin.DAT.sync");
    test::writeFile(path, "garbage");
    Result<LoadedSyncState> loaded = loadSyncState(path, "https://a/");
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    EXPECT_NE(loaded->notice, "");
    EXPECT_EQ(loaded->state, (SyncState{"https://a/", "", {}, std::nullopt}));
    test::writeFile(path, "more garbage");
    ASSERT_TRUE(loadSyncState(path, "https://a/").ok());
    EXPECT_EQ(test::readFile(path + ".unread"), "garbage");

    ASSERT_TRUE(saveSyncState(path, SyncState{"https://a/", "t1", {}, std::nullopt}).ok());
    loaded = loadSyncState(path, "https://b/");
    ASSERT_TRUE(loaded.ok());
    EXPECT_NE(loaded->notice, "");
    EXPECT_EQ(loaded->state.token, "");
}

}  // namespace
}  // namespace tavrin
