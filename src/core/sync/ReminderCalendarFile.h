#pragma once
// Reminders to and from an .ics file, for tavrinctl and the calendar window alike: an export writes
// every reminder as an event; an import adds each event a reminder can express, through the same
// locked update of the reminder file as the editor's add, and says which it left out and why.
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/reminders/ReminderTable.h"
#include "core/sync/ReminderEvent.h"

namespace tavrin {

struct ReminderImport {
    std::vector<std::string> added;    // the titles added, in the file's order
    std::vector<std::string> skipped;  // each event left out, with the reason
    int alreadyThere = 0;              // events equal to a reminder the file holds already
    std::string note;                  // what the reminder file's rewrite kept aside on the way
    // What the user reads: how many were added and each one left out.
    std::string summary() const;
};

// Reads the .ics file at `icsPath` and adds its events to the reminders of `reminderFile`. A file
// that cannot be read or is no iCalendar, or a reminder file that cannot be rewritten, is a failure
// with the reason; the reminders are then as they were.
Result<ReminderImport> importReminderCalendar(ReminderTable& table, const std::string& reminderFile,
                                              const std::string& icsPath,
                                              const ReminderEventContext& context);

struct ReminderExport {
    int written = 0;
    std::vector<std::string> skipped;  // reminders that cannot be an event (a hand-edited date), why
    std::string summary() const;
};

// Writes every reminder of `table` to `icsPath` as one calendar. `uids` gives each slot's uid where
// one is known already (the sync's, so the file names a reminder as the server does); a slot without
// one gets a new uid.
Result<ReminderExport> exportReminderCalendar(const ReminderTable& table,
                                              const std::vector<std::string>& uids,
                                              const std::string& icsPath,
                                              const ReminderEventContext& context);

}  // namespace tavrin
