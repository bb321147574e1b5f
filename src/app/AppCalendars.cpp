#include "app/AppCalendars.h"

#include <QWidget>
#include <ctime>
#include <utility>

#include "core/calendars/CalendarList.h"
#include "core/calendars/PasswordVault.h"
#include "core/calendars/ShownEvents.h"
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
    // Each fetch and load runs on a thread of its own, with a fetcher and zones of its own.
    auto fetch = [cacheDir](const CalendarSubscription& calendar, const std::string& password) -> Result<> {
        const CalendarFetcher fetcher{CalendarCache(cacheDir)};
        const Result<FetchReport> fetched = fetcher.refresh(calendar, password, std::time(nullptr));
        if (!fetched) return fetched.why();
        return Result<>::success();
    };
    auto load = [cacheDir, zoneinfo, userZone](const CalendarSubscription& calendar, std::int64_t from,
                                               std::int64_t to) -> Result<std::vector<CalendarEvent>> {
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
                showNotice("Calendar \"" + name.toStdString() + "\" could not be fetched",
                           {reason.toStdString(), "Its events as last fetched stay shown."});
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
    updateToolTip();
}

void AppCalendars::updateToolTip() {
    if (!clock_) return;
    const QString text = QString::fromStdString(refresher_->nextEventText(app_.clock.unixMillis() / 1000));
    if (clock_->toolTip() != text) clock_->setToolTip(text);
}

void AppCalendars::showNotice(const std::string& title, const std::vector<std::string>& lines) {
    std::array<std::string, kBalloonLineSlots> shown{};
    for (std::size_t i = 0; i < lines.size() && i < shown.size(); ++i) shown[i] = lines[i];
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
