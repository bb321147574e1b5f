#include "core/calendars/CalendarExpansion.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "core/calendars/LibicalLock.h"

namespace tavrin {
namespace {

// A recurrence is followed at most this many steps, counting those before the window, so a rule
// that starts decades back and counts every second cannot hold the expansion; and a whole text at
// most this many, so a feed of many such rules cannot either.
constexpr int kMaxRecurrenceSteps = 50000;
constexpr int kMaxStepsPerText = 1000000;

const cctz::civil_second kEpoch(1970, 1, 1, 0, 0, 0);

// A wall-clock reading as seconds since 1970-01-01 00:00 read as a wall clock; a date is its midnight.
std::int64_t wallOf(const icaltimetype& t) {
    const cctz::civil_second civil(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute,
                                   t.is_date ? 0 : t.second);
    return civil - kEpoch;
}

icaltimetype icalTimeOf(std::int64_t wall, bool isDate) {
    const cctz::civil_second civil = kEpoch + wall;
    icaltimetype t = icaltime_null_time();
    t.year = static_cast<int>(civil.year());
    t.month = civil.month();
    t.day = civil.day();
    if (isDate)
        t.is_date = 1;
    else {
        t.hour = civil.hour();
        t.minute = civil.minute();
        t.second = civil.second();
    }
    return t;
}

bool isUsableTime(const icaltimetype& t) {
    return !icaltime_is_null_time(t) && icaltime_is_valid_time(t) && t.year >= 1 && t.year <= 9999 &&
           t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31;
}

// The children of a kind, gathered before any is looked at: libical walks a component's children
// with one cursor per component, which any lookup on it (a summary, a time zone) moves.
template <class Child, class Kind>
std::vector<Child*> gathered(icalcomponent* parent, Kind kind, Child* (*first)(icalcomponent*, Kind),
                             Child* (*next)(icalcomponent*, Kind)) {
    std::vector<Child*> found;
    for (Child* c = first(parent, kind); c; c = next(parent, kind)) found.push_back(c);
    return found;
}

std::vector<icalcomponent*> components(icalcomponent* parent, icalcomponent_kind kind) {
    return gathered(parent, kind, icalcomponent_get_first_component, icalcomponent_get_next_component);
}

std::vector<icalproperty*> properties(icalcomponent* parent, icalproperty_kind kind) {
    return gathered(parent, kind, icalcomponent_get_first_property, icalcomponent_get_next_property);
}

std::string text(const char* value) {
    return value ? value : "";
}

// How a property's wall-clock readings become instants.
struct TimeBasis {
    enum class Kind { Utc, TzZone, OwnZone, Floating } kind = Kind::Floating;
    ZoneCache::ZonePtr zone;
    icaltimezone* ownZone = nullptr;
    std::string name;
};

class CalendarReader {
  public:
    CalendarReader(std::string_view calendarId, std::int64_t from, std::int64_t to, const Zone& userZone,
                   ZoneCache& zones, const std::string& zoneinfoDir)
        : calendarId_(calendarId),
          from_(from),
          to_(to),
          userZone_(userZone),
          zones_(zones),
          zoneinfoDir_(zoneinfoDir) {}

    void readCalendar(icalcomponent* calendar);
    CalendarExpansion take() {
        std::stable_sort(result_.events.begin(), result_.events.end(),
                         [](const CalendarEvent& a, const CalendarEvent& b) {
                             return a.start != b.start ? a.start < b.start : a.title < b.title;
                         });
        result_.events.shrink_to_fit();  // a window's events are kept a while; no slack kept with them
        return std::move(result_);
    }

  private:
    struct Occurrence {
        std::int64_t wall = 0;
        std::int64_t start = 0;
    };

