#include "timezones/DateTime.h"

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

DateTime DateTime::addMonths(std::int64_t m) const {
    const CivilDate c = civil();
    std::int64_t total = static_cast<std::int64_t>(c.year) * 12 + (c.month - 1) + m;
    const std::int64_t y = total >= 0 ? total / 12 : -((-total + 11) / 12);
    const int month = static_cast<int>(total - y * 12) + 1;
    const int d = std::min(c.day, daysInMonth(static_cast<int>(y), month));
    return fromFields(y, month, d).addSeconds(seconds_);
}

}  // namespace tavrin
