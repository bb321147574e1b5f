#pragma once
// The changes made to the reminder file since the sync last agreed with it, by any writer: the
// reminders the file holds are matched with the sync's entries, and what does not match is queued.
#include <functional>
#include <string>
#include <vector>

#include "core/reminders/ReminderTable.h"
#include "core/sync/SyncState.h"

namespace tavrin {

// The slot of the table (occupied run) holding each entry's record, field for field, or -1: one slot
// for one entry at most, entries the file should hold only (see SyncEntry::inFile).
std::vector<int> exactSlots(const std::vector<SyncEntry>& entries, const ReminderTable& table);

// How a reminder met first here gets its uid and its place on the server.
struct NewPlace {
    std::function<std::string()> uid;
    std::function<std::string(const std::string& uid)> href;
};

// Matches the table with the entries and queues the differences in slot order: an entry whose record
// is gone is paired with a record no entry has when their titles are equal, else their date and time,
// else their non-empty messages, and that edit is queued as a write of the same uid; an entry left
// alone is queued as a deletion (or dropped, if it was never sent); a record left alone becomes a new
// entry queued as a write. Gives each entry's slot afterwards, as exactSlots does: every record of
// the table then belongs to an entry.
std::vector<int> queueLocalChanges(SyncState& state, const ReminderTable& table, const NewPlace& place);

}  // namespace tavrin