    TimeBasis basisOf(icalproperty* property, const icaltimetype& t, icalcomponent* calendar);
    std::int64_t instantOf(const TimeBasis& basis, const icaltimetype& t) const;
    std::int64_t instantOf(icalproperty* property, const icaltimetype& t, icalcomponent* calendar) {
        return instantOf(basisOf(property, t, calendar), t);
    }
    void readEvent(icalcomponent* event, icalcomponent* calendar, const std::set<std::int64_t>& overridden);
    void skip(icalcomponent* event, const std::string& why) {
        const std::string title = text(icalcomponent_get_summary(event));
        result_.skipped.push_back("the event \"" +
                                  (title.empty() ? text(icalcomponent_get_uid(event)) : title) + "\" " + why);
    }

    std::string calendarId_;
    std::int64_t from_;
    std::int64_t to_;
    const Zone& userZone_;
    ZoneCache& zones_;
    const std::string& zoneinfoDir_;
    CalendarExpansion result_;
    int stepsLeft_ = kMaxStepsPerText;
};

TimeBasis CalendarReader::basisOf(icalproperty* property, const icaltimetype& t, icalcomponent* calendar) {
    TimeBasis basis;
    if (t.is_date) return basis;
    if (icaltime_is_utc(t)) {
        basis.kind = TimeBasis::Kind::Utc;
        return basis;
    }
    icalparameter* tzidParameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const std::string tzid = tzidParameter ? text(icalparameter_get_tzid(tzidParameter)) : "";
    if (tzid.empty()) return basis;
    if (tzid == "UTC" || tzid == "GMT" || tzid == "Etc/UTC") {
        basis.kind = TimeBasis::Kind::Utc;
        return basis;
    }
    // A tz name, or one behind a maker's prefix ("/example.org/2020_1/Europe/Berlin"), is read from the
    // tz database, which knows every year; the text's own VTIMEZONE serves for other names.
    for (std::size_t at = 0; at != std::string::npos; at = tzid.find('/', at + 1)) {
        const std::string name = tzid.substr(at == 0 ? 0 : at + 1);
        if (name.empty() || name.front() == '/') continue;
        if (Result<ZoneCache::ZonePtr> zone = zones_.zone(zoneinfoDir_, name)) {
            basis.kind = TimeBasis::Kind::TzZone;
            basis.zone = *zone;
            basis.name = (*zone)->name();
            return basis;
        }
    }
    if (icaltimezone* own = icalcomponent_get_timezone(calendar, tzid.c_str())) {
        basis.kind = TimeBasis::Kind::OwnZone;
        basis.ownZone = own;
        basis.name = tzid;
    }
    return basis;
}

std::int64_t CalendarReader::instantOf(const TimeBasis& basis, const icaltimetype& t) const {
    const std::int64_t wall = wallOf(t);
    switch (basis.kind) {
        case TimeBasis::Kind::Utc:
            return wall;
        case TimeBasis::Kind::TzZone:
            return basis.zone->instantOf(wall);
        case TimeBasis::Kind::OwnZone: {
            icaltimetype local = t;
            local.zone = nullptr;
            return static_cast<std::int64_t>(icaltime_as_timet_with_zone(local, basis.ownZone));
        }
        case TimeBasis::Kind::Floating:
            break;
    }
    return userZone_.instantOf(wall);
}

void CalendarReader::readCalendar(icalcomponent* calendar) {
    // The occurrences each UID's overrides replace, by the start they replace.
    std::map<std::string, std::set<std::int64_t>> overridden;
    const std::vector<icalcomponent*> events = components(calendar, ICAL_VEVENT_COMPONENT);
    for (icalcomponent* event : events)
        if (icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
            const icaltimetype t = icalproperty_get_recurrenceid(id);
            if (isUsableTime(t))
                overridden[text(icalcomponent_get_uid(event))].insert(instantOf(id, t, calendar));
        }
    const std::set<std::int64_t> none;
    for (icalcomponent* event : events) {
        const bool isOverride =
            icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
        const auto found = overridden.find(text(icalcomponent_get_uid(event)));
        readEvent(event, calendar, isOverride || found == overridden.end() ? none : found->second);
    }
}

void CalendarReader::readEvent(icalcomponent* event, icalcomponent* calendar,
                               const std::set<std::int64_t>& overridden) {
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return;
    icalproperty* startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    const icaltimetype start = startProperty ? icalproperty_get_dtstart(startProperty) : icaltime_null_time();
    if (!isUsableTime(start)) return skip(event, "has no start that can be read");
    const bool allDay = start.is_date;
    const TimeBasis basis = basisOf(startProperty, start, calendar);

    // The length of each occurrence: whole days for an all-day event, seconds otherwise.
    std::int64_t length = allDay ? 86400 : 0;
    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const icaltimetype t = icalproperty_get_dtend(end);
        if (!isUsableTime(t)) return skip(event, "has an end that cannot be read");
        length = allDay ? wallOf(t) - wallOf(start) : instantOf(end, t, calendar) - instantOf(basis, start);
    } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        length = icaldurationtype_as_int(icalproperty_get_duration(duration));
        if (allDay) length = length / 86400 * 86400;
    }
    length = std::max<std::int64_t>(length, 0);

