#pragma once
// The reminders' sync in the running clock: the calendar named by the "SyncCalendar" setting is not
// fetched as a calendar of events (its events are the reminders themselves) but synced with the
// reminder file. A run happens on that calendar's fetch thread, so it comes when the calendars are
// fetched: at start, at each refresh, after a resume, and when the clock's minute tick finds that
// the reminder file changed since the last run saw it. The window thread hands over what a run needs
// of the settings and takes the report when the run ended; the two meet under one lock.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "core/base/Result.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/reminders/ReminderFileStamp.h"
#include "core/sync/ReminderSync.h"

namespace tavrin {

class AppReminderSync {
  public:
    AppReminderSync(std::string reminderFile, std::string zoneinfoDir);

    // On the window thread: the calendar the setting names ("" for none) and the settings a run
    // reads. Gives the calendar named before when it changed, so that both are fetched anew.
    std::optional<std::string> follow(const std::string& calendarId, const std::string& dateFormat,
                                      std::int64_t now);
    // Whether `calendarId` holds the reminders; from any thread.
    bool holds(const std::string& calendarId) const;
    std::string calendarId() const;

    // On a fetch thread: one run with the calendar's server.
    Result<> run(const CalendarSubscription& calendar, const std::string& password);

    // On the window thread, once a run ended: its report, taken once (none after a failed run).
    std::optional<SyncReport> takeReport();
    // Whether the reminder file changed since the last run saw it: a status check, no read.
    bool fileChanged() const;

  private:
    const std::string reminderFile_;
    const std::string zoneinfoDir_;
    mutable std::mutex lock_;
    std::string calendarId_;
    std::string dateFormat_;
    std::int64_t now_ = 0;
    std::optional<SyncReport> report_;
    ReminderFileStamp seen_;
};

}  // namespace tavrin
