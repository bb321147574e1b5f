#include "core/clock/MenuScrub.h"

#include "core/timezones/FormatPattern.h"

namespace tavrin {
namespace {

// The place a zone's city text names, without its country: " Tokyo, Japan" gives "Tokyo".
std::string placeOf(const ZoneRecord& zone) {
    std::string place = zone.CityName.substr(0, zone.CityName.find(','));
    const std::size_t first = place.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : place.substr(first);
}

}  // namespace

std::int64_t scrubStepSeconds(bool hour, bool day) {
    return day ? 86400 : hour ? 3600 : 15 * 60;
}

std::string scrubOffsetText(std::int64_t offsetSeconds) {
    if (offsetSeconds / 60 == 0) return {};
    const std::int64_t minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
    std::string text = offsetSeconds < 0 ? "-" : "+";
    const auto add = [&text](std::int64_t n, const char* unit) {
        if (n == 0) return;
        if (text.size() > 1) text += ' ';
        text += std::to_string(n) + unit;
    };
    const std::int64_t days = minutes / 1440;
    add(days, days == 1 ? " day" : " days");
    add(minutes / 60 % 24, " h");
    add(minutes % 60, " min");
    return text;
}

std::string scrubHeaderText(std::int64_t offsetSeconds, const DateTime& localTime, const std::string& format,
                            const CalendarNames& names) {
    const std::string offset = scrubOffsetText(offsetSeconds);
    if (offset.empty()) return {};
    return offset + ": " + formatPattern(localTime, format, names) + " here";
}

std::string meetingText(const MenuLines& lines, std::size_t clicked, const DateTime& utc,
                        const CalendarNames& names) {
    if (clicked >= lines.lines.size() || !lines.lines[clicked].zoneTime) return {};
    const DateTime first = *lines.lines[clicked].zoneTime;
    const auto when = [&](const DateTime& t) {
        std::string text = formatPattern(t, "hh:nn", names);
        if (t.date() != first.date() || &t == &first) text += formatPattern(t, " ddd d mmm", names);
        return text;
    };
    std::string text = when(first) + " in " + placeOf(lines.lines[clicked].zone);
    for (std::size_t i = 0; i < lines.lines.size(); ++i)
        if (i != clicked && lines.lines[i].zoneTime)
            text += " = " + when(*lines.lines[i].zoneTime) + " in " + placeOf(lines.lines[i].zone);
    return text + " = " + when(utc) + " UTC";
}

}  // namespace tavrin
