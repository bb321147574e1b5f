#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>

#include "core/base/Text.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/MachineZone.h"
#include "core/timezones/MeetingPlan.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneState.h"
#include "ctl/Commands.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kPlanUsage =
    "Usage: tavrinctl plan \"YYYY-MM-DD HH:MM\" [--from ZONE] [--find HOURS]\n"
    "       (the time in your own zone, or in ZONE: a tz name or the place of a chosen zone)\n";

// What the plan reads of the user's settings, without writing anything: the chosen zones' names and
// the working hours.
struct PlanSettings {
    std::vector<std::string> zoneNames;
    std::string workingHours = kDefaultWorkingHours;
};

PlanSettings readPlanSettings(const Paths& paths, std::ostream& err) {
    PlanSettings read;
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    const std::optional<Root> root = chooseSettingsRoot(*store);
    if (!root) return read;
    const Result<KeyHandle> key = openKey(*store, *root, kSettingsKey);
    if (!key) {
        err << "tavrinctl: the settings cannot be read (" << key.message()
            << "); planning for your own zone\n";
        return read;
    }
    // The count as the menu reads it: the whole zones of its number, at most the list's slots.
    const double n = leadingNumber(readText(*store, *key, "NumTimeZones").valueOr("0"));
    const int count = n >= kMaxZones ? kMaxZones : n >= 1 ? static_cast<int>(n) : 0;
    for (int slot = 1; slot <= count; ++slot) {
        std::string name = trimAtNull(readText(*store, *key, "TZone" + std::to_string(slot)).valueOr({}));
        if (!name.empty()) read.zoneNames.push_back(std::move(name));
    }
    if (Result<std::string> hours = readText(*store, *key, "WorkingHours"))
        read.workingHours = trimAtNull(*hours);
    return read;
}

std::string caseFolded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string offsetText(std::int32_t seconds) {
    const std::int32_t minutes = std::abs(seconds) / 60;
    char text[32];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

std::string wallText(const DateTime& wall, const char* pattern) {
    return formatPattern(wall, pattern, CalendarNames::english());
}

// HOURS as a number of hours ("1", "1.5", "0.25"), in whole quarter hours, up to a day.
std::optional<int> slotMinutes(const std::string& text) {
    char* end = nullptr;
    const double hours = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(hours > 0) || hours > 24) return std::nullopt;
    const double quarters = hours * 4;
    if (std::abs(quarters - std::round(quarters)) > 1e-9) return std::nullopt;
    return static_cast<int>(std::round(quarters)) * 15;
}

std::string durationText(int minutes) {
    std::string text;
    if (minutes >= 60) text = std::to_string(minutes / 60) + " h";
    if (minutes % 60) text += (text.empty() ? "" : " ") + std::to_string(minutes % 60) + " min";
    return text;
}

}  // namespace

