#include "core/sync/ReminderEvent.h"

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <random>

#include "core/base/Text.h"
#include "core/calendars/LibicalLock.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/ZoneCache.h"

namespace tavrin {
namespace {

constexpr const char* kProductId = "-//Tavrin//Reminders//EN";
constexpr const char* kEnabledProperty = "X-TAVRIN-ENABLED";
constexpr const char* kQuoteRefusal = "with a double quote, which the reminder file cannot hold";

using Component = std::unique_ptr<icalcomponent, void (*)(icalcomponent*)>;

Component owned(icalcomponent* c) {
    return Component(c, icalcomponent_free);
}

std::string text(const char* value) {
    return value ? value : "";
}

// The zones read for this process, shared by every call.
Result<ZoneCache::ZonePtr> zoneNamed(const std::string& zoneinfoDir, const std::string& id) {
    static ZoneCache zones;
    if (id == "UTC" || id == "Etc/UTC") return std::make_shared<const Zone>(Zone::utc());
    return zones.zone(zoneinfoDir, id);
}

Result<ZoneCache::ZonePtr> userZone(const ReminderEventContext& context) {
    Result<ZoneCache::ZonePtr> zone = zoneNamed(context.zoneinfoDir, context.zoneId);
    if (!zone) return Failure{"the time zone " + context.zoneId + " cannot be read: " + zone.message()};
    return zone;
}

// ---- A reminder as a moment -----------------------------------------------------------------------

// The day a stored date names. A date format without a year writes texts that read as no date; such
// a text is the next day, from today on, that the format writes so.
std::optional<DateTime> dayOfReminder(const std::string& date, const ReminderEventContext& context,
                                      const Zone& zone) {
    if (const auto day = readDateText(date, context.dateFormat)) return day->date();
    const DateTime today = zone.wallTimeAt(DateTime::fromUnix(context.now)).date();
    for (int ahead = 0; ahead < 366 + 7; ++ahead)
        if (reminderDateText(today.addDays(ahead), context.dateFormat) == date) return today.addDays(ahead);
    return std::nullopt;
}

// The reminder's wall-clock start in the user's zone.
Result<DateTime> wallOfReminder(const ReminderRecord& reminder, const ReminderEventContext& context,
                                const Zone& zone) {
    const auto day = dayOfReminder(reminder.date, context, zone);
    if (!day) return Failure{"its date \"" + reminder.date + "\" reads as no day"};
    const auto time = readDateText(reminder.time, context.dateFormat);
    if (!time || time->days() != 0)
        return Failure{"its time \"" + reminder.time + "\" reads as no time of day"};
    return day->addSeconds(time->secondsOfDay());
}

icaltimetype icalTimeOf(const DateTime& wall) {
    icaltimetype t = icaltime_null_time();
    t.year = wall.year();
    t.month = wall.month();
    t.day = wall.day();
    t.hour = wall.hour();
    t.minute = wall.minute();
    t.second = wall.second();
    return t;
}

DateTime wallOf(const icaltimetype& t) {
    return DateTime::fromFields(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute,
                                t.is_date ? 0 : t.second);
}

// libical's description of the zone, read from the system's tz database, under the zone's own name.
icalcomponent* zoneComponent(const std::string& zoneId) {
    icaltimezone* zone = icaltimezone_get_builtin_timezone(zoneId.c_str());
    if (!zone) return nullptr;
    icalcomponent* found = icaltimezone_get_component(zone);
    if (!found) return nullptr;
    icalcomponent* copy = icalcomponent_new_clone(found);
    if (icalproperty* tzid = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(tzid, zoneId.c_str());
    return copy;
}

Component newCalendar() {
    Component calendar = owned(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
    return calendar;
}

// The recurrence a stored code names: nothing for a reminder that happens once.
Result<std::optional<icalrecurrencetype_frequency>> frequencyOf(const std::string& recur) {
    if (!recurs(recur)) return std::optional<icalrecurrencetype_frequency>();
    switch (leadingWhole(recur)) {
        case 0:
            return std::optional(ICAL_HOURLY_RECURRENCE);
        case 1:
            return std::optional(ICAL_DAILY_RECURRENCE);
        case 2:
            return std::optional(ICAL_WEEKLY_RECURRENCE);
        default:
            return Failure{"its repeat code \"" + recur + "\" names no repeat"};
    }
}

// The reminder's VEVENT, for a calendar whose VTIMEZONE for the user's zone is `zoneWritten` (when
// libical knows no such zone, the start is written in UTC).
Result<Component> eventComponent(const ReminderRecord& reminder, const std::string& uid,
                                 const ReminderEventContext& context, bool zoneWritten) {
    const auto refused = [&](const std::string& why) {
        return Failure{"the reminder \"" + reminder.title + "\" cannot be written as an event: " + why};
    };
    Result<ZoneCache::ZonePtr> zone = userZone(context);
    if (!zone) return refused(zone.message());
    Result<DateTime> wall = wallOfReminder(reminder, context, **zone);
    if (!wall) return refused(wall.message());
    Result<std::optional<icalrecurrencetype_frequency>> frequency = frequencyOf(reminder.recur);
    if (!frequency) return refused(frequency.message());

    Component event = owned(icalcomponent_new(ICAL_VEVENT_COMPONENT));
    icalcomponent_add_property(event.get(), icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(event.get(),
                               icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                   static_cast<time_t>(context.now), 0, icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(event.get(), icalproperty_new_summary(reminder.title.c_str()));
    if (!reminder.body.empty())
        icalcomponent_add_property(event.get(), icalproperty_new_description(reminder.body.c_str()));
    if (zoneWritten) {
        icalproperty* start = icalproperty_new_dtstart(icalTimeOf(*wall));
        icalproperty_add_parameter(start, icalparameter_new_tzid(context.zoneId.c_str()));
        icalcomponent_add_property(event.get(), start);
    } else {
        const std::int64_t instant = (*zone)->instantOf(wall->toUnix());
        icalcomponent_add_property(event.get(),
                                   icalproperty_new_dtstart(icaltime_from_timet_with_zone(
                                       static_cast<time_t>(instant), 0, icaltimezone_get_utc_timezone())));
    }
    // A reminder is a moment, not a stretch of time: phones show it as a point on the day.
    icalcomponent_add_property(event.get(), icalproperty_new_duration(icaldurationtype_from_int(0)));
    if (*frequency) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = **frequency;
        icalcomponent_add_property(event.get(), icalproperty_new_rrule(rule));
    }
    const bool enabled = reminder.enabled == "1";
    icalproperty* flag = icalproperty_new_x(enabled ? "1" : "0");
    icalproperty_set_x_name(flag, kEnabledProperty);
    icalcomponent_add_property(event.get(), flag);
    if (enabled) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger = icaltriggertype_from_int(0);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(reminder.title.c_str()));
        icalcomponent_add_component(event.get(), alarm);
    }
    return event;
}

std::string textOf(icalcomponent* calendar) {
    char* written = icalcomponent_as_ical_string_r(calendar);
    std::string result = text(written);
    free(written);  // NOLINT: libical hands over memory from malloc
    return result;
}

// ---- An event as a reminder -----------------------------------------------------------------------

bool isUsableTime(const icaltimetype& t) {
    return !icaltime_is_null_time(t) && icaltime_is_valid_time(t) && t.year >= 1 && t.year <= 9999 &&
           t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= daysInMonth(t.year, t.month) &&
           t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

// A value as libical writes and reads it back, which leaves out control characters (a tab stays) and
// spaces at the ends, and on one line, as each value of the reminder file is.
std::string cleaned(const std::string& value) {
    std::string kept;
    for (char c : value) {
        if (c == '\r' || c == '\n')
            kept += ' ';
        else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
            kept += c;
    }
    return std::string(trim(kept));
}

// The start as a wall-clock reading of the user's zone.
Result<DateTime> userWallOf(icalproperty* property, const icaltimetype& t, icalcomponent* calendar,
                            const ReminderEventContext& context, const Zone& user) {
    const DateTime wall = wallOf(t);
    if (t.is_date) return wall;
    const auto inUserZone = [&](std::int64_t instant) {
        return user.wallTimeAt(DateTime::fromUnix(instant));
    };
    if (icaltime_is_utc(t)) return inUserZone(wall.toUnix());
    icalparameter* parameter = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    const std::string tzid = parameter ? text(icalparameter_get_tzid(parameter)) : "";
    if (tzid.empty()) return wall;  // floating: the user's own clock
    if (tzid == "UTC" || tzid == "GMT" || tzid == "Etc/UTC") return inUserZone(wall.toUnix());
    // A tz name, or one behind a maker's prefix ("/example.org/2020_1/Europe/Berlin"), is read from the
    // tz database; the text's own VTIMEZONE serves for other names.
    for (std::size_t at = 0; at != std::string::npos; at = tzid.find('/', at + 1)) {
        const std::string name = tzid.substr(at == 0 ? 0 : at + 1);
        if (name.empty() || name.front() == '/') continue;
        if (Result<ZoneCache::ZonePtr> zone = zoneNamed(context.zoneinfoDir, name)) {
            // The user's own zone keeps the reading as it is, even one its clock change skips.
            if ((*zone)->name() == user.name()) return wall;
            return inUserZone((*zone)->instantOf(wall.toUnix()));
        }
    }
    if (icaltimezone* own = icalcomponent_get_timezone(calendar, tzid.c_str())) {
        icaltimetype local = t;
        local.zone = nullptr;
        return inUserZone(static_cast<std::int64_t>(icaltime_as_timet_with_zone(local, own)));
    }
    return Failure{"a start in the time zone \"" + tzid + "\", which the file does not describe"};
}

const char* frequencyWords(icalrecurrencetype_frequency frequency) {
    switch (frequency) {
        case ICAL_SECONDLY_RECURRENCE:
            return "a rule repeating every second";
        case ICAL_MINUTELY_RECURRENCE:
            return "a rule repeating every minute";
        case ICAL_MONTHLY_RECURRENCE:
            return "a monthly rule";
        case ICAL_YEARLY_RECURRENCE:
            return "a yearly rule";
        default:
            return "a repeat rule that cannot be read";
    }
}

bool hasAny(const short* values) {
    return values[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

// The stored repeat code of an event's repeat rules, or why a reminder cannot repeat so.
Result<std::string> recurOf(icalcomponent* event, const icaltimetype& start) {
    const auto cannot = [](const std::string& what) {
        return Failure{what + ", which a reminder cannot repeat"};
    };
    if (icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY)) return cannot("extra dates (RDATE)");
    icalproperty* first = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!first) return std::string("-1");
    if (icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) return cannot("several repeat rules");
    const icalrecurrencetype rule = icalproperty_get_rrule(first);
    std::string code;
    switch (rule.freq) {
        case ICAL_HOURLY_RECURRENCE:
            code = "0";
            break;
        case ICAL_DAILY_RECURRENCE:
            code = "1";
            break;
        case ICAL_WEEKLY_RECURRENCE:
            code = "2";
            break;
        default:
            return cannot(frequencyWords(rule.freq));
    }
    if (rule.interval > 1)
        return cannot("a rule repeating every " + std::to_string(rule.interval) + " steps");
    if (rule.count > 0) return cannot("a rule that ends after " + std::to_string(rule.count) + " times");
    if (!icaltime_is_null_time(rule.until)) return cannot("a rule with an end date");
    // A weekly rule may name the start's own weekday, as phones write it.
    bool otherDays = false;
    if (hasAny(rule.by_day)) {
        const int weekday = icaltime_day_of_week(start);  // 1 = Sunday
        otherDays = rule.freq != ICAL_WEEKLY_RECURRENCE || rule.by_day[1] != ICAL_RECURRENCE_ARRAY_MAX ||
                    icalrecurrencetype_day_position(rule.by_day[0]) != 0 ||
                    static_cast<int>(icalrecurrencetype_day_day_of_week(rule.by_day[0])) != weekday;
    }
    if (otherDays || hasAny(rule.by_second) || hasAny(rule.by_minute) || hasAny(rule.by_hour) ||
        hasAny(rule.by_month_day) || hasAny(rule.by_year_day) || hasAny(rule.by_week_no) ||
        hasAny(rule.by_month) || hasAny(rule.by_set_pos))
        return cannot("a rule that picks particular days or hours");
    return code;
}

bool enabledOf(icalcomponent* event) {
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY))
        if (equalsNoCase(text(icalproperty_get_x_name(p)), kEnabledProperty))
            return trim(text(icalproperty_get_x(p))) == "1";
    return icalcomponent_get_status(event) != ICAL_STATUS_CANCELLED;
}

EventReminder reminderOfEvent(icalcomponent* event, icalcomponent* calendar,
                              const ReminderEventContext& context) {
    EventReminder found;
    found.uid = cleaned(text(icalcomponent_get_uid(event)));
    icalproperty* summary = icalcomponent_get_first_property(event, ICAL_SUMMARY_PROPERTY);
    found.summary = cleaned(summary ? text(icalproperty_get_summary(summary)) : "");
    const auto refused = [&](const std::string& why) {
        found.reminder = Failure{"the event \"" + (found.summary.empty() ? found.uid : found.summary) +
                                 "\" cannot be a reminder: it has " + why};
        return found;
    };
    if (trim(found.summary).empty()) return refused("no title");
    if (found.summary.find('"') != std::string::npos) return refused(std::string("a title ") + kQuoteRefusal);
    icalproperty* description = icalcomponent_get_first_property(event, ICAL_DESCRIPTION_PROPERTY);
    const std::string body = cleaned(description ? text(icalproperty_get_description(description)) : "");
    if (body.find('"') != std::string::npos) return refused(std::string("a message ") + kQuoteRefusal);

    Result<ZoneCache::ZonePtr> zone = userZone(context);
    if (!zone) return refused(zone.message());
    icalproperty* startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    const icaltimetype start = startProperty ? icalproperty_get_dtstart(startProperty) : icaltime_null_time();
    if (!isUsableTime(start)) return refused("no start that can be read");
    Result<DateTime> wall = userWallOf(startProperty, start, calendar, context, **zone);
    if (!wall) return refused(wall.message());
    Result<std::string> recur = recurOf(event, start);
    if (!recur) return refused(recur.message());

    ReminderRecord reminder;
    reminder.title = found.summary;
    reminder.date = reminderDateText(wall->date(), context.dateFormat);
    // A date that reads back as another day (a year the format writes short) or as none cannot be kept.
    const auto back = dayOfReminder(reminder.date, context, **zone);
    if (!back || (readDateText(reminder.date, context.dateFormat) && *back != wall->date()))
        return refused("a date (" + formatPattern(*wall, "yyyy-mm-dd") + ") the date format cannot write");
    reminder.time = formatPattern(wall->timeOfDay(), "HH:MM:SS");
    reminder.enabled = enabledOf(event) ? "1" : "0";
    reminder.recur = *recur;
    reminder.body = body;
    found.reminder = reminder;
    return found;
}

// The start of a text, printable, to name it in a message.
std::string firstWords(const std::string& input) {
    const std::string line = input.substr(0, std::min(input.find_first_of("\r\n"), std::size_t{40}));
    std::string shown;
    for (char c : line) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    return shown;
}

// The text's parsed root, or libical's reason why it is no iCalendar.
Result<Component> parsed(const std::string& input) {
    if (input.find_first_not_of(" \t\r\n") == std::string::npos) return Failure{"the file is empty"};
    // libical reads up to a NUL; a NUL inside the text would hide the rest of it.
    if (input.find('\0') != std::string::npos) return Failure{"the file holds a NUL byte"};
    icalerror_set_errors_are_fatal(0);
    icalerror_clear_errno();
    Component root = owned(icalparser_parse_string(input.c_str()));
    const std::string reason = icalerrno != ICAL_NO_ERROR ? text(icalerror_strerror(icalerrno)) : "";
    icalerror_clear_errno();
    if (!root)
        return Failure{"the file is no iCalendar text (" +
                       (reason.empty() ? "it begins \"" + firstWords(input) + "\"" : reason) + ")"};
    if (icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT &&
        !icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT)) {
        const std::string kind = text(icalcomponent_kind_to_string(icalcomponent_isa(root.get())));
        std::string why = !reason.empty() ? reason : kind.empty() ? std::string() : "it holds " + kind;
        if (icalproperty* error = icalcomponent_get_first_property(root.get(), ICAL_XLICERROR_PROPERTY))
            why = text(icalproperty_get_xlicerror(error));
        return Failure{"the file holds no VCALENDAR" + (why.empty() ? "" : " (" + why + ")")};
    }
    return root;
}

std::vector<icalcomponent*> childrenOf(icalcomponent* parent, icalcomponent_kind kind) {
    std::vector<icalcomponent*> found;
    for (icalcomponent* c = icalcomponent_get_first_component(parent, kind); c;
         c = icalcomponent_get_next_component(parent, kind))
        found.push_back(c);
    return found;
}

std::vector<icalcomponent*> calendarsOf(icalcomponent* root) {
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) return {root};
    return childrenOf(root, ICAL_VCALENDAR_COMPONENT);
}

