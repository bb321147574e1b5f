#include "FuzzChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>

#include "core/calendars/CalendarExpansion.h"
#include "core/calendars/DavCalendars.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderRecord.h"
#include "core/store/RegFile.h"
#include "core/sync/ReminderEvent.h"
#include "core/sync/SyncFile.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/MeetingPlan.h"
#include "core/timezones/PatternLexer.h"

namespace tavrin::fuzz {
namespace {

std::int64_t int64At(std::string_view input, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < 8; ++i)
        v = (v << 8) | (at + i < input.size() ? static_cast<unsigned char>(input[at + i]) : 0u);
    return static_cast<std::int64_t>(v);
}

// A language with the awkward names real ones have: names that are no ASCII, that start with digits
// ("12月") or end in a dot, one short name for a weekday and a month ("mar"), months named otherwise
// standing alone, and names that start others ("Mo", "Mon").
const CalendarNames& awkwardNames() {
    static const CalendarNames names = [] {
        CalendarNames n = CalendarNames::english();
        for (std::size_t m = 0; m < 12; ++m) {
            n.months[m] = std::to_string(m + 1) + "\u6708";
            n.monthsAlone[m] = "M\u00e4r" + std::to_string(m);
            n.monthsAloneShort[m] = std::to_string(m + 1) + ".";
        }
        n.monthsShort[2] = "mar";
        n.weekdaysShort[2] = "mar";
        n.weekdaysShort[1] = "Mo";
        n.weekdays[0] = "\u65e5\u66dc\u65e5";
        return n;
    }();
    return names;
}

// Whether the pattern writes any weekday or month name.
bool namesSomething(std::string_view pattern) {
    PatternLexer lex(pattern);
    PatternToken t;
    while (lex.next(t)) {
        if (t.kind == PatternToken::Kind::Field && (t.letter == 'd' || t.letter == 'm') && t.count >= 3)
            return true;
    }
    return false;
}

// Whether the pattern writes a whole date (day, month, four-digit year) that must read back as that
// day: every field apart from the next by text holding no digit, and no name run on by a letter or a
// digit (as "Mo" then "n" reads as "Mon").
bool writesWholeDate(std::string_view pattern) {
    bool day = false, month = false, year = false, afterField = false, afterName = false;
    PatternLexer lex(pattern);
    PatternToken t;
    while (lex.next(t)) {
        if (t.kind == PatternToken::Kind::Literal) {
            if (t.text.empty()) continue;
            for (const char c : t.text)
                if (c >= '0' && c <= '9') return false;
            const char first = t.text.front();
            if (afterName && ((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z'))) return false;
            afterField = afterName = false;
        } else if (t.kind == PatternToken::Kind::Field) {
            if (afterField) return false;
            afterField = true;
            afterName = (t.letter == 'd' || t.letter == 'm') && t.count >= 3;
            day = day || (t.letter == 'd' && t.count <= 2);
            month = month || t.letter == 'm';
            year = year || (t.letter == 'y' && t.count >= 3);
        } else {
            afterField = afterName = false;
        }
    }
    return day && month && year;
}

bool sameTables(const ReminderTable& a, const ReminderTable& b) {
    for (int i = 0; i < kReminderSlots; ++i)
        if (!(ReminderRecord::fromSlot(a, i) == ReminderRecord::fromSlot(b, i))) return false;
    return true;
}

}  // namespace

std::string checkRegFile(std::string_view input) {
    const ParsedRegFile first = RegFile::parse(input);
    const std::string written = RegFile::write(first.tree);
    const ParsedRegFile second = RegFile::parse(written);
    if (second.corrupt()) return "the written text has unreadable lines";
    if (!(second.tree == first.tree)) return "the tree read back differs from the tree written";
    if (RegFile::write(second.tree) != written) return "a second write differs from the first";
    return {};
}

std::string checkReminderFile(std::string_view input) {
    ReminderTable older;
    parseOlderReminders(input, older);
    ReminderTable first;
    parseReminders(input, first);
    const std::string written = serialiseReminders(first);
    ReminderTable second;
    const ReminderParseReport report = parseReminders(written, second);
    if (report.untitled != 0 || report.overflow != 0)
        return "the written text holds records that do not load";
    // A double quote read from a hand-edited file is written as an apostrophe; after that one
    // change the table is stable.
    if (serialiseReminders(second) != written) return "a second write differs from the first";
    ReminderTable third;
    parseReminders(serialiseReminders(second), third);
    if (!sameTables(second, third)) return "the table read back differs from the table written";
    return {};
}

std::string checkDateText(std::string_view input) {
    const std::size_t newline = input.find('\n');
    const std::string_view format =
        newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
    const std::string_view text = newline == std::string_view::npos ? input : input.substr(newline + 1);
    const auto read = readDateText(text, format);
    const auto minute = readMinuteOfDay(text, format);
    if (read.has_value() != minute.has_value()) return "the date reader and the minute reader disagree";
    if (read && *minute != read->hour() * 60 + read->minute()) return "the minute of the day differs";
    for (const CalendarNames* names : {&CalendarNames::english(), &awkwardNames()}) {
        const auto plain = readDateText(text, format, 0, *names);
        // A year for dates without one only ever adds readings: what reads without it reads the same.
        const auto inYear = readDateText(text, format, 2005, *names);
        if (plain && inYear != plain) return "a year for dates without one changed a full reading";
        if (inYear && inYear->days() != 0 && (inYear->year() < 100 || inYear->year() > 9999))
            return "a date was read outside the years a date can have";
        // Another language's names only ever add readings too: English text reads as ever.
        if (read && plain != read) return "a language's names changed the reading of English text";
        (void)formatPattern(text, format, format, *names);
    }
    return {};
}

std::string checkFormatPattern(std::string_view input) {
    const std::int64_t days = int64At(input, 0) % 3000000;  // about 8,000 years either way
    const std::int64_t seconds = int64At(input, 8) % 86400;
    const std::string_view pattern = input.size() > 16 ? input.substr(16) : std::string_view();
    const DateTime value = DateTime::fromSerial(days, seconds);
    const std::string english = formatPattern(value, pattern);
    const std::string named = formatPattern(value, pattern, awkwardNames());
    // Stored and compared text comes from patterns without names: the language must not touch it.
    if (!namesSomething(pattern) && named != english) return "a pattern without names wrote another language";
    // What a pattern writes of a day in the years a date can have, it reads back as that day (or
    // reads nothing, where its fields are too few or run into each other).
    if (value.year() >= 100 && value.year() <= 9999) {
        const auto back = readDateText(named, pattern, value.year(), awkwardNames());
        if (back && back->days() != 0 && back->days() != value.days() && writesWholeDate(pattern))
            return "a whole date read back as another day";
    }
    return {};
}

std::string checkWorkingHours(std::string_view input) {
    const Result<WorkingHours> read = readWorkingHours(input);
    if (!read) return read.message().empty() ? "a refusal without a reason" : "";
    if (read->start < 0 || read->start >= read->end || read->end > 24 * 60) return "a span outside one day";
    const Result<WorkingHours> again = readWorkingHours(workingHoursText(*read));
    if (!again || *again != *read) return "the span does not read back the same";
    return {};
}

std::string checkCalendarText(std::string_view input) {
    static ZoneCache zones;
    static const char* dir = std::getenv("TZDIR") ? std::getenv("TZDIR") : "/usr/share/zoneinfo";
    static const ZoneCache::ZonePtr user =
        zones.zone(dir, "Europe/Berlin").valueOr(std::make_shared<const Zone>(Zone::utc()));
    constexpr std::int64_t from = 1704067200;  // 2024-01-01, over about three months
    constexpr std::int64_t to = from + 91 * 86400;
    const Result<CalendarExpansion> got = expandCalendarReporting(input, "fuzz", from, to, *user, zones, dir);
    if (!got) return got.message().empty() ? "a failure without a reason" : "";
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (const CalendarEvent& e : got->events) {
        if (e.start < last) return "the events are not sorted by start";
        last = e.start;
        if (e.start >= to || (e.end <= from && e.start < from)) return "an event outside the window";
        if (!std::is_sorted(e.alarms.begin(), e.alarms.end())) return "the alarms are not sorted";
    }
    return "";
}

std::string checkDavResponse(std::string_view input) {
    const auto answer = readMultistatus(input);
    if (!answer) return answer.message().empty() ? "a refused answer without a reason" : "";
    const auto base = WebAddress::parse("https://dav.example.org/cal/user/work/");
    for (const DavResource& r : answer->resources) {
        const auto address = resolveReference(*base, r.href);
        if (!address) continue;
        const auto again = resolveReference(*base, address->text());
        if (!again || again->text() != address->text())
            return "the href " + r.href + " resolves to " + address->text() +
                   ", which does not resolve to itself";
    }
    (void)davCalendarsIn(*answer, *base);
    (void)davPrincipalIn(*answer, *base);
    (void)davCalendarHomeIn(*answer, *base);
    const std::map<std::string, CachedResource> cached = {
        {"https://dav.example.org/cal/user/work/a.ics", {"\"1\"", ""}}};
    const DavChanges changes = davChanges(*answer, *base, cached);
    if (changes.kept.size() + changes.dropped != cached.size())
        return "a cached resource neither kept nor dropped";
    return "";
}

std::string checkReminderEvent(std::string_view input) {
    static const char* dir = std::getenv("TZDIR") ? std::getenv("TZDIR") : "/usr/share/zoneinfo";
    // A format with a year and one without, in a zone that changes its clock.
    for (const char* dateFormat : {"dd/mm/yyyy", "d mmm"}) {
        const ReminderEventContext context{dateFormat, "Europe/Berlin", dir, 1796709600};
        const Result<std::vector<EventReminder>> read = remindersFromCalendar(std::string(input), context);
        if (!read) {
            if (read.message().empty()) return "a refused text without a reason";
            continue;
        }
        for (const EventReminder& one : *read) {
            if (!one.reminder) {
                if (one.reminder.message().empty()) return "a refused event without a reason";
                continue;
            }
            const Result<std::string> written = eventFromReminder(*one.reminder, one.uid, context);
            if (!written) return "a reminder read cannot be written: " + written.message();
            const EventReminder again = reminderFromEvent(*written, context);
            if (!again.reminder) return "a written reminder is refused: " + again.reminder.message();
            if (!(*again.reminder == *one.reminder) || again.uid != one.uid)
                return "the reminder \"" + one.reminder->title + "\" " + one.reminder->date + " " +
                       one.reminder->time + " reads back as \"" + again.reminder->title + "\" " +
                       again.reminder->date + " " + again.reminder->time;
        }
    }
    return "";
}

std::string checkSyncState(std::string_view input) {
    const Result<SyncState> first = readSyncState(input);
    if (!first) return first.message().empty() ? "a refused sync file without a reason" : "";
    const std::string written = syncStateText(*first);
    const Result<SyncState> second = readSyncState(written);
    if (!second) return "the written sync file does not read: " + second.message();
    if (!(*second == *first)) return "the state read back differs from the state written";
    if (syncStateText(*second) != written) return "a second write differs from the first";
    return {};
}

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"reg_file", checkRegFile},           {"reminder_file", checkReminderFile},
        {"date_text", checkDateText},         {"format_pattern", checkFormatPattern},
        {"working_hours", checkWorkingHours}, {"calendar_text", checkCalendarText},
        {"dav_response", checkDavResponse},   {"reminder_event", checkReminderEvent},
        {"sync_state", checkSyncState},
    };
    return all;
}

}  // namespace tavrin::fuzz
