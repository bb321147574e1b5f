#pragma once
// What the reminder sync remembers between runs: for each reminder it has met (here or on the server)
// its uid, where it lives on the server and the version last agreed, the reminder as the reminder file
// holds it, and what is still to be done for it. Kept in Tavrin.DAT.sync (see SyncFile.h).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/reminders/ReminderRecord.h"

namespace tavrin {

enum class SyncEntryState {
    Synced,        // the file and the server agree on `record`
    QueuedWrite,   // `record` changed here (or is new) and is still to be written to the server
    QueuedDelete,  // removed here, still to be deleted on the server; `record` is the last agreed one
    Aside,         // the server's `record`, not in the file for lack of room; comes in when there is
    Held,          // on the server, but no reminder can express it: left alone there, `reason` says why
};

struct SyncEntry {
    std::string uid;
    std::string href;
    std::string etag;  // the version last agreed with the server; "" for one never sent
    ReminderRecord record;
    SyncEntryState state = SyncEntryState::Synced;
    // For a queued change, its place in the queue: changes are sent in the order they were found.
    std::uint64_t order = 0;
    // Why the entry is held, or why a queued write cannot be sent: told to the user once.
    std::string reason;

    bool queued() const {
        return state == SyncEntryState::QueuedWrite || state == SyncEntryState::QueuedDelete;
    }
    // Whether the reminder file holds `record` for this entry.
    bool inFile() const { return state == SyncEntryState::Synced || state == SyncEntryState::QueuedWrite; }
    // Whether the server has had it: all but a queued write or a reminder kept aside never sent.
    bool wasSent() const {
        return !etag.empty() || state == SyncEntryState::Synced || state == SyncEntryState::QueuedDelete;
    }
    friend bool operator==(const SyncEntry&, const SyncEntry&) = default;
};

// The entries and token as they were before a change to the reminder file, noted until that change is
// known to have reached the file or not: a crash between writing the two files is mended from it. The
// file holding the text the change wrote means it did; anything else (the text it started from, or a
// hand edit since) means the previous entries are the safe ones: what the server holds is then
// matched again by content, so nothing is deleted or undone on the strength of a change that may not
// have been made.
struct PendingApply {
    std::string token;
    std::vector<SyncEntry> entries;
    std::size_t writtenDigest = 0;  // of the reminder file's text the change writes
    friend bool operator==(const PendingApply&, const PendingApply&) = default;
};

struct SyncState {
    std::string calendarAddress;  // the collection this state was made with
    std::string token;            // the server's sync token; "" asks for a whole listing
    std::vector<SyncEntry> entries;
    std::optional<PendingApply> pending;

    // The queue's next place: after every queued entry.
    std::uint64_t nextOrder() const {
        std::uint64_t next = 1;
        for (const SyncEntry& e : entries)
            if (e.queued() && e.order >= next) next = e.order + 1;
        return next;
    }
    friend bool operator==(const SyncState&, const SyncState&) = default;
};

}  // namespace tavrin
