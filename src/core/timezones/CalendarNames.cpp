#include "core/timezones/CalendarNames.h"

#include <cstddef>
#include <initializer_list>

#include "core/base/Text.h"

namespace tavrin {

const CalendarNames& CalendarNames::english() {
    static const CalendarNames names = [] {
        CalendarNames n;
        for (std::size_t d = 0; d < kWeekdayNames.size(); ++d) {
            n.weekdays[d] = kWeekdayNames[d];
            n.weekdaysShort[d] = kWeekdayNames[d].substr(0, 3);
        }
        for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
            n.months[m] = n.monthsAlone[m] = kMonthNames[m];
            n.monthsShort[m] = n.monthsAloneShort[m] = kMonthNames[m].substr(0, 3);
        }
        return n;
    }();
    return names;
}

namespace {

template <std::size_t N>
void longestAt(std::string_view text, const std::array<std::string, N>& list, int firstIndex, NameAt& best) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::string& name = list[i];
        if (name.size() <= best.length || name.size() > text.size()) continue;
        if (equalsNoCase(text.substr(0, name.size()), name))
            best = {static_cast<int>(i) + firstIndex, name.size()};
    }
}

}  // namespace

NameAt monthNameAt(std::string_view text, const CalendarNames& names) {
    NameAt best;
    for (const CalendarNames* n : {&CalendarNames::english(), &names}) {
        longestAt(text, n->months, 1, best);
        longestAt(text, n->monthsShort, 1, best);
        longestAt(text, n->monthsAlone, 1, best);
        longestAt(text, n->monthsAloneShort, 1, best);
    }
    return best;
}

NameAt weekdayNameAt(std::string_view text, const CalendarNames& names) {
    NameAt best;
    for (const CalendarNames* n : {&CalendarNames::english(), &names}) {
        longestAt(text, n->weekdays, 0, best);
        longestAt(text, n->weekdaysShort, 0, best);
    }
    return best;
}

}  // namespace tavrin
