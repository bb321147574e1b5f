#include "ui/calendars/CalendarRefresher.h"

#include <malloc.h>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <mutex>
#include <thread>
#include <utility>

#include "core/timezones/DateTime.h"

namespace tavrin {

namespace {

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string twoDigits(int n) {
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

std::string hourMinute(const DateTime& t) {
    return twoDigits(t.hour()) + ":" + twoDigits(t.minute());
}

// The first of the month `months` away from the given one.
DateTime monthStart(int year, int month, int months) {
    return DateTime::fromFields(year, month, 1).addMonths(months);
}

}  // namespace

// Where a worker thread leaves what it found. The refresher goes away without waiting for its
// threads (a fetch may wait long for a server); one that ends later finds no receiver and drops its
// result.
struct CalendarRefresher::Mailbox {
    std::mutex lock;
    CalendarRefresher* receiver = nullptr;

    void post(std::function<void(CalendarRefresher&)> deliver) {
        const std::lock_guard hold(lock);
        if (!receiver) return;
        CalendarRefresher* to = receiver;
        QMetaObject::invokeMethod(
            to, [to, deliver = std::move(deliver)] { deliver(*to); }, Qt::QueuedConnection);
    }
};

CalendarRefresher::CalendarRefresher(const ClockService& clock, std::shared_ptr<const Zone> userZone,
                                     std::shared_ptr<ZoneCache> zones, std::string zoneinfoDir, Fetch fetch,
                                     Load load, QObject* parent)
    : QObject(parent),
      clock_(clock),
      userZone_(userZone ? std::move(userZone) : std::make_shared<const Zone>(Zone::utc())),
      fetch_(std::move(fetch)),
      load_(std::move(load)),
      zones_(zones ? std::move(zones) : std::make_shared<ZoneCache>()),
      zoneinfoDir_(std::move(zoneinfoDir)),
      mailbox_(std::make_shared<Mailbox>()) {
    mailbox_->receiver = this;
    // From the month before last to a year ahead: what the calendar window shows without widening.
    const DateTime today = userWallTime(clock_.unixMillis() / 1000, *userZone_);
    spanFrom_ = dayStart(monthStart(today.year(), today.month(), -2).year(),
                         monthStart(today.year(), today.month(), -2).month(), 1);
    const DateTime end = monthStart(today.year(), today.month(), 13);
    spanTo_ = dayStart(end.year(), end.month(), 1);
    // A coarse timer: a minute late matters to no one, and it wakes the machine no more than needed.
    timer_.setTimerType(Qt::VeryCoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &CalendarRefresher::refreshAll);
}

CalendarRefresher::~CalendarRefresher() {
    const std::lock_guard hold(mailbox_->lock);
    mailbox_->receiver = nullptr;
}

void CalendarRefresher::setRefreshMinutes(int minutes) {
    if (minutes <= 0) {
        timer_.stop();
        return;
    }
    const int interval = std::min(minutes, 24 * 60) * 60 * 1000;
    if (!timer_.isActive() || timer_.interval() != interval) timer_.start(interval);
}

void CalendarRefresher::setCalendars(std::vector<CalendarSubscription> calendars) {
    std::vector<CalendarSubscription> before = std::exchange(calendars_, std::move(calendars));
    auto previous = [&before](const std::string& id) -> const CalendarSubscription* {
        auto it = std::find_if(before.begin(), before.end(), [&id](const auto& c) { return c.id == id; });
        return it == before.end() ? nullptr : &*it;
    };
    for (const CalendarSubscription& calendar : calendars_) {
        const CalendarSubscription* was = previous(calendar.id);
        const bool moved = !was || was->address != calendar.address || was->user != calendar.user ||
                           was->source != calendar.source;
        const bool switchedOn = calendar.enabled && (!was || !was->enabled);
        if (calendar.enabled && (moved || (switchedOn && !loaded_.contains(calendar.id))))
            startRun(calendar, true);
    }
    // Removed calendars take their events and their state with them.
    for (auto it = loaded_.begin(); it != loaded_.end();)
        it = calendarOf(it->first) ? std::next(it) : loaded_.erase(it);
    std::erase_if(failures_, [this](const auto& entry) { return !calendarOf(entry.first); });
    std::erase_if(fetchedAt_, [this](const auto& entry) { return !calendarOf(entry.first); });
    mergeEvents();
    emit eventsChanged();
}

void CalendarRefresher::refreshAll() {
    for (const CalendarSubscription& calendar : calendars_)
        if (calendar.enabled) startRun(calendar, true);
}

void CalendarRefresher::refresh(const std::string& calendarId) {
    if (const auto calendar = calendarOf(calendarId)) startRun(*calendar, true);
}

void CalendarRefresher::reloadAll() {
    for (const CalendarSubscription& calendar : calendars_)
        if (calendar.enabled) startRun(calendar, false);
}

void CalendarRefresher::startRun(const CalendarSubscription& calendar, bool fetch) {
    Run& run = runs_[calendar.id];
    if (run.running) {
        // One run at a time per calendar; the newest wish runs when it ends.
        run.again = true;
        run.againFetch = run.againFetch || fetch;
        return;
    }
    run.running = true;
    const std::uint64_t generation = ++run.generation;
    emit calendarStateChanged(QString::fromStdString(calendar.id));
    // The first load of a calendar comes from its cache, before the fetch, so it shows at once.
    const bool loadFirst = !loaded_.contains(calendar.id);
    const std::string password = fetch && passwordOf_ && !calendar.user.empty() ? passwordOf_(calendar) : "";
    std::thread([mailbox = mailbox_, fetch = fetch ? fetch_ : Fetch(), load = load_, calendar, password,
                 generation, loadFirst, from = spanFrom_, to = spanTo_] {
        const std::string id = calendar.id;
        if (loadFirst && fetch && load) {
            auto cached = std::make_shared<Result<std::vector<CalendarEvent>>>(load(calendar, from, to));
            mailbox->post([id, generation, cached](CalendarRefresher& r) {
                if (!*cached || r.runs_[id].generation != generation || !r.calendarOf(id)) return;
                r.loaded_[id] = std::move(cached->value());
                r.mergeEvents();
                emit r.eventsChanged();
            });
        }
        std::optional<Result<>> fetched;
        if (fetch) fetched = fetch(calendar, password);
        auto loaded = std::make_shared<Result<std::vector<CalendarEvent>>>(
            load ? load(calendar, from, to)
                 : Result<std::vector<CalendarEvent>>(std::vector<CalendarEvent>{}));
        mailbox->post([id, generation, fetched, loaded](CalendarRefresher& r) {
            r.runEnded(id, generation, fetched, std::move(*loaded));
        });
        // A calendar's text and libical's tree of it are gone by now, but the C library keeps the
        // pages of this thread's heap for the next allocation that never comes: give them back.
        ::malloc_trim(0);
    }).detach();
}

void CalendarRefresher::runEnded(const std::string& id, std::uint64_t generation,
                                 std::optional<Result<>> fetched, Result<std::vector<CalendarEvent>> loaded) {
    Run& run = runs_[id];
    if (generation != run.generation) return;
    run.running = false;
    const std::optional<CalendarSubscription> calendar = calendarOf(id);
    if (!calendar) {
        runs_.erase(id);
        return;
    }
    // What is cached stays shown when the fetch failed; a cache that cannot be read is a failure too.
    if (loaded) loaded_[id] = std::move(*loaded);
    const Failure failure = fetched && !*fetched ? fetched->why() : loaded.why();
    if (fetched && fetched->ok()) fetchedAt_[id] = clock_.unixMillis() / 1000;
    if (fetched && fetched->ok() && loaded) {
        failures_.erase(id);
    } else if (!failure.reason.empty() && failures_[id] != failure.reason) {
        const bool toldAlready = !failures_[id].empty();
        failures_[id] = failure.reason;
        // Told once: a calendar that keeps failing for another reason is not told again each time.
        if (!toldAlready)
            emit fetchFailed(QString::fromStdString(calendar->name), QString::fromStdString(failure.reason));
    }
    mergeEvents();
    emit eventsChanged();
    emit calendarStateChanged(QString::fromStdString(id));
    if (fetched) emit refreshEnded(QString::fromStdString(id));
    if (std::exchange(run.again, false)) startRun(*calendar, std::exchange(run.againFetch, false));
}

void CalendarRefresher::mergeEvents() {
    events_.clear();
    for (const CalendarSubscription& calendar : calendars_) {
        if (!calendar.enabled) continue;
        const auto it = loaded_.find(calendar.id);
        if (it != loaded_.end()) events_.insert(events_.end(), it->second.begin(), it->second.end());
    }
    std::stable_sort(events_.begin(), events_.end(),
                     [](const CalendarEvent& a, const CalendarEvent& b) { return a.start < b.start; });
}

std::optional<CalendarEvent> CalendarRefresher::nextEventAfter(std::int64_t unixSeconds) const {
    return tavrin::nextEventAfter(events_, unixSeconds + 1);
}

std::string CalendarRefresher::nextEventText(std::int64_t unixSeconds) const {
    const std::optional<CalendarEvent> next = nextEventAfter(unixSeconds);
    if (!next) return {};
    const DateTime start = userWallTime(next->start, *userZone_);
    std::string when = kWeekdays[start.weekday()];
    if (!next->allDay) when += " " + hourMinute(start);
    return "Next: " + when + " " + next->title;
}

std::string CalendarRefresher::failureOf(const std::string& calendarId) const {
    const auto it = failures_.find(calendarId);
    return it == failures_.end() ? std::string() : it->second;
}

std::optional<std::int64_t> CalendarRefresher::fetchedAt(const std::string& calendarId) const {
    const auto it = fetchedAt_.find(calendarId);
    if (it == fetchedAt_.end()) return std::nullopt;
    return it->second;
}

bool CalendarRefresher::fetching(const std::string& calendarId) const {
    const auto it = runs_.find(calendarId);
    return it != runs_.end() && it->second.running;
}

void CalendarRefresher::coverMonth(int year, int month) {
    const std::int64_t from = dayStart(year, month, 1);
    const DateTime next = monthStart(year, month, 1);
    const std::int64_t to = dayStart(next.year(), next.month(), 1);
    if (from >= spanFrom_ && to <= spanTo_) return;
    spanFrom_ = std::min(spanFrom_, from);
    spanTo_ = std::max(spanTo_, to);
    reloadAll();
}

std::int64_t CalendarRefresher::dayStart(int year, int month, int day) const {
    // The wall clock's midnight as an instant: the offset in force then, found from a first guess.
    const std::int64_t wall = DateTime::fromFields(year, month, day).toUnix();
    const std::int64_t guess = wall - userZone_->offsetAt(wall);
    return wall - userZone_->offsetAt(guess);
}

std::vector<CalendarEvent> CalendarRefresher::eventsOnDay(int year, int month, int day) const {
    return eventsOfDay(events_, DateTime::fromFields(year, month, day), *userZone_);
}

std::optional<CalendarSubscription> CalendarRefresher::calendarOf(const std::string& calendarId) const {
    const auto it = std::find_if(calendars_.begin(), calendars_.end(),
                                 [&calendarId](const CalendarSubscription& c) { return c.id == calendarId; });
    if (it == calendars_.end()) return std::nullopt;
    return *it;
}

std::string CalendarRefresher::timeTextOf(const CalendarEvent& event) const {
    return eventTimeText(event, eventZones());
}

}  // namespace tavrin