    // The starts: DTSTART, each RRULE's and each RDATE, less the EXDATEs, up to the window's end.
    std::map<std::int64_t, Occurrence> starts;
    const auto add = [&](std::int64_t wall, std::int64_t instant) {
        starts.emplace(instant, Occurrence{wall, instant});
    };
    add(wallOf(start), instantOf(basis, start));
    const bool recurs = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
                        icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    for (icalproperty* rule : properties(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
        if (recurrence.freq == ICAL_NO_RECURRENCE) {
            skip(event, "has a recurrence rule that cannot be read");
            continue;
        }
        std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator*)> steps(
            icalrecur_iterator_new(recurrence, start), icalrecur_iterator_free);
        if (!steps) {
            skip(event, "has a recurrence rule that cannot be followed");
            continue;
        }
        // Straight to the window where the rule allows it (a counted rule must be counted from its start).
        const std::int64_t jumpTo = wallOf(start) + (from_ - instantOf(basis, start)) - length - 2 * 86400;
        if (recurrence.count == 0 && jumpTo > wallOf(start))
            (void)icalrecur_iterator_set_start(steps.get(), icalTimeOf(jumpTo, allDay));
        if (stepsLeft_ <= 0) {
            skip(event, "recurs beyond what the calendar's other rules left to follow");
            continue;
        }
        int inWindow = 0;
        for (int step = 0; step < kMaxRecurrenceSteps && inWindow < kMaxOccurrencesPerEvent && stepsLeft_ > 0;
             ++step, --stepsLeft_) {
            const icaltimetype next = icalrecur_iterator_next(steps.get());
            if (icaltime_is_null_time(next) || !isUsableTime(next)) break;
            const std::int64_t instant = instantOf(basis, next);
            if (instant >= to_) break;
            if (instant + length <= from_ && instant < from_) continue;
            ++inWindow;
            add(wallOf(next), instant);
        }
    }
    for (icalproperty* rdate : properties(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(rdate);
        const icaltimetype t = isUsableTime(value.time) ? value.time : value.period.start;
        if (isUsableTime(t)) add(wallOf(t), instantOf(rdate, t, calendar));
    }
    for (icalproperty* exdate : properties(event, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype t = icalproperty_get_exdate(exdate);
        if (!isUsableTime(t)) continue;
        if (t.is_date && !allDay) {
            // A day struck out of a timed event: every start on that day of the event's own clock.
            const std::int64_t day = wallOf(t) / 86400;
            std::erase_if(starts, [&](const auto& s) { return s.second.wall / 86400 == day; });
        } else {
            starts.erase(instantOf(exdate, t, calendar));
        }
    }

    CalendarEvent shape;
    shape.calendarId = calendarId_;
    shape.uid = text(icalcomponent_get_uid(event));
    shape.title = text(icalcomponent_get_summary(event));
    shape.location = text(icalcomponent_get_location(event));
    shape.allDay = allDay;
    shape.zoneName = basis.name;
    icalproperty* recurrenceId = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
    // The alarms' triggers: an instant, or seconds from the occurrence's start or end.
    struct Trigger {
        bool absolute = false;
        bool fromEnd = false;
        std::int64_t at = 0;
    };
    std::vector<Trigger> triggers;
    for (icalcomponent* alarm : components(event, ICAL_VALARM_COMPONENT)) {
        icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!trigger) continue;
        const icaltriggertype when = icalproperty_get_trigger(trigger);
        if (!icaltime_is_null_time(when.time)) {
            if (isUsableTime(when.time))
                triggers.push_back({true, false, instantOf(trigger, when.time, calendar)});
            continue;
        }
        icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        triggers.push_back({false, related && icalparameter_get_related(related) == ICAL_RELATED_END,
                            icaldurationtype_as_int(when.duration)});
    }
    int emitted = 0;
    for (const auto& [key, occurrence] : starts) {
        if (key >= to_ || emitted >= kMaxOccurrencesPerEvent) break;
        if (recurs && overridden.count(key)) continue;
        CalendarEvent e = shape;
        e.start = occurrence.start;
        e.end = allDay ? userZone_.instantOf(occurrence.wall + length) : occurrence.start + length;
        if (!(e.end > from_ || e.start >= from_)) continue;
        e.occurrenceKey = key;
        if (recurrenceId) {
            const icaltimetype t = icalproperty_get_recurrenceid(recurrenceId);
            if (isUsableTime(t)) e.occurrenceKey = instantOf(recurrenceId, t, calendar);
        }
        for (const Trigger& trigger : triggers)
            e.alarms.push_back(trigger.absolute ? trigger.at
                                                : (trigger.fromEnd ? e.end : e.start) + trigger.at);
        std::sort(e.alarms.begin(), e.alarms.end());
        e.alarms.erase(std::unique(e.alarms.begin(), e.alarms.end()), e.alarms.end());
        result_.events.push_back(std::move(e));
        ++emitted;
    }
}

std::string firstWords(std::string_view text) {
    const std::string_view line = text.substr(0, std::min(text.find_first_of("\r\n"), std::size_t{40}));
    std::string shown;
    for (char c : line) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    return shown;
}

}  // namespace

