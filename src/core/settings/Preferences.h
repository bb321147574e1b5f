#pragma once
// The preferences dialog's rules: what its controls show when it opens, the settings that some
// controls change the moment they are used, "Apply" (putSettings) and "OK" (saveSettings).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/settings/Settings.h"
#include "core/settings/WorldZoneList.h"
#include "core/store/Store.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

// The scheme list's items, in their order: 2k/XP Standard, the three picture schemes, the desktop's
// own face colour, and a colour of the user's.
const std::vector<std::string>& schemeNames();
inline constexpr int kNinexScheme = 4;
inline constexpr int kCustomScheme = 5;

// The items of the lists the dialog offers.
const std::vector<std::string>& menuFormats();
const std::vector<std::string>& fontSizes();

enum class FontTarget { None = 0, Time = 1, Date = 2 };

// A calendar the reminders can be synced with: its id and the name the user knows it by.
struct SyncChoice {
    std::string id;
    std::string name;
    friend bool operator==(const SyncChoice&, const SyncChoice&) = default;
};

// What the dialog's controls hold; the defaults are what they show before the dialog opens.
struct PrefsControls {
    std::string dateFormat = "mm/dd/yy";
    std::string timeFormat = "HH:MM AM/PM";
    std::string menuFormat = "mm/dd/yy hh:mm am/pm";
    std::array<std::string, 2> sortTexts{"Sort Method", "Sort Direction"};  // the method, the direction
    bool offsetsInFront = false;
    std::array<std::uint32_t, 3> swatchColours{};  // "Date Color", "Time Color", "Menu Color"
    std::uint32_t schemeColour = 0;
    std::string schemeText = "Preset Color Schemes";
    std::string fontTargetText = "Time Display";  // the font the font controls show
    std::string fontName;
    std::string fontSize;
    bool bold = false;
    bool fontsEnabled = false;  // while false, the three font controls change nothing
    std::string picture;        // the background picture
    bool startAtLogon = false;
    int panelOffset = 0;  // the clock's distance from the panel's end, in pixels
    int snoozeMinutes = kDefaultSnoozeMinutes;
    int notifications = 0;  // the "Notifications" choice's index
    std::string workingHours = "09:00-17:00";
    // "Sync Reminders:": "Off" and the calendars that can hold the reminders, offered by the caller
    // before the dialog opens; the id of the one chosen ("" for "Off").
    std::vector<SyncChoice> syncChoices;
    std::string syncCalendar;
};

class Preferences {
  public:
    // `buttonFace` gives the colour text of the desktop's face colour at the moment it is asked.
    Preferences(Settings& settings, std::function<std::string()> buttonFace);

    // The opening: every control from the settings, the font controls on the time font. A sync
    // calendar that is no longer among the choices (its subscription was removed) shows as "Off". A stored
    // colour that is none of the presets shows as "Custom" without asking for a colour, and becomes
    // the custom colour that "OK" keeps.
    void open();

    const PrefsControls& controls() const { return c_; }
    // The controls whose changes wait for "Apply" or "OK" (formats, offsets box, picture, startup)
    // are written here directly.
    PrefsControls& controls() { return c_; }
    FontTarget fontTarget() const { return target_; }

    // "Time Display" and "Date Display" show and edit that font; any other text leaves the
    // font controls disabled.
    void setFontTarget(const std::string& text);
    void setFontName(const std::string& text);
    void setFontSize(const std::string& text);
    void setBold(bool checked);
    // The sort method (part 0) or direction (1): a known text sets "TZSType" or "TZSDir" at once; others
    // leave them.
    void setSortText(int part, const std::string& text);
    // A colour confirmed for swatch 0 (date), 1 (time) or 2 (menu).
    void pickSwatchColour(int swatch, std::uint32_t colour);
    // The scheme list's text; true when it is "Custom", so the colour dialog is to be asked.
    bool setSchemeText(const std::string& text);
    // The colour confirmed for "Custom": the scheme colour in memory at once.
    void pickCustomColour(std::uint32_t colour);

    // "Apply" and the first step of "OK": the formats, sorting, offsets, picture and preset scheme
    // into the settings in memory.
    void putSettings();
    // The rest of "OK": every setting and the zone list into the store as one change, then the
    // autostart entry (`programPath` is what it starts); afterwards the zone list in memory holds the
    // zones saved (slots 1 up). Reloading the scheme pictures is the caller's. The settings are
    // either all in the store or, when the store refused them, none: then it fails, and the dialog
    // stays open with everything as the user left it. Settings kept with an autostart entry that
    // could not be changed are a success with a note saying so.
    Result<> saveSettings(Store& store, ZoneState& zones, const WorldZoneList& list,
                          const std::string& programPath);

  private:
    void showFont();
    int schemeIndex() const;

    Settings& s_;
    std::function<std::string()> buttonFace_;
    PrefsControls c_;
    FontTarget target_ = FontTarget::None;
};

}  // namespace tavrin
