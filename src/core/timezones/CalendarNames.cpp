#include "core/timezones/CalendarNames.h"

#include <cstddef>

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
        if (lowerAscii(name[0]) != lowerAscii(text[0])) continue;  // most names, cheaply
        if (equalsNoCase(text.substr(0, name.size()), name))
            best = {static_cast<int>(i) + firstIndex, name.size()};
    }
}

template <std::size_t N>
using NameList = std::array<std::string, N> CalendarNames::*;

// The longest name of `lists` that `text` starts with, English ones before those of `names`.
template <std::size_t N, std::size_t K>
NameAt longestName(std::string_view text, const CalendarNames& names, const NameList<N> (&lists)[K],
                   int firstIndex) {
    NameAt best;
    const CalendarNames& english = CalendarNames::english();
    for (const NameList<N> list : lists) longestAt(text, english.*list, firstIndex, best);
    if (&names == &english) return best;
    for (const NameList<N> list : lists) longestAt(text, names.*list, firstIndex, best);
    return best;
}

}  // namespace

NameAt monthNameAt(std::string_view text, const CalendarNames& names) {
    static constexpr NameList<12> kLists[] = {&CalendarNames::months, &CalendarNames::monthsShort,
                                              &CalendarNames::monthsAlone, &CalendarNames::monthsAloneShort};
    return longestName(text, names, kLists, 1);
}

NameAt weekdayNameAt(std::string_view text, const CalendarNames& names) {
    static constexpr NameList<7> kLists[] = {&CalendarNames::weekdays, &CalendarNames::weekdaysShort};
    return longestName(text, names, kLists, 0);
}

}  // namespace tavrin
