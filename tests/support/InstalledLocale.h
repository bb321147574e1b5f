#pragma once
// The names of a locale the test set-up installs (tools/setup.sh generates de_DE.UTF-8 and
// ja_JP.UTF-8). A missing one fails the test that needs it, saying how to install it, rather than
// letting the test pass on English names.
#include <gtest/gtest.h>

#include <optional>

#include "core/timezones/LocaleNames.h"

namespace tavrin::test {

inline CalendarNames installedLocaleNames(const char* locale) {
    const std::optional<CalendarNames> names = calendarNamesOfLocale(locale);
    if (!names) {
        ADD_FAILURE()
            << "the locale " << locale
            << " is not installed; tools/setup.sh generates it (or enable it in /etc/locale.gen and "
               "run locale-gen)";
        return CalendarNames::english();
    }
    return *names;
}

}  // namespace tavrin::test
