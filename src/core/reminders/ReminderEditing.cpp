#include "core/reminders/ReminderEditing.h"

#include <functional>
#include <optional>

#include "core/reminders/ReminderEditor.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"

namespace tavrin {
namespace {

constexpr const char* kGone = "The reminder is no longer in the list: it was changed or deleted meanwhile.";

void removeSlot(ReminderTable& table, int k) {
    for (int j = k; j < kReminderSlots && !table.titles[j].empty(); ++j) {
        if (j + 1 < kReminderSlots) {
            ReminderRecord::fromSlot(table, j + 1).toSlot(table, j);
        } else {
            ReminderRecord{}.toSlot(table, j);
        }
    }
}

ReminderChange refusedChange(const std::string& message) {
    return ReminderChange{Failure{message}};
}

bool occupied(const ReminderTable& table, int slot) {
    return slot >= 0 && slot < kReminderSlots && !table.titles[slot].empty();
}

// Where `wanted` is now, once the table was read again: its own slot when it still holds it, else
// the first slot holding the same six fields. Slot numbers move when another program deletes.
std::optional<int> find(const ReminderTable& table, int slot, const ReminderRecord& wanted) {
    if (occupied(table, slot) && ReminderRecord::fromSlot(table, slot) == wanted) return slot;
    for (int i = 0; i < occupiedSlots(table); ++i)
        if (ReminderRecord::fromSlot(table, i) == wanted) return i;
    return std::nullopt;
}

// Runs `change` over the reminders on disk; a change that refuses sets `refusal` and returns false.
ReminderChange apply(ReminderTable& table, const std::string& path,
                     const std::function<bool(ReminderTable&, ReminderChange&)>& change) {
    ReminderChange result;
    bool changed = false;
    const Result saved =
        updateReminders(table, path, [&](ReminderTable& t) { return changed = change(t, result); });
    if (!saved.ok()) {
        result =
            ReminderChange{Failure{"The reminder could not be saved. " + saved.message(), saved.osError()}};
    } else if (changed) {
        result.stored = true;
        result.result = Result<>::success(saved.message());  // what was kept aside on the way
    }
    return result;
}

// Runs `change` on the reminder shown in `slot`, found again in the table on disk (`at`); refused when
// it is no longer there. Nothing happens for an empty slot.
ReminderChange applyToReminder(ReminderTable& table, int slot, const std::string& path,
                               const std::function<bool(ReminderTable&, ReminderChange&, int at)>& change) {
    if (!occupied(table, slot)) return {};
    const ReminderRecord was = ReminderRecord::fromSlot(table, slot);
    return apply(table, path, [&](ReminderTable& t, ReminderChange& r) {
        const std::optional<int> at = find(t, slot, was);
        if (!at) {
            r = refusedChange(kGone);
            return false;
        }
        return change(t, r, *at);
    });
}

}  // namespace

ReminderChange addReminder(ReminderTable& table, const ReminderForm& form, const Settings& settings,
                           const std::string& path) {
    const Result c = recordFromForm(form, settings);
    if (!c) return refusedChange(c.message());
    if (!*c) return {};
    const ReminderRecord& record = **c;
    if (occupiedSlots(table) == kReminderSlots && table.fileStamp.statusMatches(path))
        return refusedChange(kReminderFormError);
    return apply(table, path, [&](ReminderTable& t, ReminderChange& r) {
        const int slot = occupiedSlots(t);
        if (slot == kReminderSlots) {
            r = refusedChange(kReminderFormError);
            return false;
        }
        record.toSlot(t, slot);
        r.slot = slot;
        return true;
    });
}

ReminderChange editReminder(ReminderTable& table, int slot, const std::string& title,
                            const ReminderForm& form, const Settings& settings, const std::string& path) {
    const Result c = recordFromForm(form, settings);
    if (!c) return refusedChange(c.message());
    // Clearing the title of a reminder being edited keeps the reminder as it was.
    if (!*c) return {};
    const ReminderRecord& record = **c;
    const std::optional<ReminderRecord> was = occupied(table, slot) && table.titles[slot] == title
                                                  ? std::optional(ReminderRecord::fromSlot(table, slot))
                                                  : std::nullopt;
    return apply(table, path, [&](ReminderTable& t, ReminderChange& r) {
        int at = -1;
        if (was) at = find(t, slot, *was).value_or(-1);
        // Not found whole: the table changed meanwhile; the reminder is looked for by its title.
        for (int i = 0; i < occupiedSlots(t) && at < 0; ++i)
            if (t.titles[i] == title) at = i;
        if (at < 0) {
            r = refusedChange(kGone);
            return false;
        }
        // Removing first and storing at the end gives the same order as storing first and removing
        // after, and an edit still works when all 256 slots are taken.
        removeSlot(t, at);
        r.slot = occupiedSlots(t);
        record.toSlot(t, r.slot);
        return true;
    });
}

ReminderChange deleteReminder(ReminderTable& table, int slot, const std::string& path) {
    return applyToReminder(table, slot, path, [](ReminderTable& t, ReminderChange&, int at) {
        removeSlot(t, at);
        return true;
    });
}

ReminderChange setReminderEnabled(ReminderTable& table, int slot, bool enabled, const std::string& path) {
    return applyToReminder(table, slot, path, [enabled](ReminderTable& t, ReminderChange& r, int at) {
        r.slot = at;
        const std::string flag = enabled ? "1" : "0";
        if (t.enabled[at] == flag) return false;
        t.enabled[at] = flag;
        return true;
    });
}

}  // namespace tavrin
