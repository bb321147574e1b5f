#pragma once
// Which calendar events to announce in the balloon, and when: at each VALARM trigger, and, when the
// setting "EventNoticeMinutes" is above 0, that many minutes before every timed event starts.
//
// Like the reminder due check, a check covers every instant since the last one: triggers passed while
// the machine slept or the loop was blocked are announced at the next check (at most the last seven
// days are looked at); the first check after start covers only the current minute, and a clock set
// back announces nothing until it passes the latest instant already checked, unless it went back by
// more than those seven days. Each trigger is announced once: what was announced is kept in a file
// (calendar, event, occurrence, trigger), so a restart within the same minute does not announce it
// again. Entries older than the catch-up window can never be due again and are dropped.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarEvent.h"
#include "core/calendars/ShownEvents.h"

namespace tavrin {

struct EventNotice {
    CalendarEvent event;
    std::int64_t trigger = 0;  // the instant it was due
    // The balloon's title (the event's) and its lines: when (see eventTimeText), and where.
    std::string title;
    std::vector<std::string> lines;
};

struct EventNoticeCheck {
    std::vector<EventNotice> notices;  // in the order of their triggers
    // Keeping the announced ones: nothing when nothing new was announced. While the file cannot be
    // read it is left as it is, and this says why.
    std::optional<Result<>> save;
};

class EventNotices {
  public:
    static constexpr std::int64_t kCatchUpSeconds = 7 * 24 * 3600;

    // `announcedFile`: $XDG_DATA_HOME/tavrin/Tavrin.events.
    explicit EventNotices(std::string announcedFile);

    // The notices due since the last check, up to `now` (Unix seconds).
    EventNoticeCheck check(const std::vector<CalendarEvent>& events, std::int64_t now, int noticeMinutes,
                           const EventZones& zones);

  private:
    // calendar id, uid, occurrence key, trigger
    using Key = std::tuple<std::string, std::string, std::int64_t, std::int64_t>;

    Result<> load();
    Result<> save(std::int64_t now);

    std::string file_;
    std::optional<std::int64_t> lastChecked_;
    std::set<Key> announced_;
    bool loaded_ = false;
};

// The announced file's text and back.
std::string formatAnnouncedEvents(
    const std::set<std::tuple<std::string, std::string, std::int64_t, std::int64_t>>&);
Result<std::set<std::tuple<std::string, std::string, std::int64_t, std::int64_t>>> parseAnnouncedEvents(
    std::string_view text);

}  // namespace tavrin
