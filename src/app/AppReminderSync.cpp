#include "app/AppReminderSync.h"

#include <memory>
#include <utility>

#include "core/timezones/MachineZone.h"
#include "platform/CalDavSyncServer.h"

namespace tavrin {

AppReminderSync::AppReminderSync(std::string reminderFile, std::string zoneinfoDir)
    : reminderFile_(std::move(reminderFile)), zoneinfoDir_(std::move(zoneinfoDir)) {}

std::optional<std::string> AppReminderSync::follow(const std::string& calendarId,
                                                   const std::string& dateFormat, std::int64_t now) {
    const std::lock_guard hold(lock_);
    dateFormat_ = dateFormat;
    now_ = now;
    if (calendarId == calendarId_) return std::nullopt;
    // Another calendar starts from what the file holds, so its first run looks at it whole.
    seen_ = {};
    return std::exchange(calendarId_, calendarId);
}

bool AppReminderSync::holds(const std::string& calendarId) const {
    const std::lock_guard hold(lock_);
    return !calendarId.empty() && calendarId == calendarId_;
}

std::string AppReminderSync::calendarId() const {
    const std::lock_guard hold(lock_);
    return calendarId_;
}

Result<> AppReminderSync::run(const CalendarSubscription& calendar, const std::string& password) {
    ReminderEventContext context;
    {
        const std::lock_guard hold(lock_);
        context.dateFormat = dateFormat_;
        context.now = now_;
    }
    context.zoneinfoDir = zoneinfoDir_;
    context.zoneId = machineZoneId(zoneinfoDir_);
    // The file as it was before the run: a change made while the run goes on is found afterwards.
    const ReminderFileStamp before = ReminderFileStamp::of(reminderFile_, {});
    Result<SyncReport> synced = Failure{};
    ReminderFileStamp seen = before;
    {
        // A table of its own: the clock's table belongs to the window thread, which reloads it after.
        auto table = std::make_unique<ReminderTable>();
        CalDavSyncServer server(calendar.address, calendar.user, password);
        synced = syncReminders(*table, reminderFile_, calendar.address, server, context);
        if (table->fileStamp.known) seen = table->fileStamp;
    }
    const std::lock_guard hold(lock_);
    seen_ = seen;
    if (!synced) {
        report_.reset();
        return synced.why();
    }
    report_ = std::move(*synced);
    return Result<>::success();
}

std::optional<SyncReport> AppReminderSync::takeReport() {
    const std::lock_guard hold(lock_);
    return std::exchange(report_, std::nullopt);
}

bool AppReminderSync::fileChanged() const {
    const std::lock_guard hold(lock_);
    return seen_.known && !seen_.statusMatches(reminderFile_);
}

}  // namespace tavrin
