#pragma once
// A reminder as an iCalendar event, the form in which it lives on a calendar server and in .ics files:
// its title as SUMMARY, its message as DESCRIPTION, its date and time in the user's zone (DTSTART with
// that zone's TZID and VTIMEZONE), RRULE FREQ=HOURLY, DAILY or WEEKLY for the recurring kinds, an
// alarm at the start, and whether it is switched on (X-TAVRIN-ENABLED; a switched-off one has no alarm,
// so a phone does not ring for it). Read back, an event that a reminder cannot express is refused with
// the reason.
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/reminders/ReminderRecord.h"

namespace tavrin {

// What turns a stored reminder into a moment and back: the date format its date is written in, and the
// zone its time is read in.
struct ReminderEventContext {
    std::string dateFormat;   // the "DateFormat" setting
    std::string zoneId;       // the user's zone, "Europe/Berlin"
    std::string zoneinfoDir;  // the tz database folder
    std::int64_t now = 0;     // Unix seconds; places a date that names no year
};

// One resource: a VCALENDAR holding the reminder's VEVENT (and its zone), with the uid `uid`. A
// reminder whose date or time reads as no moment (a hand edit) is refused with the reason.
Result<std::string> eventFromReminder(const ReminderRecord& reminder, const std::string& uid,
                                      const ReminderEventContext& context);

// The reminder a resource's (first) VEVENT expresses, and its UID; refused, with the reason the user
// reads ("a monthly rule", "a title with a double quote", ...), when a reminder cannot hold it.
struct EventReminder {
    std::string uid;
    std::string summary;  // to name a refused event in a message
    Result<ReminderRecord> reminder = Failure{};
};
EventReminder reminderFromEvent(const std::string& text, const ReminderEventContext& context);

// Every VEVENT of a calendar file, each as above (an event with recurrence overrides counts once).
// A text that is no iCalendar at all is refused with the reason.
Result<std::vector<EventReminder>> remindersFromCalendar(const std::string& text,
                                                         const ReminderEventContext& context);

// A calendar file holding every reminder of `reminders`, each with its uid.
struct UidReminder {
    std::string uid;
    ReminderRecord reminder;
};
// Those that cannot be expressed are left out, each named with the reason in `skipped`.
struct ReminderCalendar {
    std::string text;
    std::vector<std::string> skipped;
};
ReminderCalendar calendarFromReminders(const std::vector<UidReminder>& reminders,
                                       const ReminderEventContext& context);

// A new uid for a reminder: random, "…@tavrin".
std::string newReminderUid();

}  // namespace tavrin
