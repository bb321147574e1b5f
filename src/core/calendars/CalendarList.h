#pragma once
// The subscribed calendars, kept in the settings store beside every other setting (plain text; no
// password is ever written there).
//
// Under the settings key, the key "Calendars" holds one subkey per calendar, named by its id, with the
// values Name, Address, Source ("file", "feed" or "caldav"), User, Colour ("#RRGGBB") and Enabled
// ("1" or "0"); its value Order lists the ids, comma-separated, in the user's order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/store/Store.h"

namespace tavrin {

// The key below the settings key that holds the list.
inline constexpr const char* kCalendarsKeyName = "Calendars";

// The list as read, with a reason for each entry that could not be read and was left out. Such an
// entry stays where it is: writing the list removes only calendars that were read and left out.
struct CalendarListReading {
    std::vector<CalendarSubscription> calendars;
    std::vector<std::string> skipped;
};

// The calendars stored under the settings key of `root`, in the user's order. None stored is an
// empty list, not a failure; damaged entries are left out (see readCalendarListReporting for why).
Result<std::vector<CalendarSubscription>> readCalendarList(Store& store, Root root);
Result<CalendarListReading> readCalendarListReporting(Store& store, Root root);

// Replaces the stored list with `calendars` (damaged entries stay, see above). A calendar whose id cannot
// name a key and a file is refused before anything is changed.
Result<> writeCalendarList(Store& store, Root root, const std::vector<CalendarSubscription>& calendars);

// A new id, unlike every id in `taken`: sixteen lower-case hex digits from the system's random source.
std::string newCalendarId(const std::vector<CalendarSubscription>& taken);
// Whether `id` is fit to name a store key and a cache file: 1 to 64 letters, digits, '-' or '_'.
bool isCalendarId(std::string_view id);

// The stored spelling of a source and a colour, and back (nothing for text that is none).
std::string calendarSourceText(CalendarSource source);
std::optional<CalendarSource> calendarSourceFromText(std::string_view text);
std::string calendarColourText(std::uint32_t colour);
std::optional<std::uint32_t> calendarColourFromText(std::string_view text);

}  // namespace tavrin
