#include "app/AppCalendars.h"

#include "app/AppReminderSync.h"

#include <QWidget>
#include <ctime>
#include <sstream>
#include <utility>

#include "core/calendars/CalendarList.h"
#include "core/calendars/PasswordVault.h"
#include "core/calendars/ShownEvents.h"
#include "core/reminders/ReminderUpdate.h"
#include "core/timezones/MachineZone.h"
#include "platform/CalendarFetcher.h"
#include "ui/calendars/CalendarRefresher.h"
#include "ui/calendars/frmCalendars.h"
#include "ui/reminders/ReminderWindows.h"
#include "ui/utilities/WindowPlacement.h"

namespace tavrin {

namespace {

// How long the machine was suspended since it booted: the boot clock counts the sleep, the monotonic
// clock does not. Read on the tick that runs anyway, so noticing a resume costs no wake-up.
std::int64_t secondsAsleep() {
    timespec boot{}, awake{};
    if (clock_gettime(CLOCK_BOOTTIME, &boot) != 0 || clock_gettime(CLOCK_MONOTONIC, &awake) != 0) return 0;
    return static_cast<std::int64_t>(boot.tv_sec) - static_cast<std::int64_t>(awake.tv_sec);
}

// A sleep shorter than this is no reason to fetch: the timer's own round comes soon enough.
constexpr std::int64_t kSleepWorthAFetch = 60;

// The notice balloon is as wide as an announcement's: a longer line (a server's reason, a sync's
// notice) is broken between words so that it shows whole rather than cut off at the edge.
constexpr std::size_t kNoticeColumns = 38;

std::vector<std::string> brokenToFit(const std::vector<std::string>& lines) {
    std::vector<std::string> fitted;
    for (const std::string& line : lines) {
        std::string current;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (!current.empty() && current.size() + 1 + word.size() > kNoticeColumns)
                fitted.push_back(std::exchange(current, {}));
            current += (current.empty() ? "" : " ") + word;
        }
        if (!current.empty()) fitted.push_back(current);
    }
    return fitted;
}

}  // namespace

AppCalendars::AppCalendars(AppState& app, std::unique_ptr<PasswordVault> vault,
                           std::function<ClockPlace()> clockRect)
    : app_(app),
      vault_(std::move(vault)),
      clockRect_(std::move(clockRect)),
      notices_(app.paths.dataHome + "/tavrin/Tavrin.events") {
    const std::string zoneinfo = app.paths.zoneinfoDir;
    std::shared_ptr<const Zone> userZone = app.zones.zoneCache->zone(zoneinfo, machineZoneId(zoneinfo))
                                               .valueOr(std::make_shared<const Zone>(Zone::utc()));
    const std::string cacheDir = app.paths.calendarCacheDir();
    sync_ = std::make_shared<AppReminderSync>(app.paths.reminderFile(), zoneinfo);
    sync_->follow(app.settings.SyncCalendar, app.settings.DateFormat, app.clock.unixMillis() / 1000);
    // Each fetch and load runs on a thread of its own, with a fetcher and zones of its own. The
    // calendar holding the reminders is synced instead, and has no events to show.
    auto fetch = [cacheDir, sync = sync_](const CalendarSubscription& calendar,
                                          const std::string& password) -> Result<> {
        if (sync->holds(calendar.id)) return sync->run(calendar, password);
        const CalendarFetcher fetcher{CalendarCache(cacheDir)};
        const Result<FetchReport> fetched = fetcher.refresh(calendar, password, std::time(nullptr));
        if (!fetched) return fetched.why();
        return Result<>::success();
    };
    auto load = [cacheDir, zoneinfo, userZone, sync = sync_](
                    const CalendarSubscription& calendar, std::int64_t from,
                    std::int64_t to) -> Result<std::vector<CalendarEvent>> {
        if (sync->holds(calendar.id)) return std::vector<CalendarEvent>{};
        ZoneCache zones;
        ShownEvents shown = loadShownEvents({calendar}, CalendarCache(cacheDir), from, to,
                                            EventZones{*userZone, zones, zoneinfo});
        if (!shown.problems.empty()) return Failure{shown.problems.front().reason};
        return std::move(shown.events);
    };
    refresher_ = std::make_unique<CalendarRefresher>(app.clock, userZone, app.zones.zoneCache, zoneinfo,
                                                     std::move(fetch), std::move(load));
    refresher_->setPasswords(
        [this](const CalendarSubscription& calendar) { return passwordOf(calendar.id); });
    connect(refresher_.get(), &CalendarRefresher::fetchFailed, this,
            [this](const QString& name, const QString& reason) {
                const auto held = refresher_->calendarOf(sync_->calendarId());
                if (held && held->name == name.toStdString()) {
                    showNotice("The reminders could not be synced with \"" + held->name + "\"",
                               {reason.toStdString(), "Changes made meanwhile are sent at the next sync."});
                    return;
                }
                showNotice("Calendar \"" + name.toStdString() + "\" could not be fetched",
                           {reason.toStdString(), "Its events as last fetched stay shown."});
            });
    connect(refresher_.get(), &CalendarRefresher::refreshEnded, this, [this](const QString& id) {
        if (sync_->holds(id.toStdString())) syncEnded();
    });
}

AppCalendars::~AppCalendars() {
    delete window_.data();
    // The calendar window may outlive the events it was handed.
    if (windows_) windows_->setCalendarEvents(nullptr);
}

std::string AppCalendars::passwordOf(const std::string& id) {
    // Read once per run: the keyring answers through an event loop of its own.
    if (const auto known = passwords_.find(id); known != passwords_.end()) return known->second;
    std::string password;
    if (vault_) {
        Result<std::optional<std::string>> read = vault_->read(id);
        if (!read)
            qWarning("tavrin: %s", read.message().c_str());
        else
            password = read->value_or("");
    }
    passwords_[id] = password;
    return password;
}

