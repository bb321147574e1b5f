#pragma once
// Two-way sync of the reminder file with one calendar collection on a server. Tavrin.DAT stays the
// truth at home, in its format and under its rules; what the sync needs lives beside it in
// Tavrin.DAT.sync (see SyncFile.h): each reminder's uid, place on the server and version, the reminder
// as both sides last agreed on it, and the writes not yet confirmed, in the order they were made.
//
// A run: under the sync's own lock (one run at a time, between processes), repair what a crash
// between the two files left; find the changes made at home since the last agreement (by any writer:
// the windows, tavrinctl, a hand edit) and queue them, noted before any request; list what changed
// on the server and download it; send the queue in order, each write conditional on the version last
// seen, noting every answer at once (what the server changed meanwhile waits for the apply); and
// apply the server's changes to the file through updateReminders, so the file's lock and rules hold;
// the copies a conflict made are sent at the end. Nothing is
// ever lost: when both sides changed a reminder the server's copy wins in the file and the home copy is
// kept as a second reminder titled with " (conflict)" (sent as a new one); a deletion on one side of a
// reminder changed on the other keeps the changed one. Reminders beyond the file's 256 are kept
// aside in the sync file, and come in when there is room; the server keeps them all. An event a
// reminder cannot express stays on the server untouched, named once in a notice.
#include <string>
#include <vector>

#include "core/base/AtomicFile.h"
#include "core/base/Result.h"
#include "core/reminders/ReminderTable.h"
#include "core/sync/ReminderEvent.h"
#include "core/sync/SyncServer.h"

namespace tavrin {

struct SyncReport {
    int sent = 0;          // reminders written to the server (new or changed)
    int removedThere = 0;  // reminders deleted on the server
    int received = 0;      // reminders new or changed in the file from the server
    int removedHere = 0;   // reminders removed from the file because they went from the server
    int conflicts = 0;     // " (conflict)" reminders made
    // What the user should read once: each conflict, reminders kept aside, events that could not be
    // taken; shown in a balloon by the clock and printed by tavrinctl.
    std::vector<std::string> notices;
};

// Runs one sync of the reminder file `reminderFile` (its sync file is reminderFile + ".sync") with
// `server`, the collection at `calendarAddress` (a sync file kept for another address starts afresh:
// everything on both sides is merged, nothing deleted). `table` is the caller's table, updated as
// updateReminders updates it. A failure (the server unreachable, a file that cannot be written) keeps
// every change queued for the next run and says why; nothing is lost or sent twice. Tests pass their
// own write calls, for both files.
Result<SyncReport> syncReminders(ReminderTable& table, const std::string& reminderFile,
                                 const std::string& calendarAddress, SyncServer& server,
                                 const ReminderEventContext& context,
                                 const AtomicFile::WriteCalls& calls = AtomicFile::WriteCalls::system());

// The uid the sync file gives each reminder of the table now, in slot order ("" for one the sync has
// not seen yet), so that an export names a reminder as the server does.
std::vector<std::string> reminderUids(const ReminderTable& table, const std::string& reminderFile);

}  // namespace tavrin
