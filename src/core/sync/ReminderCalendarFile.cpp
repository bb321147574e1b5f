#include "core/sync/ReminderCalendarFile.h"

#include <algorithm>
#include <cstring>

#include "core/base/AtomicFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"

namespace tavrin {
namespace {

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string ReminderImport::summary() const {
    std::string text = "Added " + counted(added.size(), "reminder", "reminders");
    if (alreadyThere > 0)
        text += "; " + counted(static_cast<std::size_t>(alreadyThere), "event was", "events were") +
                " there already";
    text += ".";
    for (const std::string& title : added) text += "\nadded \"" + title + "\"";
    for (const std::string& why : skipped) text += "\nnot added: " + why;
    if (!note.empty()) text += "\n" + note;
    return text;
}

std::string ReminderExport::summary() const {
    std::string text =
        "Exported " + counted(static_cast<std::size_t>(written), "reminder", "reminders") + ".";
    for (const std::string& why : skipped) text += "\nnot exported: " + why;
    return text;
}

Result<ReminderImport> importReminderCalendar(ReminderTable& table, const std::string& reminderFile,
                                              const std::string& icsPath,
                                              const ReminderEventContext& context) {
    const Result<std::string> text = AtomicFile::read(icsPath);
    if (!text)
        return Failure{"Cannot read \"" + icsPath + "\": " + std::strerror(text.osError()) + ".",
                       text.osError()};
    Result<std::vector<EventReminder>> events = remindersFromCalendar(*text, context);
    if (!events) return Failure{"\"" + icsPath + "\" cannot be imported: " + events.message() + "."};

    std::vector<std::string> refused;
    std::vector<ReminderRecord> wanted;
    for (const EventReminder& event : *events) {
        if (event.reminder)
            wanted.push_back(*event.reminder);
        else
            refused.push_back(event.reminder.message());
    }
    ReminderImport result;
    // The change may run on the table as another program left the file, so it starts afresh each time.
    const Result<> saved = updateReminders(table, reminderFile, [&](ReminderTable& t) {
        result = ReminderImport{{}, refused, 0, {}};
        for (const ReminderRecord& reminder : wanted) {
            const int used = occupiedSlots(t);
            bool there = false;
            for (int i = 0; i < used && !there; ++i) there = ReminderRecord::fromSlot(t, i) == reminder;
            if (there) {
                ++result.alreadyThere;
            } else if (used == kReminderSlots) {
                result.skipped.push_back("the event \"" + reminder.title +
                                         "\" did not fit, as the reminder file already holds " +
                                         std::to_string(kReminderSlots) + " reminders");
            } else {
                reminder.toSlot(t, used);
                result.added.push_back(reminder.title);
            }
        }
        return !result.added.empty();
    });
    if (!saved) return Failure{"The reminders could not be saved. " + saved.message(), saved.osError()};
    result.note = saved.message();
    return result;
}

Result<ReminderExport> exportReminderCalendar(const ReminderTable& table,
                                              const std::vector<std::string>& uids,
                                              const std::string& icsPath,
                                              const ReminderEventContext& context) {
    std::vector<UidReminder> reminders;
    for (int i = 0, used = occupiedSlots(table); i < used; ++i) {
        const std::size_t slot = static_cast<std::size_t>(i);
        const bool known = slot < uids.size() && !uids[slot].empty();
        reminders.push_back({known ? uids[slot] : newReminderUid(), ReminderRecord::fromSlot(table, i)});
    }
    ReminderCalendar calendar = calendarFromReminders(reminders, context);
    if (const Result<> written = AtomicFile::write(icsPath, calendar.text, 0644); !written)
        return written.why();
    ReminderExport result;
    result.written = static_cast<int>(reminders.size() - calendar.skipped.size());
    result.skipped = std::move(calendar.skipped);
    return result;
}

}  // namespace tavrin
