#include "core/timezones/DateTime.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

DateTime DateTime::fromFields(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                              std::int64_t minute, std::int64_t second) {
    // Months carry into years first, so that the day count below starts from a real month.
    std::int64_t m0 = month - 1;
    std::int64_t yearCarry = m0 >= 0 ? m0 / 12 : -((-m0 + 11) / 12);
    year += yearCarry;
    m0 -= yearCarry * 12;
    const std::int64_t firstOfMonth = daysFromCivil(year, static_cast<unsigned>(m0 + 1), 1) - kOriginUnixDays;
    return fromSerial(firstOfMonth + day - 1, hour * 3600 + minute * 60 + second);
}

DateTime DateTime::fromOleDate(double value) {
    // The whole part counts days, the fraction is always the time after midnight of that day, even
    // for negative values: -1.25 is 1899-12-29 06:00.
    const double whole = std::trunc(value);
    const double frac = std::fabs(value - whole);
    const auto secs = static_cast<std::int64_t>(std::llround(frac * 86400.0));
    return fromSerial(static_cast<std::int64_t>(whole), secs);
}

double DateTime::toOleDate() const {
    const double frac = seconds_ / 86400.0;
    if (days_ >= 0) return static_cast<double>(days_) + frac;
    return static_cast<double>(days_) - frac;
}

int DateTime::dayOfYear() const {
    const CivilDate c = civil();
    return static_cast<int>(days_ - fromFields(c.year, 1, 1).days_) + 1;
}

int DateTime::weekOfYear() const {
    const CivilDate c = civil();
    const DateTime firstOfYear = fromFields(c.year, 1, 1);
    return static_cast<int>((days_ - firstOfYear.days_ + firstOfYear.weekday()) / 7) + 1;
}

std::optional<DateTime> DateTime::fromIsoText(std::string_view text) {
    // Positions of the digits in "YYYY-MM-DD HH:MM:SS"; every other position holds its separator.
    constexpr std::string_view shape = "0000-00-00 00:00:00";
    if (text.size() != shape.size()) return std::nullopt;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (shape[i] == '0' ? !digit : text[i] != shape[i]) return std::nullopt;
    }
    const auto num = [&](std::size_t at, std::size_t len) {
        int v = 0;
        for (std::size_t i = at; i < at + len; ++i) v = v * 10 + (text[i] - '0');
        return v;
    };
    const int y = num(0, 4), mo = num(5, 2), d = num(8, 2), h = num(11, 2), mi = num(14, 2), s = num(17, 2);
    if (y < 100 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59) {
        return std::nullopt;
    }
    return fromFields(y, mo, d, h, mi, s);
}

DateTime DateTime::addMonths(std::int64_t m) const {
    const CivilDate c = civil();
    std::int64_t total = static_cast<std::int64_t>(c.year) * 12 + (c.month - 1) + m;
    const std::int64_t y = total >= 0 ? total / 12 : -((-total + 11) / 12);
    const int month = static_cast<int>(total - y * 12) + 1;
    const int d = std::min(c.day, daysInMonth(static_cast<int>(y), month));
    return fromFields(y, month, d).addSeconds(seconds_);
}

}  // namespace tavrin
