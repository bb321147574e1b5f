#pragma once
// The reminder file shared with other programs: a hand edit, tavrinctl, the clock of another session.
// Every change is applied to what is on disk: under the same kind of lock the settings store takes,
// the table is read afresh when the file changed since the table last matched it, the one change is
// made to that, and the file is rewritten whole. So no writer undoes another's change.
#include <functional>
#include <string>

#include "core/base/AtomicFile.h"
#include "core/base/Result.h"
#include "core/reminders/ReminderTable.h"

namespace tavrin {

// Makes one change to the table; returns false when there is nothing to write (a refusal, say,
// which the change reports to its caller itself).
using ReminderTableChange = std::function<bool(ReminderTable& table)>;

// Reads the file into the table when it changed since the table last matched it; a cheap status
// check when nothing changed, and nothing at all for a table that was never read from the file.
// Gives whether the table was read again. A file that cannot be read leaves the table as it was and
// gives the reason.
Result<bool> reloadRemindersIfChanged(ReminderTable& table, const std::string& path);

// Applies `change` to the reminders as they are on disk, as described above (a table never read from
// the file takes the file's content first), and writes the file
// when the change says so. A file that exists but cannot be read is never replaced. Records the
// table cannot hold (or a file it cannot read at all) are copied aside before the first rewrite,
// however the table was read (at start, by a listing, by the clock's reload), and the result's
// message says where, even when the rewrite then fails. On failure the table holds what the file
// holds and the message says why; the file is as it was. Tests pass their own write calls.
Result<> updateReminders(ReminderTable& table, const std::string& path, const ReminderTableChange& change,
                         const AtomicFile::WriteCalls& calls = AtomicFile::WriteCalls::system());

}  // namespace tavrin