int cmdPlan(const Args& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words;
    std::string fromName, findText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool from = args[i] == "--from", find = args[i] == "--find";
        if (from || find) {
            if (i + 1 >= args.size()) return usageError(err, args[i] + " needs a value", kPlanUsage);
            (from ? fromName : findText) = args[++i];
        } else if (args[i].rfind("--", 0) == 0) {
            return usageError(err, "unknown option '" + args[i] + "'", kPlanUsage);
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.empty()) return usageError(err, "'plan' needs a date and time", kPlanUsage);
    // An unquoted date and time arrive as two words; they are the same text.
    const std::string whenText = words.size() == 2 ? words[0] + " " + words[1] : words[0];
    const std::optional<DateTime> when =
        words.size() <= 2 ? DateTime::fromIsoText(whenText + ":00") : std::nullopt;
    if (!when)
        return usageError(err,
                          "'" + escapeOnOneLine(whenText, {.nul = true}) +
                              "' is not a date and time of the form YYYY-MM-DD HH:MM",
                          kPlanUsage);
    std::optional<int> minutes;
    if (!findText.empty() && !(minutes = slotMinutes(findText)))
        return usageError(err, "--find takes hours in quarter hours, as 1, 1.5 or 0.25 (up to 24)",
                          kPlanUsage);

    const Paths paths = Paths::fromEnvironment();
    const std::string folder = paths.zoneinfoDir;
    const PlanSettings settings = readPlanSettings(paths, err);
    WorkingHours hours;
    if (const Result<WorkingHours> read = readWorkingHours(settings.workingHours))
        hours = *read;
    else
        err << "tavrinctl: the setting WorkingHours: " << read.message() << "; planning with "
            << kDefaultWorkingHours << '\n';

    // Your own zone first, then the chosen ones, each once; a chosen zone that cannot be read is
    // named and left out.
    ZoneCache cache;
    std::vector<ZoneCache::ZonePtr> zones;
    const std::string homeId = machineZoneId(folder);
    const Result<ZoneCache::ZonePtr> home = cache.zone(folder, homeId);
    if (!home) {
        err << "tavrinctl: your own zone " << homeId << " cannot be read: " << home.message() << '\n';
        return 1;
    }
    zones.push_back(*home);
    for (const std::string& name : settings.zoneNames) {
        const Result<ZoneCache::ZonePtr> zone = cache.zone(folder, name);
        if (!zone) {
            err << "tavrinctl: the chosen zone '" << escapeOnOneLine(name)
                << "' is left out: " << zone.message() << '\n';
        } else if (std::none_of(zones.begin(), zones.end(),
                                [&](const auto& z) { return z->name() == name; })) {
            zones.push_back(*zone);
        }
    }

    // The zone WHEN is read in: a chosen zone by its place ("tokyo"), or any tz name.
    ZoneCache::ZonePtr from = *home;
    if (!fromName.empty()) {
        const auto chosen = std::find_if(zones.begin(), zones.end(), [&](const auto& z) {
            return caseFolded(z->displayName()) == caseFolded(fromName) || z->name() == fromName;
        });
        if (chosen != zones.end()) {
            from = *chosen;
        } else if (const Result<ZoneCache::ZonePtr> named = cache.zone(folder, fromName)) {
            from = *named;
        } else {
            return usageError(err,
                              "no zone '" + escapeOnOneLine(fromName, {.nul = true}) +
                                  "' among the chosen zones or in the zone folder",
                              kPlanUsage);
        }
    }
    const LocalReading reading = from->readWallTime(*when);
    const std::string whenShown = wallText(*when, "yyyy-mm-dd hh:nn");
    if (reading.kind == LocalReading::Kind::Skipped) {
        err << "tavrinctl: " << whenShown << " does not exist in " << from->name() << ": the clocks go from "
            << offsetText(reading.change.offsetBefore) << " to " << offsetText(reading.change.offsetAfter)
            << " at "
            << wallText(DateTime::fromUnix(reading.change.at + reading.change.offsetBefore), "hh:nn")
            << " that day\n";
        return 1;
    }
    // Of an hour that comes twice, the first.
    if (reading.kind == LocalReading::Kind::Repeated)
        err << "tavrinctl: " << whenShown << " comes twice in " << from->name() << "; taking the first, at "
            << offsetText(reading.change.offsetBefore) << " (the second is at "
            << offsetText(reading.change.offsetAfter) << ")\n";
    const DateTime utc = reading.earlier;

    for (std::size_t i = 0; i < zones.size(); ++i) {
        const DateTime wall = zones[i]->wallTimeAt(utc);
        out << wallText(wall, "yyyy-mm-dd hh:nn ddd") << '\t' << zones[i]->name() << (i == 0 ? " (here)" : "")
            << (isWorkingTime(wall, hours) ? "\tworking hours" : "") << '\n';
    }
    if (!minutes) return 0;

    std::vector<const Zone*> everyone;
    for (const auto& z : zones) everyone.push_back(z.get());
    const std::vector<MeetingWindow> windows = findMeetingWindows(everyone, hours, utc, *minutes);
    out << '\n'
        << "Times for " << durationText(*minutes) << " inside everyone's working hours ("
        << workingHoursText(hours) << ", Monday to Friday in each zone) in the week from then, in "
        << from->name() << ":\n";
    if (windows.empty()) out << "none\n";
    for (const MeetingWindow& w : windows) {
        const DateTime start = from->wallTimeAt(w.startUtc), end = from->wallTimeAt(w.endUtc);
        out << wallText(start, "yyyy-mm-dd ddd hh:nn") << " - "
            << wallText(end, start.date() == end.date() ? "hh:nn" : "yyyy-mm-dd ddd hh:nn") << '\n';
    }
    return 0;
}

}  // namespace tavrin::ctl
