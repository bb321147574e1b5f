#include "core/settings/Preferences.h"

#include <algorithm>
#include <utility>

#include "core/base/Text.h"
#include "core/settings/ColourScheme.h"
#include "core/settings/ColourText.h"
#include "core/settings/PanelOffset.h"
#include "core/settings/SettingsLoader.h"
#include "core/store/ChangeBatch.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/MeetingPlan.h"

namespace tavrin {
namespace {

constexpr const char* kStandardScheme = "C8D0D4";  // 2k/XP Standard

constexpr const char* kTimeDisplay = "Time Display";
constexpr const char* kDateDisplay = "Date Display";

}  // namespace

const std::vector<std::string>& schemeNames() {
    static const std::vector<std::string> names{"2k/XP Standard", "XP Olive Green",   "XP Silver",
                                                "XP Blue",        "'9x/NT4 Standard", "Custom"};
    return names;
}

const std::vector<std::string>& menuFormats() {
    static const std::vector<std::string> formats{"dddd mmm hh:mm am/pm", "dd/mm hh:mm am/pm", "hh:mm am/pm"};
    return formats;
}

const std::vector<std::string>& fontSizes() {
    static const std::vector<std::string> sizes{"6", "8", "10", "12", "14", "16", "18", "20"};
    return sizes;
}

Preferences::Preferences(Settings& settings, std::function<std::string()> buttonFace)
    : s_(settings), buttonFace_(std::move(buttonFace)) {}

void Preferences::open() {
    target_ = FontTarget::None;
    if (s_.TForeColor.empty()) {
        c_.swatchColours = {0, 0, 0};
    } else {
        c_.swatchColours = {colourNumber(s_.DForeColor), colourNumber(s_.TForeColor),
                            colourNumber(s_.WForeColor)};
    }
    c_.schemeColour = colourNumber(s_.ColScheme);
    c_.dateFormat = s_.DateFormat;
    c_.timeFormat = s_.TimeFormat;
    c_.offsetsInFront = !s_.PNDisp;
    c_.startAtLogon = s_.RunAtLogon;
    c_.panelOffset = s_.PanelOffset;
    c_.snoozeMinutes = s_.SnoozeMinutes;
    c_.notifications = s_.Notifications;
    const auto& choices = c_.syncChoices;
    const bool offered = std::any_of(choices.begin(), choices.end(),
                                     [this](const SyncChoice& c) { return c.id == s_.SyncCalendar; });
    c_.syncCalendar = offered ? s_.SyncCalendar : std::string();

    const std::uint32_t scheme = colourNumber(s_.ColScheme);
    const std::pair<const char*, int> presets[] = {
        {kOliveGreenScheme, 1}, {kSilverScheme, 2}, {kBlueScheme, 3}, {kStandardScheme, 0}};
    c_.schemeText = schemeNames()[kCustomScheme];
    bool found = false;
    for (const auto& [colour, index] : presets) {
        if (scheme == colourNumber(colour)) {
            c_.schemeText = schemeNames()[static_cast<std::size_t>(index)];
            found = true;
            break;
        }
    }
    if (!found && scheme == colourNumber(buttonFace_())) {
        c_.schemeText = schemeNames()[kNinexScheme];
        found = true;
    }
    // The colour shown as "Custom" is the custom colour: "OK" keeps it rather than one picked long
    // ago, or none at all, which would turn the clock black.
    if (!found) s_.CustomSchemeColour = s_.ColScheme;

    c_.menuFormat = s_.TZFormat;
    c_.workingHours = s_.WorkingHours.empty() ? kDefaultWorkingHours : s_.WorkingHours;
    if (s_.TZSType == ZoneSort::Alphabetically) c_.sortTexts[0] = "Alphabetically";
    if (s_.TZSType == ZoneSort::ByTime) c_.sortTexts[0] = "By Time";
    if (s_.TZSDir == ZoneSortDirection::Ascending) c_.sortTexts[1] = "Ascending";
    if (s_.TZSDir == ZoneSortDirection::Descending) c_.sortTexts[1] = "Descending";
    c_.picture = s_.BGPicture;

    target_ = FontTarget::Time;
    c_.fontsEnabled = false;
    setFontTarget(kTimeDisplay);
}

void Preferences::showFont() {
    const bool time = target_ == FontTarget::Time;
    c_.fontName = time ? s_.TimeFont : s_.DateFont;
    c_.fontSize = time ? s_.TimeSize : s_.DateSize;
    c_.bold = leadingNumber(time ? s_.TimeBold : s_.DateBold) != 0;
}

void Preferences::setFontTarget(const std::string& text) {
    c_.fontsEnabled = false;
    c_.fontTargetText = text;
    if (text == kTimeDisplay) {
        target_ = FontTarget::Time;
    } else if (text == kDateDisplay) {
        target_ = FontTarget::Date;
    } else {
        return;
    }
    showFont();
    c_.fontsEnabled = true;
}

void Preferences::setFontName(const std::string& text) {
    c_.fontName = text;
    if (!c_.fontsEnabled) return;
    if (target_ == FontTarget::Time) s_.TimeFont = text;
    if (target_ == FontTarget::Date) s_.DateFont = text;
}

void Preferences::setFontSize(const std::string& text) {
    c_.fontSize = text;
    if (!c_.fontsEnabled) return;
    if (target_ == FontTarget::Time) s_.TimeSize = text;
    if (target_ == FontTarget::Date) s_.DateSize = text;
}

void Preferences::setBold(bool checked) {
    c_.bold = checked;
    if (!c_.fontsEnabled) return;
    if (target_ == FontTarget::Time) s_.TimeBold = checked ? "1" : "0";
    if (target_ == FontTarget::Date) s_.DateBold = checked ? "1" : "0";
}

void Preferences::setSortText(int part, const std::string& text) {
    if (part < 0 || part > 1) return;
    c_.sortTexts[static_cast<std::size_t>(part)] = text;
    if (c_.sortTexts[0] == "Alphabetically") s_.TZSType = ZoneSort::Alphabetically;
    if (c_.sortTexts[0] == "By Time") s_.TZSType = ZoneSort::ByTime;
    if (c_.sortTexts[1] == "Ascending") s_.TZSDir = ZoneSortDirection::Ascending;
    if (c_.sortTexts[1] == "Descending") s_.TZSDir = ZoneSortDirection::Descending;
}

void Preferences::pickSwatchColour(int swatch, std::uint32_t colour) {
    std::string* settings[] = {&s_.DForeColor, &s_.TForeColor, &s_.WForeColor};
    if (swatch < 0 || swatch > 2) return;
    c_.swatchColours[static_cast<std::size_t>(swatch)] = colour & 0xFFFFFF;
    *settings[swatch] = pickedColourText(colour);
}

bool Preferences::setSchemeText(const std::string& text) {
    c_.schemeText = text;
    return text == schemeNames()[kCustomScheme];
}

void Preferences::pickCustomColour(std::uint32_t colour) {
    s_.CustomSchemeColour = pickedColourText(colour);
    s_.ColScheme = s_.CustomSchemeColour;
    c_.schemeColour = colourNumber(s_.ColScheme);
}

int Preferences::schemeIndex() const {
    const auto& names = schemeNames();
    const auto at = std::find(names.begin(), names.end(), c_.schemeText);
    return at == names.end() ? -1 : static_cast<int>(at - names.begin());
}

void Preferences::putSettings() {
    s_.DateFormat = c_.dateFormat;
    s_.TimeFormat = c_.timeFormat;
    s_.TZFormat = c_.menuFormat;
    // Hours that do not read are refused by "OK", with the reason; until then the menu keeps the last.
    if (const Result<WorkingHours> hours = readWorkingHours(c_.workingHours))
        s_.WorkingHours = workingHoursText(*hours);
    setSortText(0, c_.sortTexts[0]);
    s_.PNDisp = !c_.offsetsInFront;
    s_.BGPicture = c_.picture;
    s_.PanelOffset = std::clamp(c_.panelOffset, 0, kMaxPanelOffset);
    s_.SnoozeMinutes = std::clamp(c_.snoozeMinutes, 1, kMaxSnoozeMinutes);
    s_.Notifications = std::clamp(c_.notifications, 0, 2);
    s_.SyncCalendar = c_.syncCalendar;
    const char* presets[] = {kStandardScheme, kOliveGreenScheme, kSilverScheme, kBlueScheme};
    const int scheme = schemeIndex();
    if (scheme >= 0 && scheme < kNinexScheme) s_.ColScheme = presets[scheme];
    if (scheme == kNinexScheme) s_.ColScheme = buttonFace_();
    c_.schemeColour = colourNumber(s_.ColScheme);
}

Result<> Preferences::saveSettings(Store& store, ZoneState& zones, const WorldZoneList& list,
                                   const std::string& programPath) {
    if (const Result<WorkingHours> hours = readWorkingHours(c_.workingHours); !hours) return hours.why();
    Result<> failed;
    auto keep = [&](Result<> done) {
        if (failed && !done) failed = std::move(done);
    };
    {
        // Some forty values, one rewrite of the settings file.
        ChangeBatch batch(store, s_.SettingsRoot);
        const Result<KeyHandle> key = makeSettingsKey(store, s_.SettingsRoot);
        keep(key ? Result<>() : key.why());
        if (key) {
            keep(list.save(store, *key));
            auto write = [&](const char* name, const std::string& text) {
                keep(writeText(store, *key, name, text));
            };
            write("DateFormat", s_.DateFormat);
            write("TimeFormat", s_.TimeFormat);
            write("TZFormat", s_.TZFormat);
            write("TZSType", std::to_string(static_cast<int>(s_.TZSType)));
            write("TZSDir", std::to_string(static_cast<int>(s_.TZSDir)));
            write("PNDisp", s_.PNDisp ? "1" : "0");
            write("TForeColor", s_.TForeColor);
            write("DForeColor", s_.DForeColor);
            write("WForeColor", s_.WForeColor);
            write("BGPicture", s_.BGPicture);
            write("PanelOffset", std::to_string(s_.PanelOffset));
            write("SnoozeMinutes", std::to_string(s_.SnoozeMinutes));
            write("Notifications", std::to_string(s_.Notifications));
            write("WorkingHours", s_.WorkingHours);
            write("SyncCalendar", s_.SyncCalendar);

            const char* presets[] = {kStandardScheme, kOliveGreenScheme, kSilverScheme, kBlueScheme};
            const int scheme = schemeIndex();
            std::string colour;
            if (scheme >= 0 && scheme < kNinexScheme) colour = presets[scheme];
            if (scheme == kNinexScheme) colour = buttonFace_();
            // A "Custom" never given a colour has nothing to keep.
            if (scheme == kCustomScheme) colour = s_.CustomSchemeColour;
            if (!colour.empty()) {
                Result<> written = writeText(store, *key, "ColScheme", colour);
                if (written) s_.ColScheme = colour;
                keep(std::move(written));
            }

            write("TimeFont", s_.TimeFont);
            write("TimeSize", s_.TimeSize);
            write("TimeBold", s_.TimeBold);
            write("DateFont", s_.DateFont);
            write("DateSize", s_.DateSize);
            write("DateBold", s_.DateBold);
        }
        keep(batch.commit());
    }
    c_.schemeColour = colourNumber(s_.ColScheme);
    if (!failed)
        return Result<>::failure(
            "Your preferences could not be saved: " + failed.message() +
            ".\n\nThey stay in effect until Tavrin ends, and this window stays open so that "
            "you can try again.");

    // Starting at logon: the Run key's "Tavrin" value, which is the autostart entry.
    Result<> autostart;
    if (const Result<KeyHandle> run = openKey(store, s_.SettingsRoot, kRunKey, kAllAccess); !run) {
        autostart = run.why();
    } else if (c_.startAtLogon) {
        autostart = writeText(store, *run, kRunValueName, programPath);
        if (autostart) s_.RunAtLogon = true;
    } else {
        // No entry is what was asked for.
        autostart = deleteValue(store, *run, kRunValueName);
        if (autostart) s_.RunAtLogon = false;
    }
    std::string note;
    if (!autostart)
        note = std::string("There was an error accessing the registry, please report this error!\n\n") +
               (c_.startAtLogon ? "Tavrin could not be set to start when you log in: "
                                : "Tavrin could not be kept from starting when you log in: ") +
               autostart.message() + ".";

    // The list in memory becomes the one just saved, in its order, rather than an empty one: open
    // windows that show a chosen zone, or offer the chosen zones, go on finding them there.
    std::size_t slot = 0;
    for (std::string& name : zones.ZoneList) name.clear();
    for (const ZoneItem& item : list.items())
        if (item.checked && ++slot < zones.ZoneList.size()) zones.ZoneList[slot] = item.keyName;
    return Result<>::success(note);
}

}  // namespace tavrin