void AppCalendars::start(ReminderWindows& windows, QWidget& clock) {
    if (windows_) return;  // started already
    clock_ = &clock;
    windows_ = &windows;
    windows.setCalendarEvents(refresher_.get());
    connect(refresher_.get(), &CalendarRefresher::eventsChanged, this, [this, &windows] {
        windows.calendarEventsChanged();
        updateToolTip();
    });
    const Result<CalendarListReading> list =
        readCalendarListReporting(app_.store, app_.settings.SettingsRoot);
    if (!list) {
        qWarning("tavrin: %s", list.message().c_str());
        return;
    }
    for (const std::string& skipped : list->skipped) qWarning("tavrin: %s", skipped.c_str());
    refresher_->setRefreshMinutes(app_.settings.CalendarRefreshMinutes);
    refresher_->setCalendars(list->calendars);
    sleptSeconds_ = secondsAsleep();
}

void AppCalendars::tick() {
    const std::int64_t now = app_.clock.unixMillis() / 1000;
    EventNoticeCheck due =
        notices_.check(refresher_->events(), now, app_.settings.EventNoticeMinutes, refresher_->eventZones());
    for (const EventNotice& notice : due.notices) showNotice(notice.title, notice.lines);
    if (due.save) noticeFailures_.note(*due.save);
    // The setting may have changed in the preferences.
    refresher_->setRefreshMinutes(app_.settings.CalendarRefreshMinutes);
    const std::int64_t slept = secondsAsleep();
    if (sleptSeconds_ >= 0 && slept - sleptSeconds_ >= kSleepWorthAFetch) refresher_->resumed();
    sleptSeconds_ = slept;
    followSync();
    updateToolTip();
}

void AppCalendars::followSync() {
    if (!windows_) return;  // not started
    const std::int64_t now = app_.clock.unixMillis() / 1000;
    if (const std::optional<std::string> before =
            sync_->follow(app_.settings.SyncCalendar, app_.settings.DateFormat, now)) {
        // The calendar given up shows its events again; the one chosen syncs at once.
        refresher_->refresh(*before);
        refresher_->refresh(app_.settings.SyncCalendar);
    }
    // The file is looked at once a minute, on the tick that runs anyway: a change by a window,
    // tavrinctl or a hand edit goes to the server within a minute, and no change costs nothing more.
    if (std::exchange(syncCheckedMinute_, now / 60) == now / 60) return;
    const std::optional<CalendarSubscription> held = refresher_->calendarOf(sync_->calendarId());
    if (held && held->enabled && !refresher_->fetching(held->id) && sync_->fileChanged())
        refresher_->refresh(held->id);
}

void AppCalendars::syncEnded() {
    // The day list, the calendar and the due check see the reminders as the server left them.
    const Result<bool> reloaded = reloadRemindersIfChanged(app_.reminders, app_.paths.reminderFile());
    if (!reloaded) qWarning("tavrin: %s", reloaded.message().c_str());
    if (reloaded.valueOr(false) && windows_) windows_->remindersChanged();
    const std::optional<SyncReport> report = sync_->takeReport();
    if (!report) return;  // failed: the refresher says why
    std::vector<std::string> lines;
    for (const std::string& notice : report->notices)
        if (syncNoticesShown_.insert(notice).second) lines.push_back(notice);
    if (lines.empty()) return;
    const auto held = refresher_->calendarOf(sync_->calendarId());
    showNotice("Reminders synced with \"" + (held ? held->name : sync_->calendarId()) + "\"", lines);
}

void AppCalendars::updateToolTip() {
    if (!clock_) return;
    const QString text = QString::fromStdString(refresher_->nextEventText(app_.clock.unixMillis() / 1000));
    if (clock_->toolTip() != text) clock_->setToolTip(text);
}

void AppCalendars::showNotice(const std::string& title, const std::vector<std::string>& lines) {
    std::array<std::string, kBalloonLineSlots> shown{};
    const std::vector<std::string> fitted = brokenToFit(lines);
    for (std::size_t i = 0; i < fitted.size() && i < shown.size(); ++i) shown[i] = fitted[i];
    showBalloonAboveClock(clockRect_ ? clockRect_() : ClockPlace{}, title, shown, "i");
}

frmCalendars* AppCalendars::showCalendars(CommonDialogs& dialogs) {
    if (!window_) {
        CalendarAccess access;
        const std::string cacheDir = app_.paths.calendarCacheDir();
        access.discover = [cacheDir](const std::string& address, const std::string& user,
                                     const std::string& password) {
            return CalendarFetcher(CalendarCache(cacheDir)).discoverCalendars(address, user, password);
        };
        access.storePassword = [this](const std::string& id, const std::string& password) -> Result<> {
            if (!vault_) return Result<>::failure("no password vault is at hand");
            Result<> stored = vault_->store(id, password);
            if (!stored) return stored;
            passwords_[id] = password;
            // Where the password went instead of the keyring is told once a run, not at every calendar.
            if (!stored.message().empty() && std::exchange(vaultNoteTold_, true)) return Result<>::success();
            return stored;
        };
        access.forgetPassword = [this](const std::string& id) -> Result<> {
            passwords_.erase(id);
            return vault_ ? vault_->forget(id) : Result<>::success();
        };
        access.forgetCache = [cacheDir](const std::string& id) { return CalendarCache(cacheDir).remove(id); };
        window_ = new frmCalendars(app_, *refresher_, dialogs, std::move(access));
        centreOnScreen(*window_);
    }
    bringUp(*window_);
    return window_;
}

}  // namespace tavrin
