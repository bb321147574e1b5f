#include "core/settings/SettingsLoader.h"

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

void LoadSettings(Store& store, Settings& s, ZoneState& zones, const std::string& buttonFaceColour) {
    s.VersionText = kVersionText;
    for (std::string& zone : zones.ZoneList) zone.clear();

    KeyHandle maker;
    Disposition disposition = Disposition::None;
    if (store.CreateKey(KeyHandle::rootKey(s.SettingsRoot), kMakerKey, kAllAccess, maker, disposition) !=
        status::kSuccess)
        return;
    if (disposition == Disposition::CreatedNew &&
        store.SetValue(maker, "", ValueType::String, "Quillon") == status::kSuccess)
        store.FlushKey(maker);
    KeyHandle key;
    if (store.CreateKey(maker, "TAVRIN", kAllAccess, key, disposition) != status::kSuccess) {
        store.CloseKey(maker);
        return;
    }

    zones.ZoneRoot = kZoneRootNt;

    // The defaults of missing values are written in one rewrite of the store's file, not one each.
    ChangeBatch batch(store, s.SettingsRoot);
    Status st = status::kSuccess;
    auto read = [&](const char* name, const std::string& fallback) {
        return QueryValue(store, name, st, key, fallback);
    };
    s.UseSysTZ = leadingNumber(read("UseSysTZ", "1")) != 0 ? -1 : 0;
    s.DateFormat = read("DateFormat", "mm/dd/yy");
    s.TimeFormat = read("TimeFormat", "h:mm AM/PM");
    s.TZFormat = read("TZFormat", "mm/dd/yy h:mm am/pm");
    s.TZSType = toInt16(leadingNumber(read("TZSType", "1")));
    s.TZSDir = toInt16(leadingNumber(read("TZSDir", "0")));
    // "0" and "1" set the flag; any other number leaves it as it was.
    if (leadingNumber(read("PNDisp", "0")) == 0) s.PNDisp = false;
    if (leadingNumber(read("PNDisp", "0")) == 1) s.PNDisp = true;

    zones.StandardName = ReadMachineValue(store, kTimeZoneInformationKey, "StandardName");
    zones.HomeZone = readZone(
        store, zones.ZoneRoot,
        zones.StandardName.substr(0, zones.StandardName.empty() ? 0 : zones.StandardName.size() - 1));

    if (!s.TimeFormat.empty() && s.TimeFormat.back() == '\0') s.TimeFormat.pop_back();

    s.DForeColor = read("DForeColor", "0");
    s.TForeColor = read("TForeColor", "0");
    s.WForeColor = read("WForeColor", "0");
    s.ColScheme = read("ColScheme", buttonFaceColour);
    for (std::string* colour : {&s.DForeColor, &s.TForeColor, &s.WForeColor, &s.ColScheme})
        *colour = fixLoadedColour(*colour);

    s.BGPicture = read("BGPicture", "");
    s.TimeFont = read("TimeFont", "ARIAL");
    s.DateFont = read("DateFont", "TAHOMA");
    s.TimeSize = read("TimeSize", "8");
    s.DateSize = read("DateSize", "6");
    s.TimeBold = read("TimeBold", "1");
    s.DateBold = read("DateBold", "0");
    s.PanelOffset = panelOffsetFromText(read("PanelOffset", "0"));
    batch.commit();

    store.CloseKey(maker);
    store.CloseKey(key);

    KeyHandle run;
    if (store.OpenKey(KeyHandle::rootKey(s.SettingsRoot), kRunKey, kAllAccess, run) != status::kSuccess)
        return;
    std::uint32_t size = 0;
    ValueType type = ValueType::None;
    s.RunAtLogon = store.QueryValueInfo(run, kRunValueName, size, type) == status::kSuccess;
    store.CloseKey(run);
}

std::optional<Root> chooseSettingsRoot(Store& store) {
    for (Root root : {Root::LocalMachine, Root::CurrentUser}) {
        KeyHandle key;
        if (store.OpenKey(KeyHandle::rootKey(root), kSettingsKey, kAllAccess, key) == status::kSuccess) {
            store.CloseKey(key);
            return root;
        }
    }
    return std::nullopt;
}

}  // namespace tavrin
