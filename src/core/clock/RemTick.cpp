#include "core/clock/RemTick.h"

#include <exception>
#include <utility>

#include "core/clock/ClockTexts.h"
#include "core/settings/Settings.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {

namespace {

template <typename Step>
void guarded(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
        // A failed step is skipped; the next tick tries again.
    }
}

}  // namespace

RemTickHooks standardRemTickHooks(AppState& app,
                                  std::function<void(const std::string&, const std::string&)> showTexts,
                                  std::function<void()> checkReminders) {
    RemTickHooks hooks;
    hooks.showTexts = std::move(showTexts);
    hooks.checkReminders = std::move(checkReminders);
    hooks.readStandardName = [&app]() -> std::optional<std::string> {
        return ReadMachineValue(app.store, kTimeZoneInformationKey, "StandardName");
    };
    hooks.refillLocalBias = [&app] {
        fillLocalBias(app.zones, app.paths.zoneinfoDir, app.clock, *app.zones.zoneCache);
    };
    return hooks;
}

AlarmFiring::ZoneClock zoneClockOf(const AppState& app) {
    return
        [&app](const ZoneRecord& zone) { return ZoneTimeNow(UtcNow(app.clock), zone, *app.zones.zoneCache); };
}

RemTick::RemTick(AppState& app, AlarmFiring& firing, RemTickHooks hooks)
    : app_(app), firing_(firing), hooks_(std::move(hooks)) {}

void RemTick::tick() {
    guarded([this] { refreshTexts(); });
    guarded([this] {
        if (hooks_.checkReminders) hooks_.checkReminders();
    });
    guarded([this] { noticeZoneChange(); });
    guarded([this] { followZoneUpdates(); });
    guarded([this] { firing_.tick(); });
}

void RemTick::refreshTexts() {
    if (!hooks_.showTexts) return;
    const ClockTexts texts = clockTextsAt(app_.clock.localNow(), app_.settings);
    hooks_.showTexts(texts.TimeText, texts.DateText);
}

void RemTick::followZoneUpdates() {
    // A tz database update replaced zone files: the next questions read them anew, and the machine
    // zone's standard offset may have moved with them.
    if (app_.zones.zoneCache->refresh() > 0 && hooks_.refillLocalBias) hooks_.refillLocalBias();
}

void RemTick::noticeZoneChange() {
    if (!hooks_.readStandardName) return;
    const std::optional<std::string> name = hooks_.readStandardName();
    // The reader gives a lone blank when it cannot read the value: a passing failure to read is no
    // move to another zone, and must not swap the home zone for the empty record.
    if (!name || name->find_first_not_of(' ') == std::string::npos || *name == app_.zones.StandardName)
        return;
    app_.zones.StandardName = *name;
    // The reader's result ends in a blank that is not part of the zone's key name.
    const std::string keyName = name->empty() ? std::string() : name->substr(0, name->size() - 1);
    app_.zones.HomeZone = readZone(app_.store, app_.zones.ZoneRoot, keyName);
    if (hooks_.refillLocalBias) hooks_.refillLocalBias();
}

}  // namespace tavrin
