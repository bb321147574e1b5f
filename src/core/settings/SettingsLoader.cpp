#include "core/settings/SettingsLoader.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/base/Text.h"
#include "core/settings/ColourText.h"
#include "core/settings/PanelOffset.h"
#include "core/store/ChangeBatch.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {
namespace {

std::int16_t toInt16(double value) {
    const double r = std::nearbyint(value);  // default rounding mode: halves to even
    if (r > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (r < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(r);
}

}  // namespace

Result<> loadSettings(Store& store, Settings& s, ZoneState& zones, const std::string& buttonFaceColour) {
    s.VersionText = kVersionText;
    for (std::string& zone : zones.ZoneList) zone.clear();

    const Result<KeyHandle> made = makeSettingsKey(store, s.SettingsRoot);
    if (!made) return made.why();
    const KeyHandle key = *made;

    zones.ZoneRoot = kZoneRootNt;

    // The defaults of missing values are written in one rewrite of the store's file, not one each.
    ChangeBatch batch(store, s.SettingsRoot);
    // A value that cannot be read, or whose default cannot be written, loads as empty text; the load
    // goes on and the first such failure is its answer.
    Result<> failed;
    auto read = [&](const char* name, const std::string& fallback) {
        Result<std::string> text = readText(store, key, name, fallback);
        if (!text && failed) failed = text.why();
        return text.valueOr({});
    };
    s.UseSysTZ = leadingNumber(read("UseSysTZ", "1")) != 0;
    s.DateFormat = read("DateFormat", "mm/dd/yy");
    s.TimeFormat = read("TimeFormat", "h:mm AM/PM");
    s.TZFormat = read("TZFormat", "mm/dd/yy h:mm am/pm");
    s.TZSType = static_cast<ZoneSort>(toInt16(leadingNumber(read("TZSType", "1"))));
    s.TZSDir = static_cast<ZoneSortDirection>(toInt16(leadingNumber(read("TZSDir", "0"))));
    // "0" and "1" set the flag; any other number leaves it as it was.
    if (leadingNumber(read("PNDisp", "0")) == 0) s.PNDisp = false;
    if (leadingNumber(read("PNDisp", "0")) == 1) s.PNDisp = true;

    // The machine-value reader ends the name in a blank that is not part of the zone's key name. A
    // machine zone that cannot be read, or that the catalogue does not have, leaves the home zone empty
    // until the clock finds one.
    const Result<std::string> machineZone = readMachineValue(store, kTimeZoneInformationKey, "StandardName");
    zones.StandardName = machineZone.valueOr({});
    zones.HomeZone =
        machineZone
            ? readZone(store, zones.ZoneRoot, machineZone->substr(0, machineZone->size() - 1)).valueOr({})
            : ZoneRecord{};

    if (!s.TimeFormat.empty() && s.TimeFormat.back() == '\0') s.TimeFormat.pop_back();

    s.DForeColor = read("DForeColor", "0");
    s.TForeColor = read("TForeColor", "0");
    s.WForeColor = read("WForeColor", "0");
    s.ColScheme = read("ColScheme", buttonFaceColour);
    for (std::string* colour : {&s.DForeColor, &s.TForeColor, &s.WForeColor, &s.ColScheme})
        *colour = fixLoadedColour(*colour);

    s.BGPicture = readText(store, key, "BGPicture").valueOr({});  // none is the usual: no picture
    s.TimeFont = read("TimeFont", "ARIAL");
    s.DateFont = read("DateFont", "TAHOMA");
    s.TimeSize = read("TimeSize", "8");
    s.DateSize = read("DateSize", "6");
    s.TimeBold = read("TimeBold", "1");
    s.DateBold = read("DateBold", "0");
    s.PanelOffset = panelOffsetFromText(read("PanelOffset", "0"));
    const double snooze = leadingNumber(read("SnoozeMinutes", std::to_string(kDefaultSnoozeMinutes)));
    s.SnoozeMinutes =
        snooze < 1 ? kDefaultSnoozeMinutes : static_cast<int>(std::min<double>(snooze, kMaxSnoozeMinutes));
    const double notifications = leadingNumber(read("Notifications", "0"));
    s.Notifications = notifications == 1 || notifications == 2 ? static_cast<int>(notifications) : 0;
    s.WorkingHours = read("WorkingHours", "09:00-17:00");
    // Minutes typed by hand out of range are held to the nearest that makes sense: a refresh at
    // least once a minute and at most once a day, a notice up to a day ahead.
    s.CalendarRefreshMinutes =
        std::clamp<int>(toInt16(leadingNumber(read("CalendarRefreshMinutes", "15"))), 1, 1440);
    s.EventNoticeMinutes = std::clamp<int>(toInt16(leadingNumber(read("EventNoticeMinutes", "0"))), 0, 1440);
    // None is the usual: the reminders stay on this machine. A missing value is no failure.
    s.SyncCalendar = readText(store, key, "SyncCalendar").valueOr({});
    // Defaults that could not be kept now are written again at the next start; the values in memory
    // are the same either way, so the load goes on.
    if (Result<> kept = batch.commit(); !kept && failed) failed = std::move(kept);

    // No Run key, or no value in it, is no autostart entry.
    if (const Result<KeyHandle> run = openKey(store, s.SettingsRoot, kRunKey, kAllAccess))
        s.RunAtLogon = readValue(store, *run, kRunValueName).ok();
    return failed;
}

std::optional<Root> chooseSettingsRoot(Store& store) {
    for (Root root : {Root::LocalMachine, Root::CurrentUser}) {
        if (openKey(store, root, kSettingsKey, kAllAccess)) return root;
    }
    return std::nullopt;
}

}  // namespace tavrin
