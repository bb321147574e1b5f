#include "core/reminders/ReminderEditing.h"

#include "core/reminders/ReminderEditor.h"
#include "core/reminders/ReminderRecord.h"

namespace tavrin {
namespace {

void removeSlot(ReminderTable& table, int k) {
    for (int j = k; j < kReminderSlots && !table.RemTitle[j].empty(); ++j) {
        if (j + 1 < kReminderSlots) {
            ReminderRecord::fromSlot(table, j + 1).toSlot(table, j);
        } else {
            ReminderRecord{}.toSlot(table, j);
        }
    }
}

ReminderChange saveOrRestore(ReminderTable& table, ReminderTable& before, const std::string& path, int slot) {
    const Result saved = SaveReminders(table, path);
    ReminderChange change;
    if (!saved.ok) {
        // Only the six columns are taken back; the balloon lines belong to the due check.
        table.RemTitle.swap(before.RemTitle);
        table.RemDate.swap(before.RemDate);
        table.RemTime.swap(before.RemTime);
        table.RemEnabled.swap(before.RemEnabled);
        table.RemRecur.swap(before.RemRecur);
        table.RemBody.swap(before.RemBody);
        change.outcome = ReminderChange::Outcome::SaveFailed;
        change.message = "The reminder could not be saved. " + saved.message;
        return change;
    }
    change.outcome = ReminderChange::Outcome::Stored;
    change.slot = slot;
    return change;
}

ReminderChange refusedChange(const std::string& message) {
    ReminderChange c;
    c.outcome = ReminderChange::Outcome::Refused;
    c.message = message;
    return c;
}

bool occupied(const ReminderTable& table, int slot) {
    return slot >= 0 && slot < kReminderSlots && !table.RemTitle[slot].empty();
}

}  // namespace

ReminderChange addReminder(ReminderTable& table, const ReminderForm& form, const Settings& settings,
                           const std::string& path) {
    const int slot = occupiedSlots(table);
    if (slot == kReminderSlots) return refusedChange(kReminderFormError);
    const FormConversion c = recordFromForm(form, settings);
    if (c.outcome == FormConversion::Outcome::NoTitle) return {};
    if (c.outcome == FormConversion::Outcome::Refused) return refusedChange(c.message);
    ReminderTable before = table;
    c.record.toSlot(table, slot);
    return saveOrRestore(table, before, path, slot);
}

ReminderChange editReminder(ReminderTable& table, int slot, const std::string& title,
                            const ReminderForm& form, const Settings& settings, const std::string& path) {
    const FormConversion c = recordFromForm(form, settings);
    // Clearing the title of a reminder being edited keeps the reminder as it was.
    if (c.outcome == FormConversion::Outcome::NoTitle) return {};
    if (c.outcome == FormConversion::Outcome::Refused) return refusedChange(c.message);
    if (!occupied(table, slot) || table.RemTitle[slot] != title) {
        slot = -1;
        for (int i = 0; i < kReminderSlots && slot < 0; ++i) {
            if (!table.RemTitle[i].empty() && table.RemTitle[i] == title) slot = i;
        }
        if (slot < 0) return refusedChange("The reminder being edited is no longer in the list.");
    }
    ReminderTable before = table;
    // Removing first and storing at the end gives the same order as storing first and removing
    // after, and an edit still works when all 256 slots are taken.
    removeSlot(table, slot);
    const int target = occupiedSlots(table);
    c.record.toSlot(table, target);
    return saveOrRestore(table, before, path, target);
}

ReminderChange deleteReminder(ReminderTable& table, int slot, const std::string& path) {
    if (!occupied(table, slot)) return {};
    ReminderTable before = table;
    removeSlot(table, slot);
    return saveOrRestore(table, before, path, -1);
}

}  // namespace tavrin