Result<CalendarExpansion> expandCalendarReporting(std::string_view icsText, std::string_view calendarId,
                                                  std::int64_t from, std::int64_t to, const Zone& userZone,
                                                  ZoneCache& zones, const std::string& zoneinfoDir) {
    if (icsText.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return Failure{"the calendar is empty"};
    // libical reads up to a NUL; a NUL inside the text would hide the rest of it.
    if (icsText.find('\0') != std::string_view::npos) return Failure{"the calendar holds a NUL byte"};
    const std::string terminated(icsText);
    std::lock_guard<std::mutex> hold(libicalLock());
    icalerror_set_errors_are_fatal(0);
    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> root(icalparser_parse_string(terminated.c_str()),
                                                                  icalcomponent_free);
    icalerror_clear_errno();
    if (!root)
        return Failure{"the calendar is no iCalendar text (it begins \"" + firstWords(icsText) + "\")"};
    CalendarReader reader(calendarId, from, to, userZone, zones, zoneinfoDir);
    int calendars = 0;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        reader.readCalendar(root.get());
        ++calendars;
    } else {
        for (icalcomponent* c : components(root.get(), ICAL_VCALENDAR_COMPONENT)) {
            reader.readCalendar(c);
            ++calendars;
        }
    }
    if (calendars == 0)
        return Failure{"the calendar holds no VCALENDAR (it begins \"" + firstWords(icsText) + "\")"};
    return reader.take();
}

Result<std::vector<CalendarEvent>> expandCalendar(std::string_view icsText, std::string_view calendarId,
                                                  std::int64_t from, std::int64_t to, const Zone& userZone) {
    ZoneCache zones;
    const char* tzdir = std::getenv("TZDIR");
    Result<CalendarExpansion> expansion = expandCalendarReporting(
        icsText, calendarId, from, to, userZone, zones, tzdir && *tzdir ? tzdir : "/usr/share/zoneinfo");
    if (!expansion) return expansion.why();
    return std::move(expansion->events);
}

}  // namespace tavrin
