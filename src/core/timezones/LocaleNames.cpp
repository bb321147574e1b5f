#include "core/timezones/LocaleNames.h"

#include <langinfo.h>
#include <locale.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "core/base/Text.h"

namespace tavrin {
namespace {

// Longer than any language's name of a month; more is broken locale data, not a name.
constexpr std::size_t kLongestName = 64;

class TimeLocale {
  public:
    explicit TimeLocale(const char* name) : loc_(::newlocale(LC_TIME_MASK, name, static_cast<locale_t>(0))) {}
    ~TimeLocale() {
        if (loc_ != static_cast<locale_t>(0)) ::freelocale(loc_);
    }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    bool installed() const { return loc_ != static_cast<locale_t>(0); }

    // Whether the names are UTF-8, the text the windows and the terminal show. Elsewhere than in
    // glibc only plain ASCII names count as such.
    bool utf8() const {
#ifdef __GLIBC__
        return std::string_view(::nl_langinfo_l(_NL_TIME_CODESET, loc_)) == "UTF-8";
#else
        return false;
#endif
    }

    // One name, without the blanks some locales pad short names with (" 1月"); false when the
    // locale has no usable text for it.
    bool read(nl_item item, bool utf8, std::string& out) const {
        const std::string_view name = trim(::nl_langinfo_l(item, loc_));
        if (name.empty() || name.size() > kLongestName) return false;
        for (const char c : name) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7f || (byte >= 0x80 && !utf8)) return false;
        }
        out = name;
        return true;
    }

  private:
    locale_t loc_;
};

}  // namespace

std::optional<CalendarNames> calendarNamesOfLocale(const char* locale) {
    const TimeLocale loc(locale);
    if (!loc.installed()) return std::nullopt;
    const bool utf8 = loc.utf8();
    CalendarNames n;
    bool ok = true;
    for (int d = 0; d < 7; ++d) {
        const auto i = static_cast<std::size_t>(d);
        ok = ok && loc.read(static_cast<nl_item>(DAY_1 + d), utf8, n.weekdays[i]) &&
             loc.read(static_cast<nl_item>(ABDAY_1 + d), utf8, n.weekdaysShort[i]);
    }
    for (int m = 0; m < 12; ++m) {
        const auto i = static_cast<std::size_t>(m);
        ok = ok && loc.read(static_cast<nl_item>(MON_1 + m), utf8, n.months[i]) &&
             loc.read(static_cast<nl_item>(ABMON_1 + m), utf8, n.monthsShort[i]);
        // The standing-alone forms, where the C library knows them; a language without them names a
        // month the same way everywhere.
#ifdef ALTMON_1
        if (!loc.read(static_cast<nl_item>(ALTMON_1 + m), utf8, n.monthsAlone[i]))
            n.monthsAlone[i] = n.months[i];
        if (!loc.read(static_cast<nl_item>(_NL_ABALTMON_1 + m), utf8, n.monthsAloneShort[i]))
            n.monthsAloneShort[i] = n.monthsShort[i];
#else
        n.monthsAlone[i] = n.months[i];
        n.monthsAloneShort[i] = n.monthsShort[i];
#endif
    }
    if (!ok) return std::nullopt;
    return n;
}

CalendarNames calendarNamesFromEnvironment() {
    if (std::optional<CalendarNames> names = calendarNamesOfLocale("")) return *std::move(names);
    return CalendarNames::english();
}

}  // namespace tavrin
