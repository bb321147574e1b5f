#pragma once
// The names of weekdays and months that patterns write ("ddd", "dddd", "mmm", "mmmm") and the date
// reader knows. Stored and compared text holds the English names, which every reader accepts; text
// shown to the user holds the names of the user's own language (LocaleNames.h), chosen once at start.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// 0 = Sunday, as DateTime::weekday counts.
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

struct CalendarNames {
    std::array<std::string, 7> weekdays;  // 0 = Sunday
    std::array<std::string, 7> weekdaysShort;
    // Months as they are written beside a day ("7. Dezember"). Some languages name a month standing
    // alone ("grudzień 2026") otherwise than beside a day ("7 grudnia 2026").
    std::array<std::string, 12> months;
    std::array<std::string, 12> monthsShort;
    std::array<std::string, 12> monthsAlone;
    std::array<std::string, 12> monthsAloneShort;

    // "Monday", "Mon", "March", "Mar": the names of stored text.
    static const CalendarNames& english();

    friend bool operator==(const CalendarNames&, const CalendarNames&) = default;
};

// A name found at the start of a text: what it names and how many bytes it takes.
struct NameAt {
    int index = 0;           // the month 1 to 12, or the weekday 0 (Sunday) to 6
    std::size_t length = 0;  // 0 when no name was found
};
// The longest month name, whole or short, in English or in any form of `names`, that `text` starts
// with, ASCII case ignored; the English reading wins a tie.
NameAt monthNameAt(std::string_view text, const CalendarNames& names);
// The same for weekday names.
NameAt weekdayNameAt(std::string_view text, const CalendarNames& names);

}  // namespace tavrin
