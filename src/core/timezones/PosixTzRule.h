#pragma once
// The POSIX TZ form that closes every modern TZif file ("CET-1CEST,M3.5.0,M10.5.0/3"): it says how
// the zone keeps time after the file's last listed transition. Includes the tz extensions: quoted
// abbreviations ("<+03>-3") and transition times outside 0..24 hours ("M3.4.4/26", "M3.5.0/-1").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/timezones/LocalTimeType.h"

namespace tavrin {

// The day of a transition and the local time of day at which it happens.
struct PosixTzDate {
    enum class Kind {
        Julian1,       // Jn: day 1..365 of the year, 29 February never counted
        Julian0,       // n: day 0..365 of the year, 29 February counted in leap years
        MonthWeekDay,  // Mm.w.d: weekday d (0 = Sunday) of week w (5 = last) of month m
    };
    Kind kind = Kind::MonthWeekDay;
    int day = 0;      // Julian1, Julian0
    int month = 0;    // MonthWeekDay 1..12
    int week = 0;     // MonthWeekDay 1..5
    int weekday = 0;  // MonthWeekDay 0..6
    // Seconds after local midnight of the day, -167h..+167h; 02:00 when the text gives none.
    std::int32_t time = 7200;

    // Days since 1970-01-01 of the transition's day in `year` (before `time` is added).
    std::int64_t dayNumber(int year) const;
    // Seconds since 1970-01-01 of the transition as a local wall-clock reading.
    std::int64_t localSeconds(int year) const { return dayNumber(year) * 86400 + time; }

    friend bool operator==(const PosixTzDate&, const PosixTzDate&) = default;
};

// One change of local time type: at UTC instant `at`, the zone starts keeping `type`.
struct ZoneTransition {
    std::int64_t at = 0;  // seconds since 1970-01-01 UTC
    LocalTimeType type;
};

struct PosixTzRule {
    LocalTimeType standard;  // isDst false
    bool hasDst = false;
    LocalTimeType daylight;  // isDst true; meaningful when hasDst
    PosixTzDate start;       // daylight time begins, at a standard-time wall clock reading
    PosixTzDate end;         // daylight time ends, at a daylight-time wall clock reading

    // The transitions of the rule's year `year`, in time order (none without daylight time).
    std::vector<ZoneTransition> transitionsInYear(int year) const;
    // The local time type in force at a UTC instant.
    LocalTimeType typeAt(std::int64_t utc) const;
};

// Parses a TZ text. Returns false, with a short reason in `error`, when the text is not a rule.
bool parsePosixTz(std::string_view text, PosixTzRule& rule, std::string& error);

}  // namespace tavrin
