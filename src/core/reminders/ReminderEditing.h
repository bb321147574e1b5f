#pragma once
// Changes to the reminders, each applied to what the file holds now (read again under its lock when
// another program changed it) and saved at once. A change whose save fails is not kept: the table
// then holds what the file holds, and the user can simply try again. A window saves by calling one
// of these with app.reminders and app.paths.reminderFile(), and shows the message when not ok().
#include <string>

#include "core/base/Result.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderForm.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"

namespace tavrin {

// What a change came to: done, or refused with the reason (by the form, by the table, or because the
// file could not be rewritten, when the table is as it was). Done may have stored nothing (no title,
// no such reminder: no message), or stored the change, with a note of what was kept aside on the way.
struct ReminderChange {
    Result<> result;
    bool stored = false;  // the table changed and the file was rewritten
    int slot = -1;        // where the new or edited reminder now is
    bool ok() const { return result.ok(); }
    const std::string& message() const { return result.message(); }
};

// Stores the form in the first free slot.
ReminderChange addReminder(ReminderTable& table, const ReminderForm& form, const Settings& settings,
                           const std::string& path);

// Replaces the reminder that was in `slot` with the title `title` when the edit began: it is
// removed and the new version goes to the end of the run. When the table changed meanwhile, the
// reminder is looked for by its title. A form without a title changes nothing.
ReminderChange editReminder(ReminderTable& table, int slot, const std::string& title,
                            const ReminderForm& form, const Settings& settings, const std::string& path);

// Removes the reminder in `slot`; every later reminder moves down by one. When another program
// changed the file meanwhile, the reminder is looked for by its fields.
ReminderChange deleteReminder(ReminderTable& table, int slot, const std::string& path);

// Ticks or clears the enabled flag of the reminder in `slot`, found as deleteReminder finds it.
ReminderChange setReminderEnabled(ReminderTable& table, int slot, bool enabled, const std::string& path);

}  // namespace tavrin