// Each UID's events once: its master (the one without RECURRENCE-ID), or its first override.
std::vector<EventReminder> remindersOf(icalcomponent* root, const ReminderEventContext& context) {
    struct Picked {
        icalcomponent* event;
        icalcomponent* calendar;
    };
    std::vector<Picked> picked;
    std::map<std::string, std::size_t> byUid;  // where each uid's pick is
    for (icalcomponent* calendar : calendarsOf(root))
        for (icalcomponent* event : childrenOf(calendar, ICAL_VEVENT_COMPONENT)) {
            const std::string uid = text(icalcomponent_get_uid(event));
            const auto [at, first] = byUid.emplace(uid, picked.size());
            if (first || uid.empty()) {
                picked.push_back({event, calendar});
            } else if (!icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) &&
                       icalcomponent_get_first_property(picked[at->second].event,
                                                        ICAL_RECURRENCEID_PROPERTY)) {
                picked[at->second] = {event, calendar};
            }
        }
    std::vector<EventReminder> result;
    for (const Picked& p : picked) result.push_back(reminderOfEvent(p.event, p.calendar, context));
    return result;
}

}  // namespace

Result<std::string> eventFromReminder(const ReminderRecord& reminder, const std::string& uid,
                                      const ReminderEventContext& context) {
    std::lock_guard<std::mutex> hold(libicalLock());
    Component calendar = newCalendar();
    icalcomponent* zone = zoneComponent(context.zoneId);
    Result<Component> event = eventComponent(reminder, uid, context, zone != nullptr);
    if (!event) {
        if (zone) icalcomponent_free(zone);
        return event.why();
    }
    if (zone) icalcomponent_add_component(calendar.get(), zone);
    icalcomponent_add_component(calendar.get(), event->release());
    return textOf(calendar.get());
}

