#pragma once
// Support for readDateText (declared in FormatPattern.h): the day-month-year order of a date pattern,
// and the year a number of few digits stands for.
#include <array>
#include <string_view>

namespace tavrin {

// The order in which a pattern writes the day ('d'), the month ('m') and the year ('y'): "dd/mm/yy"
// gives d, m, y. Fields the pattern lacks take their place from the month/day/year order, so an empty
// pattern, or one without any date field, gives m, d, y.
std::array<char, 3> dateOrderOf(std::string_view pattern);

// Two-digit years 00 to 29 are 2000 to 2029 and 30 to 99 are 1930 to 1999; a single digit counts as
// a two-digit year ("3/7/5" is 2005, as its writer means). Three and four digits are the year itself.
constexpr int yearOfDigits(int value, int digits) {
    if (digits <= 2) return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

}  // namespace tavrin
