#include "core/calendars/CalendarList.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "core/base/Text.h"
#include "core/store/ChangeBatch.h"
#include "core/store/KeyNames.h"
#include "core/store/StoreAccess.h"

namespace tavrin {
namespace {

constexpr const char* kOrderValue = "Order";

std::string listPath() {
    return std::string(kSettingsKey) + "\\" + kCalendarsKeyName;
}

std::vector<std::string> splitOrder(std::string_view order) {
    std::vector<std::string> ids;
    while (!order.empty()) {
        const auto comma = order.find(',');
        const std::string_view id = order.substr(0, comma);
        if (!id.empty()) ids.emplace_back(id);
        if (comma == std::string_view::npos) break;
        order.remove_prefix(comma + 1);
    }
    return ids;
}

// One calendar's subkey; a value that is missing or cannot be read makes the entry damaged, except
// User (none needed) and Enabled (on).
Result<CalendarSubscription> readEntry(Store& store, const KeyHandle& list, const std::string& id) {
    if (!isCalendarId(id))
        return Failure{"the calendar entry \"" + id + "\" has a name that is no calendar id"};
    const Result<KeyHandle> key = openKey(store, list, id);
    if (!key) return Failure{"the calendar entry \"" + id + "\" cannot be read: " + key.message()};
    auto text = [&](const char* name) { return readText(store, *key, name); };
    const auto damaged = [&](const std::string& why) {
        return Failure{"the calendar entry \"" + id + "\" is damaged: " + why};
    };
    CalendarSubscription calendar;
    calendar.id = id;
    const Result<std::string> name = text("Name");
    const Result<std::string> address = text("Address");
    const Result<std::string> source = text("Source");
    const Result<std::string> colour = text("Colour");
    if (!name) return damaged(name.message());
    if (!address || address->empty()) return damaged(address ? "it has no address" : address.message());
    if (!source) return damaged(source.message());
    if (!colour) return damaged(colour.message());
    const std::optional<CalendarSource> kind = calendarSourceFromText(*source);
    if (!kind) return damaged("\"" + *source + "\" is no kind of calendar");
    const std::optional<std::uint32_t> rgb = calendarColourFromText(*colour);
    if (!rgb) return damaged("\"" + *colour + "\" is no colour");
    calendar.name = *name;
    calendar.address = *address;
    calendar.source = *kind;
    calendar.colour = *rgb;
    calendar.user = text("User").valueOr("");
    calendar.enabled = text("Enabled").valueOr("1") != "0";
    return calendar;
}

}  // namespace

std::string calendarSourceText(CalendarSource source) {
    switch (source) {
        case CalendarSource::File:
            return "file";
        case CalendarSource::CalDav:
            return "caldav";
        case CalendarSource::Feed:
            break;
    }
    return "feed";
}

std::optional<CalendarSource> calendarSourceFromText(std::string_view text) {
    if (text == "file") return CalendarSource::File;
    if (text == "feed") return CalendarSource::Feed;
    if (text == "caldav") return CalendarSource::CalDav;
    return std::nullopt;
}

std::string calendarColourText(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::optional<std::uint32_t> calendarColourFromText(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t colour = 0;
    for (char c : text.substr(1)) {
        const std::optional<int> digit = hexDigit(c);
        if (!digit) return std::nullopt;
        colour = colour * 16 + static_cast<std::uint32_t>(*digit);
    }
    return colour;
}

bool isCalendarId(std::string_view id) {
    return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '_';
    });
}

std::string newCalendarId(const std::vector<CalendarSubscription>& taken) {
    std::random_device random;
    for (;;) {
        char id[17];
        std::snprintf(id, sizeof id, "%08x%08x", static_cast<unsigned>(random()),
                      static_cast<unsigned>(random()));
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const CalendarSubscription& c) { return c.id == id; }))
            return id;
    }
}

Result<CalendarListReading> readCalendarListReporting(Store& store, Root root) {
    CalendarListReading reading;
    if (Result<> readable = keyReadable(store, root, listPath()); !readable) return readable.why();
    const Result<KeyHandle> list = openKey(store, root, listPath());
    if (!list) return reading;  // never written: no calendars
    const Result<std::vector<std::string>> keys = subKeyNames(store, *list);
    if (!keys) return keys.why();
    // The stored order first; an entry the order leaves out still comes, after the others, so a
    // damaged order loses no calendar.
    std::vector<std::string> ids;
    for (const std::string& id : splitOrder(readText(store, *list, kOrderValue).valueOr("")))
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    for (const std::string& key : *keys)
        if (std::find(ids.begin(), ids.end(), key) == ids.end()) ids.push_back(key);
    for (const std::string& id : ids) {
        if (std::find(keys->begin(), keys->end(), id) == keys->end()) {
            reading.skipped.push_back("the calendar \"" + id + "\" in the order has no entry");
            continue;
        }
        Result<CalendarSubscription> calendar = readEntry(store, *list, id);
        if (calendar)
            reading.calendars.push_back(std::move(*calendar));
        else
            reading.skipped.push_back(calendar.message());
    }
    return reading;
}

Result<std::vector<CalendarSubscription>> readCalendarList(Store& store, Root root) {
    Result<CalendarListReading> reading = readCalendarListReporting(store, root);
    if (!reading) return reading.why();
    return std::move(reading->calendars);
}

Result<> writeCalendarList(Store& store, Root root, const std::vector<CalendarSubscription>& calendars) {
    for (const CalendarSubscription& calendar : calendars)
        if (!isCalendarId(calendar.id)) return Failure{"\"" + calendar.id + "\" is no calendar id"};
    const Result<KeyHandle> settings = makeSettingsKey(store, root);
    if (!settings) return settings.why();
    ChangeBatch batch(store, root);
    const Result<KeyHandle> list = makeKey(store, *settings, kCalendarsKeyName);
    if (!list) return list.why();
    const Result<std::vector<std::string>> old = subKeyNames(store, *list);
    if (!old) return old.why();
    std::string order;
    for (const CalendarSubscription& calendar : calendars) {
        const Result<KeyHandle> key = makeKey(store, *list, calendar.id);
        if (!key) return key.why();
        const std::pair<const char*, std::string> values[] = {
            {"Name", calendar.name},
            {"Address", calendar.address},
            {"Source", calendarSourceText(calendar.source)},
            {"User", calendar.user},
            {"Colour", calendarColourText(calendar.colour)},
            {"Enabled", calendar.enabled ? "1" : "0"},
        };
        for (const auto& [name, text] : values)
            if (Result<> written = writeText(store, *key, name, text); !written) return written;
        order += (order.empty() ? "" : ",") + calendar.id;
    }
    if (Result<> written = writeText(store, *list, kOrderValue, order); !written) return written;
    // A calendar left out is removed; a damaged entry is kept as it is, as the reader skipped it and
    // nobody chose to drop it.
    for (const std::string& id : *old)
        if (std::none_of(calendars.begin(), calendars.end(), [&](const auto& c) { return c.id == id; }) &&
            readEntry(store, *list, id))
            if (Result<> gone = deleteKey(store, root, listPath() + "\\" + id); !gone) return gone;
    return batch.commit();
}

}  // namespace tavrin