EventReminder reminderFromEvent(const std::string& text, const ReminderEventContext& context) {
    std::lock_guard<std::mutex> hold(libicalLock());
    Result<Component> root = parsed(text);
    EventReminder none;
    if (!root) {
        none.reminder = root.why();
        return none;
    }
    std::vector<EventReminder> found = remindersOf(root->get(), context);
    if (found.empty()) {
        none.reminder = Failure{"the file holds no event"};
        return none;
    }
    return std::move(found.front());
}

Result<std::vector<EventReminder>> remindersFromCalendar(const std::string& text,
                                                         const ReminderEventContext& context) {
    std::lock_guard<std::mutex> hold(libicalLock());
    Result<Component> root = parsed(text);
    if (!root) return root.why();
    return remindersOf(root->get(), context);
}

ReminderCalendar calendarFromReminders(const std::vector<UidReminder>& reminders,
                                       const ReminderEventContext& context) {
    std::lock_guard<std::mutex> hold(libicalLock());
    ReminderCalendar result;
    Component calendar = newCalendar();
    icalcomponent* zone = zoneComponent(context.zoneId);
    if (zone) icalcomponent_add_component(calendar.get(), zone);
    for (const UidReminder& one : reminders) {
        Result<Component> event = eventComponent(one.reminder, one.uid, context, zone != nullptr);
        if (event)
            icalcomponent_add_component(calendar.get(), event->release());
        else
            result.skipped.push_back(event.message());
    }
    result.text = textOf(calendar.get());
    return result;
}

std::string newReminderUid() {
    static std::mutex lock;
    static std::mt19937_64 random{std::random_device{}()};
    std::lock_guard<std::mutex> hold(lock);
    char written[40];
    std::snprintf(written, sizeof written, "%016llx%016llx", static_cast<unsigned long long>(random()),
                  static_cast<unsigned long long>(random()));
    return std::string(written) + "@tavrin";
}

}  // namespace tavrin
