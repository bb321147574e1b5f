#include "core/reminders/DueCheck.h"

#include <algorithm>
#include <utility>

#include "core/base/Text.h"
#include "core/reminders/ReminderList.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderUpdate.h"
#include "core/timezones/FormatPattern.h"

namespace tavrin {
namespace {

std::int64_t minuteIndex(const DateTime& t) {
    return t.days() * 1440 + t.secondsOfDay() / 60;
}

DateTime fromMinuteIndex(std::int64_t m) {
    const std::int64_t day = m >= 0 ? m / 1440 : -((-m + 1439) / 1440);
    return DateTime::fromSerial(day, (m - day * 1440) * 60);
}

class BusyGuard {
  public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

DueCheck::DueCheck(ReminderTable& table, const Settings& settings, const ClockService& clock,
                   ReminderAnnouncer& announcer, std::string reminderFile)
    : table_(table),
      settings_(settings),
      clock_(clock),
      announcer_(announcer),
      file_(std::move(reminderFile)) {}

DueCheckResult DueCheck::checkReminders() {
    return checkReminders(clock_.localNow());
}

const DueCheck::SlotReading& DueCheck::reading(int slot) {
    SlotReading& r = readings_[slot];
    const std::string& date = table_.dates[slot];
    const std::string& time = table_.times[slot];
    if (r.valid && r.date == date && r.time == time && r.dateFormat == settings_.DateFormat) return r;
    r.date = date;
    r.time = time;
    r.dateFormat = settings_.DateFormat;
    r.dateText = reminderDateOfText(date, settings_.DateFormat, settings_.calendarNames);
    r.minuteOfDay = readMinuteOfDay(time, settings_.DateFormat);
    r.valid = true;
    return r;
}

// Each slot is due at most once in a run: at the first minute of (after, upTo] whose day has its
// date text and whose time of day is its time. Free slots never match.
std::vector<DueCheck::Due> DueCheck::findDue(std::int64_t after, std::int64_t upTo) {
    std::vector<Due> due;
    const std::int64_t firstDay = fromMinuteIndex(after + 1).days();
    const std::int64_t lastDay = fromMinuteIndex(upTo).days();
    std::vector<std::string> dayTexts;
    for (std::int64_t d = firstDay; d <= lastDay; ++d) {
        dayTexts.push_back(reminderDateText(DateTime::fromSerial(d, 0), settings_.DateFormat));
    }
    for (int slot = 0; slot < kReminderSlots; ++slot) {
        if (table_.titles[slot].empty()) continue;
        const SlotReading& r = reading(slot);
        if (!r.minuteOfDay) continue;
        for (std::int64_t d = firstDay; d <= lastDay; ++d) {
            const std::int64_t minute = d * 1440 + *r.minuteOfDay;
            if (minute <= after || minute > upTo) continue;
            if (dayTexts[static_cast<std::size_t>(d - firstDay)] != r.dateText) continue;
            due.push_back({minute, slot});
            break;
        }
    }
    std::stable_sort(due.begin(), due.end(), [](const Due& a, const Due& b) { return a.minute < b.minute; });
    return due;
}

// Moves a recurring reminder on from the minute it was due. When the next time has passed too
// (a run catching up), it steps on until the next time is after `nowMinute`: the occurrences in
// between were covered by this run's balloon.
bool DueCheck::moveOn(int slot, std::int64_t dueMinute, std::int64_t nowMinute) {
    const DateTime due = fromMinuteIndex(dueMinute);
    const std::int64_t late = nowMinute - dueMinute;
    switch (leadingWhole(table_.recurrences[slot])) {
        case 0: {
            const DateTime next = due.addMinutes(60 * (late / 60 + 1));
            table_.times[slot] = formatPattern(next, "HH:MM:SS");
            if (next.days() != due.days()) table_.dates[slot] = reminderDateText(next, settings_.DateFormat);
            return true;
        }
        case 1:
            table_.dates[slot] = reminderDateText(due.addDays(late / 1440 + 1), settings_.DateFormat);
            return true;
        case 2:
            table_.dates[slot] = reminderDateText(due.addDays(7 * (late / 10080 + 1)), settings_.DateFormat);
            return true;
        default:
            return false;
    }
}

DueCheckResult DueCheck::checkReminders(const DateTime& now) {
    DueCheckResult result;
    if (busy_) {
        result.busy = true;
        return result;
    }
    const std::int64_t nowMinute = minuteIndex(now);
    std::int64_t after = nowMinute - 1;
    if (lastChecked_) {
        // A clock set back by more than the catch-up window was wrong before (far in the future):
        // waiting for it to pass that time again would silence every reminder until then.
        if (nowMinute <= *lastChecked_ && *lastChecked_ - nowMinute <= kCatchUpMinutes) return result;
        if (nowMinute > *lastChecked_) after = std::max(*lastChecked_, nowMinute - kCatchUpMinutes);
    }
    // Recorded before anything is shown: a tick that arrives while the question below is open
    // is refused, and the next run starts after this minute, so nothing is announced twice.
    lastChecked_ = nowMinute;
    BusyGuard guard(busy_);
    result.ran = true;
    result.minutesCovered = static_cast<int>(nowMinute - after);

    // Another program (a hand edit, tavrinctl, another session's clock) may have changed the file: the
    // check looks at what it holds now. A file that cannot be read leaves the table as it was.
    result.reread = reloadRemindersIfChanged(table_, file_);
    const std::vector<Due> due = findDue(after, nowMinute);
    result.due = static_cast<int>(due.size());
    if (due.empty()) return result;

    for (auto& line : table_.balloonLines) line.clear();
    struct Recurring {
        Due due;
        std::string title, date, time;
    };
    std::vector<Recurring> recurring;
    for (const Due& d : due) {
        const int s = d.slot;
        if (table_.enabled[s] != "1") continue;
        if (recurs(table_.recurrences[s]))
            recurring.push_back({d, table_.titles[s], table_.dates[s], table_.times[s]});
        table_.balloonSlots[static_cast<std::size_t>(result.announced)] = s;
        table_.balloonLines[static_cast<std::size_t>(result.announced++)] = balloonLine(table_, s, settings_);
    }
    if (result.announced == 0) return result;

    result.balloonVisible = announcer_.showBalloon(
        "Tavrin Reminders for: " + formatPattern(now, settings_.DateFormat, settings_.calendarNames));
    if (recurring.empty() || !result.balloonVisible) return result;

    result.asked = true;
    if (announcer_.askReview()) {
        result.reviewed = true;
        announcer_.openManager();
        return result;
    }
    auto moveAll = [&](ReminderTable& t) {
        result.moved = 0;
        for (const Recurring& r : recurring) {
            // The question is modal, but windows may have changed the table meanwhile, and the file is
            // read again if another program changed it: only the reminder that was announced is
            // moved, wherever it is now.
            auto matches = [&](int s) {
                return t.titles[s] == r.title && t.dates[s] == r.date && t.times[s] == r.time;
            };
            int slot = matches(r.due.slot) ? r.due.slot : -1;
            for (int s = 0; s < occupiedSlots(t) && slot < 0; ++s)
                if (matches(s)) slot = s;
            if (slot >= 0 && moveOn(slot, r.due.minute, nowMinute)) ++result.moved;
        }
        return result.moved > 0;
    };
    result.save = updateReminders(table_, file_, moveAll);
    // The moves stay in memory and reach the file with the next save that succeeds, so that a
    // reminder is not stuck at a moment that has passed.
    if (!result.save->ok()) moveAll(table_);
    return result;
}

}  // namespace tavrin
