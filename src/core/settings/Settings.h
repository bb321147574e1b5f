#pragma once
// The settings model: one member per stored value, as the program holds it while it runs.
#include <cstdint>
#include <string>

#include "core/store/KeyNames.h"
#include "core/store/Store.h"
#include "core/timezones/CalendarNames.h"

namespace tavrin {

// "TZSType", how the menu sorts the world zones, and "TZSDir", which way. A number typed by hand that
// is neither code is kept as it is (within 16 bits) and sorts nothing.
enum class ZoneSort : std::int16_t { Alphabetically = 0, ByTime = 1 };
enum class ZoneSortDirection : std::int16_t { Ascending = 0, Descending = 1 };

// "SnoozeMinutes": how long "Snooze" puts off a ringing alarm or warning; a stored number below one
// minute is the default, one above a day is a day.
inline constexpr int kDefaultSnoozeMinutes = 5;
inline constexpr int kMaxSnoozeMinutes = 1440;

struct Settings {
    // Stored values, as text unless the program holds them as numbers, flags or codes.
    bool UseSysTZ = false;
    std::string DateFormat;
    std::string TimeFormat;
    std::string TZFormat;
    ZoneSort TZSType = ZoneSort::Alphabetically;
    ZoneSortDirection TZSDir = ZoneSortDirection::Ascending;
    bool PNDisp = false;
    std::string DForeColor;
    std::string TForeColor;
    std::string WForeColor;
    std::string ColScheme;
    std::string BGPicture;
    std::string TimeFont;
    std::string DateFont;
    std::string TimeSize;
    std::string DateSize;
    std::string TimeBold;
    std::string DateBold;
    int PanelOffset = 0;  // the clock's distance from the panel's end, in pixels
    int SnoozeMinutes = kDefaultSnoozeMinutes;
    // "Notifications": 0 announcements in the balloon only, 1 in the balloon and the desktop's
    // notifications, 2 in the desktop's only (the balloon where no notification server answers).
    int Notifications = 0;
    std::string WorkingHours;         // "09:00-17:00": the span the menu marks in each zone
    int CalendarRefreshMinutes = 15;  // how often subscribed calendars are fetched again, 1..1440
    int EventNoticeMinutes = 0;       // announce every timed event this long before it starts; 0 is off
    // The id of the subscribed CalDAV calendar that holds the reminders, shared with other machines and
    // phones through it; "" keeps them at home only.
    std::string SyncCalendar;

    // Derived and program-held values.
    std::string VersionText;
    bool RunAtLogon = false;
    Root SettingsRoot = Root::LocalMachine;
    std::string CustomSchemeColour;
    // The names of weekdays and months in the user's language, for the text the three patterns
    // above write for the user to read; chosen from the environment at start, not stored.
    CalendarNames calendarNames = CalendarNames::english();
};

}  // namespace tavrin
