#pragma once
// English month and weekday names, written by the formatter and recognised by the date reader.
#include <array>
#include <string_view>

namespace tavrin {

inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// 0 = Sunday, as DateTime::weekday counts.
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

}  // namespace tavrin
