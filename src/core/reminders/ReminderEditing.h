#pragma once
// Changes to the reminders, each applied to what the file holds now (read again under its lock when
// another program changed it) and saved at once. A change whose save fails is not kept: the table
// then holds what the file holds, and the user can simply try again. A window saves by calling one
// of these with app.reminders and app.paths.reminderFile(), and shows `message` when not ok().
#include <string>

#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderForm.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"

namespace tavrin {

struct ReminderChange {
    enum class Outcome {
        Stored,         // the table changed and the file was rewritten
        NothingStored,  // nothing to do (no title, no such reminder): no message
        Refused,        // the form or the table refused; `message` says why
        SaveFailed,     // the file could not be rewritten; the table is as it was
    };
    Outcome outcome = Outcome::NothingStored;
    int slot = -1;  // where the new or edited reminder now is
    std::string message;
    bool ok() const { return outcome == Outcome::Stored || outcome == Outcome::NothingStored; }
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
