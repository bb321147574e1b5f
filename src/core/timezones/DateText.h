#pragma once
// Support for readDateText (declared in FormatPattern.h): the day-month-year order of a date pattern.
#include <array>
#include <string_view>

namespace tavrin {

// The order in which a pattern writes the day ('d'), the month ('m') and the year ('y'): "dd/mm/yy"
// gives d, m, y. Fields the pattern lacks take their place from the month/day/year order, so an empty
// pattern, or one without any date field, gives m, d, y.
std::array<char, 3> dateOrderOf(std::string_view pattern);

}  // namespace tavrin
