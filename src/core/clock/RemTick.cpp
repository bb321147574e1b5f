#include "core/clock/RemTick.h"

#include <utility>

#include "core/clock/ClockTexts.h"
#include "core/settings/Settings.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {

RemTickHooks standardRemTickHooks(AppState& app,
                                  std::function<void(const std::string&, const std::string&)> showTexts,
                                  std::function<void()> checkReminders) {
    RemTickHooks hooks;
    hooks.showTexts = std::move(showTexts);
    hooks.checkReminders = std::move(checkReminders);
    hooks.readStandardName = [&app]() -> Result<std::string> {
        Result<std::string> name = readMachineValue(app.store, kTimeZoneInformationKey, "StandardName");
        if (!name)
            return Failure{"The machine's time zone name (StandardName) cannot be read (" + name.message() +
                           "); the clock keeps the zone it has."};
        return name;
    };
    hooks.refillLocalBias = [&app] {
        fillLocalBias(app.zones, app.paths.zoneinfoDir, app.clock, *app.zones.zoneCache);
    };
    return hooks;
}

AlarmFiring::ZoneClock zoneClockOf(const AppState& app) {
    return [&app](const ZoneRecord& zone, const DateTime& utc) {
        return zoneTimeNow(utc, zone, *app.zones.zoneCache);
    };
}

RemTick::RemTick(AppState& app, AlarmFiring& firing, RemTickHooks hooks)
    : app_(app), firing_(firing), hooks_(std::move(hooks)) {}

Result<> RemTick::tick() {
    refreshTexts();
    if (hooks_.checkReminders) hooks_.checkReminders();
    Result<> zone = noticeZoneChange();
    followZoneUpdates();
    firing_.tick();
    return zone;
}

void RemTick::refreshTexts() {
    if (!hooks_.showTexts) return;
    const ClockTexts texts = clockTextsAt(app_.clock.localNow(), app_.settings);
    hooks_.showTexts(texts.timeText, texts.dateText);
}

void RemTick::followZoneUpdates() {
    // A tz database update replaced zone files: the next questions read them anew, and the machine
    // zone's standard offset may have moved with them.
    if (app_.zones.zoneCache->refresh() > 0 && hooks_.refillLocalBias) hooks_.refillLocalBias();
}

Result<> RemTick::noticeZoneChange() {
    if (!hooks_.readStandardName) return {};
    const Result<std::string> name = hooks_.readStandardName();
    // A passing failure to read is no move to another zone, and must not swap the home zone for the
    // empty record.
    if (!name) return name.why();
    if (*name == app_.zones.StandardName) return {};
    app_.zones.StandardName = *name;
    // The reader's result ends in a blank that is not part of the zone's key name.
    const std::string keyName = name->substr(0, name->size() - 1);
    // A machine zone the catalogue does not have leaves no home zone (the empty record) until it has.
    app_.zones.HomeZone = readZone(app_.store, app_.zones.ZoneRoot, keyName).valueOr({});
    if (hooks_.refillLocalBias) hooks_.refillLocalBias();
    return {};
}

}  // namespace tavrin
