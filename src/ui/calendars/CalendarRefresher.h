#pragma once
// Keeps the subscribed calendars' events loaded for the windows and fetches the calendars in the
// background. Each calendar is fetched and expanded on a thread of its own, so a slow or hanging
// server holds up neither the clock nor another calendar; what a thread finds comes back to the
// window thread as a queued call. At start every calendar's cached events are loaded before it is
// fetched, so they show at once and while offline. A calendar that cannot be fetched keeps its last
// good events and says why once, until a fetch succeeds again.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarEvent.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/calendars/ShownEvents.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/Zone.h"
#include "core/timezones/ZoneCache.h"
#include "ui/reminders/CalendarEventSource.h"

namespace tavrin {

class CalendarRefresher final : public QObject, public CalendarEventSource {
    Q_OBJECT
  public:
    // Fetches one calendar (with its password, "" for none) into the cache, blocking; a failure's
    // reason is what the user reads.
    using Fetch = std::function<Result<>(const CalendarSubscription&, const std::string& password)>;
    // The calendar's password, asked on the window thread as its fetch starts.
    using PasswordOf = std::function<std::string(const CalendarSubscription&)>;
    // The calendar's cached events that overlap [from, to) (Unix seconds), expanded.
    using Load = std::function<Result<std::vector<CalendarEvent>>(const CalendarSubscription&,
                                                                  std::int64_t from, std::int64_t to)>;
    // `zones` and `zoneinfoDir` name an event's own zone where it differs from `userZone`; they are
    // used on the window thread only.
    CalendarRefresher(const ClockService& clock, std::shared_ptr<const Zone> userZone,
                      std::shared_ptr<ZoneCache> zones, std::string zoneinfoDir, Fetch fetch, Load load,
                      QObject* parent = nullptr);
    ~CalendarRefresher() override;

    // The list as the user keeps it. Calendars new to the list, or whose address or login changed,
    // are loaded from the cache and fetched; removed ones drop their events.
    void setCalendars(std::vector<CalendarSubscription> calendars);
    const std::vector<CalendarSubscription>& calendars() const { return calendars_; }
    void setPasswords(PasswordOf passwordOf) { passwordOf_ = std::move(passwordOf); }
    // Fetches every switched-on calendar each `minutes` minutes; 0 stops it.
    void setRefreshMinutes(int minutes);
    // The machine woke from sleep: the calendars may have changed meanwhile.
    void resumed() { refreshAll(); }

    void refreshAll() override;
    void refresh(const std::string& calendarId);

    // The switched-on calendars' loaded occurrences, by start.
    const std::vector<CalendarEvent>& events() const { return events_; }
    // The first occurrence that starts after `unixSeconds`.
    std::optional<CalendarEvent> nextEventAfter(std::int64_t unixSeconds) const;
    // The next occurrence as the clock's tool tip names it ("Next: Tue 15:00 Team meeting"); "" when
    // none is loaded.
    std::string nextEventText(std::int64_t unixSeconds) const;
    // Why the calendar's last fetch failed; "" when it succeeded or none has ended.
    std::string failureOf(const std::string& calendarId) const;
    // When the calendar was last fetched well in this run (Unix seconds).
    std::optional<std::int64_t> fetchedAt(const std::string& calendarId) const;
    // Whether a fetch of the calendar is under way.
    bool fetching(const std::string& calendarId) const;
    // The calendar's loaded occurrences stretch over the months around today; a month shown
    // outside them widens the stretch, and the events follow in the background.
    void coverMonth(int year, int month) override;

    std::vector<CalendarEvent> eventsOnDay(int year, int month, int day) const override;
    std::optional<CalendarSubscription> calendarOf(const std::string& calendarId) const override;
    std::string timeTextOf(const CalendarEvent& event) const override;
    const Zone& userZone() const { return *userZone_; }
    EventZones eventZones() const { return {*userZone_, *zones_, zoneinfoDir_}; }
    // The instant local midnight starts the day in the user's zone.
    std::int64_t dayStart(int year, int month, int day) const;

  signals:
    // The loaded events changed (a load or a fetch ended).
    void eventsChanged();
    // A calendar's state (fetching, fetched, failed) changed.
    void calendarStateChanged(const QString& calendarId);
    // A calendar could not be fetched: said once, until one of its fetches succeeds again.
    void fetchFailed(const QString& calendarName, const QString& reason);
    // One calendar's fetch (and the load after it) ended, well or not.
    void refreshEnded(const QString& calendarId);

  private:
    struct Mailbox;
    struct Run {
        bool running = false;
        bool again = false;       // another run was asked for while one ran
        bool againFetch = false;  // and it fetches
        std::uint64_t generation = 0;
    };
    void startRun(const CalendarSubscription& calendar, bool fetch);
    void runEnded(const std::string& id, std::uint64_t generation, std::optional<Result<>> fetched,
                  Result<std::vector<CalendarEvent>> loaded);
    void reloadAll();
    void mergeEvents();

    const ClockService& clock_;
    std::shared_ptr<const Zone> userZone_;
    Fetch fetch_;
    Load load_;
    std::shared_ptr<ZoneCache> zones_;
    std::string zoneinfoDir_;
    PasswordOf passwordOf_;
    std::shared_ptr<Mailbox> mailbox_;
    QTimer timer_;
    std::vector<CalendarSubscription> calendars_;
    std::map<std::string, Run> runs_;
    std::map<std::string, std::vector<CalendarEvent>> loaded_;
    std::map<std::string, std::string> failures_;
    std::map<std::string, std::int64_t> fetchedAt_;
    std::vector<CalendarEvent> events_;
    std::int64_t spanFrom_ = 0;
    std::int64_t spanTo_ = 0;
};

}  // namespace tavrin
