#include "core/timezones/MeetingPlan.h"

#include <cstdio>

namespace tavrin {
namespace {

constexpr std::int64_t kQuarter = 15 * 60;

// "HH:MM" at `text`'s start, with 24:00 allowed; the minute of the day it names, and where it ended.
bool readClockTime(std::string_view text, std::size_t& at, int& minute) {
    int hour = 0, digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 2) {
        hour = hour * 10 + (text[at++] - '0');
        ++digits;
    }
    if (digits == 0 || at + 3 > text.size() || text[at] != ':') return false;
    const char tens = text[at + 1], ones = text[at + 2];
    if (tens < '0' || tens > '5' || ones < '0' || ones > '9') return false;
    at += 3;
    minute = hour * 60 + (tens - '0') * 10 + (ones - '0');
    return hour < 24 || minute == 24 * 60;
}

void skipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ') ++at;
}

}  // namespace

Result<WorkingHours> readWorkingHours(std::string_view text) {
    const std::string why =
        "'" + std::string(text) + "' is no span of working hours; write it as " + kDefaultWorkingHours;
    std::size_t at = 0;
    WorkingHours hours;
    skipBlanks(text, at);
    if (!readClockTime(text, at, hours.start)) return Failure{why};
    skipBlanks(text, at);
    if (at >= text.size() || text[at++] != '-') return Failure{why};
    skipBlanks(text, at);
    if (!readClockTime(text, at, hours.end)) return Failure{why};
    skipBlanks(text, at);
    if (at != text.size()) return Failure{why};
    if (hours.start >= hours.end)
        return Failure{"working hours must end after they start on the same day ('" + std::string(text) +
                       "')"};
    return hours;
}

std::string workingHoursText(const WorkingHours& hours) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d-%02d:%02d", hours.start / 60, hours.start % 60,
                  hours.end / 60, hours.end % 60);
    return text;
}

bool isWorkingTime(const DateTime& wall, const WorkingHours& hours) {
    const int weekday = wall.weekday();
    if (weekday == 0 || weekday == 6) return false;
    const int minute = wall.secondsOfDay() / 60;
    return minute >= hours.start && minute < hours.end;
}

std::vector<MeetingWindow> findMeetingWindows(const std::vector<const Zone*>& zones,
                                              const WorkingHours& hours, const DateTime& fromUtc, int minutes,
                                              int days) {
    std::vector<MeetingWindow> found;
    if (minutes <= 0 || days <= 0) return found;
    const std::int64_t from = fromUtc.toUnix();
    const std::int64_t first = from + (kQuarter - from % kQuarter) % kQuarter;
    const std::int64_t last = from + static_cast<std::int64_t>(days) * 86400;
    // A quarter counts when every zone is at work at its first and its last second: a change of clock
    // or the end of the day inside it shows at one of the two.
    const auto everyoneAtWork = [&](std::int64_t quarter) {
        for (const Zone* zone : zones)
            for (const std::int64_t t : {quarter, quarter + kQuarter - 1})
                if (!isWorkingTime(zone->wallTimeAt(DateTime::fromUnix(t)), hours)) return false;
        return true;
    };
    std::int64_t runStart = -1;
    const auto closeRun = [&](std::int64_t end) {
        if (runStart >= 0 && end - runStart >= static_cast<std::int64_t>(minutes) * 60)
            found.push_back({DateTime::fromUnix(runStart), DateTime::fromUnix(end)});
        runStart = -1;
    };
    for (std::int64_t q = first; q + kQuarter <= last; q += kQuarter) {
        if (everyoneAtWork(q)) {
            if (runStart < 0) runStart = q;
        } else {
            closeRun(q);
        }
    }
    closeRun(first + (last - first) / kQuarter * kQuarter);
    return found;
}

}  // namespace tavrin
