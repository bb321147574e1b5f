#pragma once
// A local calendar date and time to the second: days since 30 December 1899 and seconds of the day.
// Every carry (minute, hour, day, month, year) goes through the civil-day arithmetic below.
#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrin {

// Days from 1970-01-01 for a proleptic Gregorian date; month 1..12, day 1..31.
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
};

constexpr CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

constexpr bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
constexpr int daysInMonth(int y, int m) {
    constexpr int table[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : table[(m - 1) % 12];
}

// Days between 1970-01-01 and the 1899-12-30 origin of the day count.
inline constexpr std::int64_t kOriginUnixDays = daysFromCivil(1899, 12, 30);

class DateTime {
  public:
    constexpr DateTime() = default;

    // Builds from fields that may overflow or underflow (month 13, day 0, minute 75, ...): every
    // excess carries into the next larger unit.
    static DateTime fromFields(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour = 0,
                               std::int64_t minute = 0, std::int64_t second = 0);
    static constexpr DateTime fromSerial(std::int64_t days, std::int64_t seconds) {
        DateTime t;
        std::int64_t carry = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
        t.days_ = days + carry;
        t.seconds_ = static_cast<std::int32_t>(seconds - carry * 86400);
        return t;
    }
    // Seconds since 1970-01-01 00:00:00 taken as a wall-clock reading (no zone applied).
    static constexpr DateTime fromUnix(std::int64_t unixSeconds) {
        return fromSerial(-kOriginUnixDays, unixSeconds);
    }
    // Reads exactly "YYYY-MM-DD HH:MM:SS" (a valid date from the year 100 on, 24-hour time); anything
    // else gives nothing.
    static std::optional<DateTime> fromIsoText(std::string_view text);
    // The OLE day count: days since 1899-12-30, the time of day as the fraction (negative days
    // keep a positive fraction, as that form has it). Rounded to the nearest second.
    static DateTime fromOleDate(double value);

    constexpr std::int64_t days() const { return days_; }             // since 1899-12-30
    constexpr std::int32_t secondsOfDay() const { return seconds_; }  // 0..86399
    constexpr std::int64_t toUnix() const { return (days_ + kOriginUnixDays) * 86400 + seconds_; }
    double toOleDate() const;

    constexpr CivilDate civil() const { return civilFromDays(days_ + kOriginUnixDays); }
    constexpr int year() const { return civil().year; }
    constexpr int month() const { return civil().month; }
    constexpr int day() const { return civil().day; }
    constexpr int hour() const { return seconds_ / 3600; }
    constexpr int minute() const { return seconds_ / 60 % 60; }
    constexpr int second() const { return seconds_ % 60; }
    // 0 = Sunday .. 6 = Saturday. 1899-12-30 was a Saturday.
    constexpr int weekday() const { return static_cast<int>(((days_ + 6) % 7 + 7) % 7); }
    // 1 for 1 January.
    int dayOfYear() const;
    // Weeks start on Sunday and week 1 is the one holding 1 January, so the number goes up each
    // Sunday; 31 December can be in week 53, or 54 in a leap year that starts on a Saturday.
    int weekOfYear() const;

    constexpr DateTime date() const { return fromSerial(days_, 0); }
    constexpr DateTime timeOfDay() const { return fromSerial(0, seconds_); }
    constexpr DateTime addSeconds(std::int64_t s) const { return fromSerial(days_, seconds_ + s); }
    constexpr DateTime addMinutes(std::int64_t m) const { return addSeconds(m * 60); }
    constexpr DateTime addDays(std::int64_t d) const { return fromSerial(days_ + d, seconds_); }
    // Calendar months, the day clamped to the target month's length (31 January + 1 = 28/29 February).
    DateTime addMonths(std::int64_t m) const;

    // Seconds from `other` to this.
    constexpr std::int64_t secondsSince(const DateTime& other) const {
        return (days_ - other.days_) * 86400 + (seconds_ - other.seconds_);
    }

    friend constexpr auto operator<=>(const DateTime&, const DateTime&) = default;

  private:
    std::int64_t days_ = 0;
    std::int32_t seconds_ = 0;
};

}  // namespace tavrin
