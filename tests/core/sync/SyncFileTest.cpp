// Tavrin.DAT.sync: whatever the sync notes reads back as it was, and a file that does not read is
// never half used.
#include <gtest/gtest.h>

#include "core/sync/SyncFile.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

using namespace std::string_literals;

TEST(SyncFile, AnyTextReadsBackAsWrittenAndACutFileIsRefused) {
    SyncState state{"https://dav.example.org/cal/", "tok\ten", {}, std::nullopt};
    const SyncEntryState states[] = {SyncEntryState::Synced, SyncEntryState::QueuedWrite,
                                     SyncEntryState::QueuedDelete, SyncEntryState::Aside,
                                     SyncEntryState::Held};
    for (SyncEntryState s : states)
        state.entries.push_back({"u\\1",
                                 "/cal/a b.ics",
                                 "\"e\"",
                                 {"Tab\there", "03/07/05", "09:30:00", "1", "-1", "line\r\nnext\\n \0end"s},
                                 s,
                                 7,
                                 "why"});
    state.pending = PendingApply{"old", {state.entries.front()}, 12345678901234567890u};
    const std::string text = syncStateText(state);
    const Result<SyncState> read = readSyncState(text);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, state);
    const Result<SyncState> cut = readSyncState(text.substr(0, text.size() - 4));
    EXPECT_FALSE(cut.ok());
    EXPECT_NE(cut.message(), "");
}

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
