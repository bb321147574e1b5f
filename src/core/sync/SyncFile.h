#pragma once
// Tavrin.DAT.sync: the sync's state beside the reminder file. A text file: a first line naming the
// format ("TAVRIN-SYNC 1"), then one line per value, its fields separated by tabs and escaped so that
// any title, message or address reads back as it was, and a last line "end". A text that does not
// read in full is refused with the reason; none of it is used.
//
// It is read and written only by a holder of the reminder file's lock (the one updateReminders
// takes), always whole through the atomic writer, so that it and the reminder file change in step.
#include <string>
#include <string_view>

#include "core/base/AtomicFile.h"
#include "core/base/Result.h"
#include "core/sync/SyncState.h"

namespace tavrin {

std::string syncStateText(const SyncState& state);
Result<SyncState> readSyncState(std::string_view text);

// A sync file as a run starts from, and what the user should read about it.
struct LoadedSyncState {
    SyncState state;
    std::string notice;  // "" or why the run starts afresh
};

// Reads the sync file at `path` for the collection `calendarAddress`. A missing file, or one kept for
// another collection, gives a fresh state. A file that does not read is kept aside as
// `path + ".unread"` (a copy kept before is never replaced) and a fresh state is given with a notice;
// when it cannot be kept aside, or cannot be read at all, the failure says why and the run must stop.
Result<LoadedSyncState> loadSyncState(const std::string& path, const std::string& calendarAddress,
                                      const AtomicFile::WriteCalls& calls = AtomicFile::WriteCalls::system());

// Replaces the sync file at `path` with `state`.
Result<> saveSyncState(const std::string& path, const SyncState& state,
                       const AtomicFile::WriteCalls& calls = AtomicFile::WriteCalls::system());

}  // namespace tavrin
