#include "core/sync/LocalChanges.h"

#include "core/reminders/ReminderRecord.h"

namespace tavrin {

std::vector<int> exactSlots(const std::vector<SyncEntry>& entries, const ReminderTable& table) {
    const int occupied = occupiedSlots(table);
    std::vector<bool> taken(static_cast<std::size_t>(occupied), false);
    std::vector<int> slots(entries.size(), -1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].inFile()) continue;
        for (int s = 0; s < occupied; ++s) {
            if (taken[static_cast<std::size_t>(s)] ||
                !(ReminderRecord::fromSlot(table, s) == entries[i].record))
                continue;
            taken[static_cast<std::size_t>(s)] = true;
            slots[i] = s;
            break;
        }
    }
    return slots;
}

std::vector<int> queueLocalChanges(SyncState& state, const ReminderTable& table, const NewPlace& place) {
    std::vector<int> slots = exactSlots(state.entries, table);
    const int occupied = occupiedSlots(table);
    std::vector<bool> owned(static_cast<std::size_t>(occupied), false);
    for (int s : slots)
        if (s >= 0) owned[static_cast<std::size_t>(s)] = true;
    std::uint64_t next = state.nextOrder();

    // Pairs what is left over by one likeness after another, each record in slot order with the first
    // entry left over that is like it.
    using Likeness = bool (*)(const ReminderRecord&, const ReminderRecord&);
    const Likeness likenesses[] = {
        [](const ReminderRecord& a, const ReminderRecord& b) { return a.title == b.title; },
        [](const ReminderRecord& a, const ReminderRecord& b) { return a.date == b.date && a.time == b.time; },
        [](const ReminderRecord& a, const ReminderRecord& b) { return !a.body.empty() && a.body == b.body; },
    };
    for (Likeness alike : likenesses) {
        for (int s = 0; s < occupied; ++s) {
            if (owned[static_cast<std::size_t>(s)]) continue;
            const ReminderRecord record = ReminderRecord::fromSlot(table, s);
            for (std::size_t i = 0; i < state.entries.size(); ++i) {
                SyncEntry& e = state.entries[i];
                if (!e.inFile() || slots[i] >= 0 || !alike(e.record, record)) continue;
                e.record = record;
                if (e.state == SyncEntryState::Synced) {
                    e.state = SyncEntryState::QueuedWrite;
                    e.order = next++;
                }
                slots[i] = s;
                owned[static_cast<std::size_t>(s)] = true;
                break;
            }
        }
    }

    std::vector<SyncEntry> entries;
    std::vector<int> entrySlots;
    for (std::size_t i = 0; i < state.entries.size(); ++i) {
        SyncEntry& e = state.entries[i];
        if (e.inFile() && slots[i] < 0) {
            // Even one never answered for may be on the server (the answer to its write was lost): the
            // deletion is queued all the same, and is dropped when the next listing does not name it.
            e.state = SyncEntryState::QueuedDelete;
            e.order = next++;
        }
        entries.push_back(std::move(e));
        entrySlots.push_back(slots[i]);
    }
    for (int s = 0; s < occupied; ++s) {
        if (owned[static_cast<std::size_t>(s)]) continue;
        SyncEntry e;
        e.uid = place.uid();
        e.href = place.href(e.uid);
        e.record = ReminderRecord::fromSlot(table, s);
        e.state = SyncEntryState::QueuedWrite;
        e.order = next++;
        entries.push_back(std::move(e));
        entrySlots.push_back(s);
    }
    state.entries = std::move(entries);
    return entrySlots;
}

}  // namespace tavrin
