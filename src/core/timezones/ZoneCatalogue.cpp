#include "core/timezones/ZoneCatalogue.h"

#include <cstdio>
#include <filesystem>
#include <limits>
#include <sstream>
#include <system_error>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
#include "core/store/KeyNames.h"
#include "core/store/KeyPath.h"
#include "core/timezones/MachineZone.h"

namespace tavrin {
namespace {

constexpr const char* kUtcId = "UTC";

// Tab-separated lines without comments.
std::vector<std::vector<std::string>> readTable(const std::string& file) {
    std::vector<std::vector<std::string>> rows;
    // A database without the table lists no zone; UTC is still there.
    const Result<std::string> text = AtomicFile::read(file);
    if (!text) return rows;
    std::istringstream in(*text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        std::string cell;
        while (std::getline(cellsIn, cell, '\t')) cells.push_back(cell);
        rows.push_back(std::move(cells));
    }
    return rows;
}

int yearOf(std::int64_t unixSeconds) {
    return DateTime::fromUnix(unixSeconds).year();
}

// The year whose rule block applies at `utc`: the zone's local year there, settled on the year of
// the block's own standard time, which is the year the daylight test reads the rule in.
template <typename RuleForYear>
auto ruleAt(const Zone& zone, std::int64_t utc, RuleForYear&& forYear) {
    const int first = yearOf(utc + zone.offsetAt(utc));
    auto rule = forYear(first);
    if (!rule) return rule;
    const int settled = yearOf(utc - std::int64_t{rule->record.Bias} * 60);
    return settled == first ? rule : forYear(settled);
}

}  // namespace

std::string gmtOffsetText(std::int32_t bias) {
    if (bias == 0) return "(GMT)";
    const std::int32_t east = -bias;
    const std::int32_t a = east < 0 ? -east : east;
    char buf[32];
    std::snprintf(buf, sizeof buf, "(GMT%c%02d:%02d)", east < 0 ? '-' : '+', a / 60, a % 60);
    return buf;
}

ZoneCatalogue::ZoneCatalogue(std::string zoneinfoDir, const ClockService& clock,
                             std::shared_ptr<ZoneCache> zones)
    : dir_(std::move(zoneinfoDir)),
      clock_(clock),
      files_(std::move(zones)),
      filesGeneration_(files_->generation()) {
    for (auto part : splitKeyPath(kZoneRootNt)) rootParts_.emplace_back(part);
}

void ZoneCatalogue::followCacheLocked() {
    const std::uint64_t generation = files_->generation();
    if (generation == filesGeneration_) return;
    // An update of the tz database may have added zones, removed them or changed their rules.
    filesGeneration_ = generation;
    listLoaded_ = false;
    zones_.clear();
    index_.clear();
    unlisted_.clear();
}

void ZoneCatalogue::loadListLocked() {
    followCacheLocked();
    if (listLoaded_) return;
    listLoaded_ = true;
    std::unordered_map<std::string, std::string> countries;
    for (const auto& row : readTable(dir_ + "/iso3166.tab"))
        if (row.size() >= 2) countries[row[0]] = row[1];
    auto add = [&](const std::string& id, const std::string& country) {
        if (index_.count(upperAscii(id))) return;
        index_.emplace(upperAscii(id), zones_.size());
        Zone z;
        z.id = id;
        z.country = country;
        zones_.push_back(std::move(z));
    };
    for (const auto& row : readTable(dir_ + "/zone.tab")) {
        if (row.size() < 3 || row[2].empty() || row[2] == kUtcId) continue;
        std::error_code ec;
        if (!zoneFilePath(dir_, row[2]) || !std::filesystem::is_regular_file(dir_ + "/" + row[2], ec))
            continue;
        const auto c = countries.find(row[0]);
        add(row[2], c == countries.end() ? std::string() : c->second);
    }
    add(kUtcId, "");
}

ZoneCatalogue::Zone* ZoneCatalogue::findLocked(std::string_view id) {
    loadListLocked();
    const std::string key = upperAscii(id);
    const auto it = index_.find(key);
    if (it != index_.end()) return &zones_[it->second];
    // A zone the list leaves out is still found by its name, though never enumerated: the machine
    // may name its own zone "Etc/UTC" or a legacy link such as "US/Eastern", and the home zone must
    // still follow that zone's rules rather than fall back to the empty record.
    const auto known = unlisted_.find(key);
    if (known != unlisted_.end()) return known->second ? &*known->second : nullptr;
    std::optional<Zone> zone;
    const std::string name(id);
    std::error_code ec;
    if (zoneFilePath(dir_, name) && std::filesystem::is_regular_file(dir_ + "/" + name, ec)) {
        zone.emplace();
        zone->id = name;
    }
    auto& slot = unlisted_.emplace(key, std::move(zone)).first->second;
    return slot ? &*slot : nullptr;
}

bool ZoneCatalogue::readFileLocked(Zone& zone) {
    if (zone.loaded) return zone.timeline != nullptr;
    zone.loaded = true;
    const auto path = zoneFilePath(dir_, zone.id);
    if (path) zone.timeline = files_->zoneAt(*path, zone.id).valueOr(nullptr);
    if (zone.timeline) {
        zone.path = *path;
    } else if (zone.id == kUtcId) {
        // UTC needs no file: a database without one still gets a plain zone at offset 0.
        zone.timeline = std::make_shared<const tavrin::Zone>(tavrin::Zone::utc());
    }
    return zone.timeline != nullptr;
}

const ZoneYearRule* ZoneCatalogue::ruleForYearLocked(Zone& zone, int year) {
    if (!readFileLocked(zone)) return nullptr;
    auto it = zone.years.find(year);
    if (it == zone.years.end()) it = zone.years.emplace(year, buildZoneYearRule(*zone.timeline, year)).first;
    return &it->second;
}

const ZoneYearRule* ZoneCatalogue::ruleNowLocked(Zone& zone) {
    if (!readFileLocked(zone)) return nullptr;
    return ruleAt(*zone.timeline, clock_.utcNow().toUnix(),
                  [&](int year) { return ruleForYearLocked(zone, year); });
}

const ZoneCatalogue::Values* ZoneCatalogue::valuesLocked(Zone& zone) {
    const ZoneYearRule* rule = ruleNowLocked(zone);
    if (!rule) return nullptr;
    if (zone.valuesOf == rule) return &zone.values;
    Values& v = zone.values;
    v.standardName = rule->record.StandardName;
    v.daylightName = rule->record.DaylightName;
    v.tzi = encodeTzi(rule->record);
    zone.valuesOf = rule;
    return &v;
}

const std::string& ZoneCatalogue::displayLocked(Zone& zone) {
    const std::int64_t now = clock_.utcNow().toUnix();
    if (now >= zone.displayFrom && now < zone.displayUntil) return zone.display;
    const tavrin::Zone& tz = *zone.timeline;
    const auto before = tz.previousChangeAtOrBefore(now);
    const auto after = tz.nextChangeAfter(now);
    zone.displayFrom = before ? before->at : std::numeric_limits<std::int64_t>::min();
    zone.displayUntil = after ? after->at : std::numeric_limits<std::int64_t>::max();
    zone.display = gmtOffsetText(-tz.standardOffsetAt(now) / 60) + " ";
    if (zone.id == kUtcId)
        zone.display += "Coordinated Universal Time";
    else
        zone.display += tz.displayName() + (zone.country.empty() ? "" : ", " + zone.country);
    return zone.display;
}

ZoneCatalogue::Zone* ZoneCatalogue::zoneAtPathLocked(std::string_view path, std::size_t& depth,
                                                     bool& underRoot) {
    const auto parts = splitKeyPath(path);
    depth = parts.size();
    underRoot = true;
    for (std::size_t i = 0; i < parts.size() && i < rootParts_.size(); ++i)
        if (!equalsNoCase(parts[i], rootParts_[i])) underRoot = false;
    if (!underRoot || depth != rootParts_.size() + 1) return nullptr;
    return findLocked(parts.back());
}

bool ZoneCatalogue::hasKey(std::string_view path) {
    std::lock_guard lock(mutex_);
    std::size_t depth = 0;
    bool underRoot = false;
    Zone* zone = zoneAtPathLocked(path, depth, underRoot);
    return underRoot && (depth <= rootParts_.size() || zone != nullptr);
}

std::vector<std::string> ZoneCatalogue::subKeys(std::string_view path) {
    std::lock_guard lock(mutex_);
    std::size_t depth = 0;
    bool underRoot = false;
    zoneAtPathLocked(path, depth, underRoot);
    if (!underRoot || depth > rootParts_.size()) return {};
    if (depth < rootParts_.size()) return {rootParts_[depth]};
    loadListLocked();
    std::vector<std::string> ids;
    ids.reserve(zones_.size());
    for (const auto& z : zones_) ids.push_back(z.id);
    return ids;
}

bool ZoneCatalogue::getValue(std::string_view path, std::string_view name, ValueType& type,
                             std::string& data) {
    std::lock_guard lock(mutex_);
    std::size_t depth = 0;
    bool underRoot = false;
    Zone* zone = zoneAtPathLocked(path, depth, underRoot);
    if (!zone || !readFileLocked(*zone)) return false;
    type = ValueType::String;
    // The texts the menu reads come from the zone itself; only the rule block's values need the
    // block worked out.
    if (equalsNoCase(name, "Display")) {
        data = displayLocked(*zone);
        return true;
    }
    if (equalsNoCase(name, "TzFile")) {
        data = zone->path;
        return !data.empty();
    }
    const Values* values = valuesLocked(*zone);
    if (!values) return false;
    if (equalsNoCase(name, "Std"))
        data = values->standardName;
    else if (equalsNoCase(name, "Dlt"))
        data = values->daylightName;
    else if (equalsNoCase(name, "TZI")) {
        type = ValueType::Binary;
        data = values->tzi;
    } else
        return false;
    return true;
}

std::vector<std::string> ZoneCatalogue::zoneIds() {
    return subKeys(kZoneRootNt);
}

std::optional<ZoneRecord> ZoneCatalogue::zoneRecord(std::string_view id) {
    std::lock_guard lock(mutex_);
    Zone* zone = findLocked(id);
    if (!zone) return std::nullopt;
    const Values* values = valuesLocked(*zone);
    if (!values) return std::nullopt;
    ZoneRecord r = ruleNowLocked(*zone)->record;
    r.DisplayText = displayLocked(*zone);
    r.tzFile = zone->path;
    r.CityName = r.DisplayText.substr(r.DisplayText.find(')') + 1);
    return r;
}

std::optional<ZoneYearRule> ZoneCatalogue::zoneRuleForYear(std::string_view id, int year) {
    std::lock_guard lock(mutex_);
    Zone* zone = findLocked(id);
    if (!zone) return std::nullopt;
    const ZoneYearRule* rule = ruleForYearLocked(*zone, year);
    return rule ? std::optional<ZoneYearRule>(*rule) : std::nullopt;
}

std::shared_ptr<KeyProvider> makeZoneCatalogue(const std::string& zoneinfoDir, const ClockService& clock,
                                               std::shared_ptr<ZoneCache> zones) {
    return std::make_shared<ZoneCatalogue>(zoneinfoDir, clock, std::move(zones));
}

std::int32_t machineZoneBias(const std::string& zoneinfoDir, const ClockService& clock, ZoneCache& zones,
                             const std::string& etcDir) {
    const auto zone = zones.zone(zoneinfoDir, machineZoneId(zoneinfoDir, etcDir));
    if (!zone) return 0;
    const Zone& machine = **zone;
    const auto rule = ruleAt(machine, clock.utcNow().toUnix(), [&](int year) {
        return std::optional<ZoneYearRule>(buildZoneYearRule(machine, year));
    });
    return rule ? rule->record.Bias : 0;
}

}  // namespace tavrin
