#pragma once
// The system's time-zone catalogue, built from the tz database: one key per zone under the zone
// root of the machine-wide root, with the values "Display", "Std", "Dlt" and "TZI", and "TzFile",
// the path of the zone's file, so a record read from the key can follow the zone's own transitions.
//
// Zones are those of zone.tab in its order, then "UTC" last. Each zone's values are those of the
// year the clock service is in (in the zone's own local time); a zone's file is read the first
// time one of its values is asked for, and each (zone, year) is worked out once, until the zone
// cache drops a zone whose file an update replaced: then the catalogue works its zones out anew.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/store/KeyProvider.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/TziBuilder.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {

class ZoneCatalogue final : public KeyProvider {
  public:
    // Zone files are read through `zones`, the cache the clock's other readers of zones share.
    ZoneCatalogue(std::string zoneinfoDir, const ClockService& clock,
                  std::shared_ptr<ZoneCache> zones = std::make_shared<ZoneCache>());

    bool hasKey(std::string_view path) override;
    std::vector<std::string> subKeys(std::string_view path) override;
    bool getValue(std::string_view path, std::string_view name, ValueType& type, std::string& data) override;

    // The zone ids in enumeration order.
    std::vector<std::string> zoneIds();
    // A zone's record as readZone would give it now (CityName included); nullopt for an unknown id
    // or a zone file that cannot be read.
    std::optional<ZoneRecord> zoneRecord(std::string_view id);
    // A zone's rule block for an explicit year; nullopt as above.
    std::optional<ZoneYearRule> zoneRuleForYear(std::string_view id, int year);

  private:
    struct Values {
        std::string standardName, daylightName, tzi;
    };
    struct Zone {
        std::string id;
        std::string country;  // the country's name, empty when unknown
        bool loaded = false;
        ZoneCache::ZonePtr timeline;  // null when the file cannot be read
        std::string path;             // the file's path, when it was read
        std::map<int, ZoneYearRule> years;
        // The values of the rule block last asked for: a record reads five of them in a row.
        const ZoneYearRule* valuesOf = nullptr;
        Values values;
        // The display text, good from one change of the zone's clock to the next.
        std::string display;
        std::int64_t displayFrom = 1;
        std::int64_t displayUntil = 0;
    };

    // Forgets what was worked out from zones when the cache has dropped any since.
    void followCacheLocked();
    void loadListLocked();
    Zone* findLocked(std::string_view id);
    bool readFileLocked(Zone& zone);
    const ZoneYearRule* ruleForYearLocked(Zone& zone, int year);
    const ZoneYearRule* ruleNowLocked(Zone& zone);
    // The zone's rule block values now; nullptr when its file cannot be read.
    const Values* valuesLocked(Zone& zone);
    // "(GMT+01:00) Berlin, Germany": the zone's standard offset now, its place and country. The
    // zone's file must have been read.
    const std::string& displayLocked(Zone& zone);
    // The zone named by a path below the zone root, or nullptr; `depth` gets the path's key count.
    Zone* zoneAtPathLocked(std::string_view path, std::size_t& depth, bool& underRoot);

    std::string dir_;
    const ClockService& clock_;
    std::shared_ptr<ZoneCache> files_;
    std::uint64_t filesGeneration_ = 0;
    std::mutex mutex_;
    bool listLoaded_ = false;
    std::vector<Zone> zones_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-case id -> zones_ index
    // Zones asked for by name that zone.tab does not list (nullopt: no such zone file).
    std::map<std::string, std::optional<Zone>> unlisted_;
    std::vector<std::string> rootParts_;
};

// The catalogue over `zones`; a catalogue of its own when none is given.
std::shared_ptr<KeyProvider> makeZoneCatalogue(
    const std::string& zoneinfoDir, const ClockService& clock,
    std::shared_ptr<ZoneCache> zones = std::make_shared<ZoneCache>());

// The text "(GMT+01:00)" for a Bias of -60, "(GMT)" for 0.
std::string gmtOffsetText(std::int32_t bias);

// The machine zone's standard Bias in minutes (UTC = local standard time + Bias) as the catalogue
// would give it now; 0 when the zone's file cannot be read. `etcDir` is where the machine's zone
// is looked up (tests point it elsewhere).
std::int32_t machineZoneBias(const std::string& zoneinfoDir, const ClockService& clock, ZoneCache& zones,
                             const std::string& etcDir = "/etc");

}  // namespace tavrin
