#pragma once
// The reminder due check that the tray clock's reminder timer runs on every tick.
//
// A reminder is due in a minute when its stored time reads back as that minute's "HH:MM" and its
// stored date, read back and formatted with "DateFormat", equals that day's date in "DateFormat".
// The check does its work once per minute, at the first tick inside a new minute, and covers every
// minute since the last check: minutes lost to a blocked event loop or a suspended machine are
// announced at the next tick, together in one balloon (at most the last seven days are looked at).
// The first check covers only the current minute; a clock set back checks nothing until it passes
// the latest minute already checked, unless it went back by more than those seven days (it was
// wrong before), when the check starts afresh from the current minute.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/reminders/ReminderAnnouncer.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

struct DueCheckResult {
    bool ran = false;   // false inside a minute already checked, or while a run is going on
    bool busy = false;  // refused because an earlier run is still waiting on its question
    int minutesCovered = 0;
    int due = 0;        // reminders due in the covered minutes, enabled or not
    int announced = 0;  // lines put into the balloon
    bool balloonVisible = false;
    bool asked = false;     // the review question was asked
    bool reviewed = false;  // ... and answered Yes
    int moved = 0;          // recurring reminders moved on
    // Saving the table after the moves; nothing when no save was tried.
    std::optional<Result<>> save;
    // Whether the file was read again because another program changed it; on failure the table
    // stays as it was and the next minute tries again.
    Result<bool> reread = false;
};

class DueCheck {
  public:
    // Minutes looked at when the check catches up after a gap.
    static constexpr std::int64_t kCatchUpMinutes = 7 * 24 * 60;

    DueCheck(ReminderTable& table, const Settings& settings, const ClockService& clock,
             ReminderAnnouncer& announcer, std::string reminderFile);

    // Runs on every timer tick with the clock's local time.
    DueCheckResult checkReminders();
    DueCheckResult checkReminders(const DateTime& now);

  private:
    struct Due {
        std::int64_t minute;
        int slot;
    };
    // What a slot's stored date and time read back as, kept until the stored texts change.
    struct SlotReading {
        std::string date, time, dateFormat;
        bool valid = false;
        std::string dateText;            // the stored date formatted with "DateFormat"
        std::optional<int> minuteOfDay;  // the stored time's "HH:MM"; none when it is no time of day
    };

    const SlotReading& reading(int slot);
    std::vector<Due> findDue(std::int64_t after, std::int64_t upTo);
    bool moveOn(int slot, std::int64_t dueMinute, std::int64_t nowMinute);

    ReminderTable& table_;
    const Settings& settings_;
    const ClockService& clock_;
    ReminderAnnouncer& announcer_;
    std::string file_;
    std::optional<std::int64_t> lastChecked_;
    bool busy_ = false;
    std::array<SlotReading, kReminderSlots> readings_;
};

}  // namespace tavrin
