#pragma once
// The zone files read so far, shared by the catalogue and the world-time routines of every thread:
// each file is read and parsed once, on its first request, and kept for the life of the process (the
// tz database changes only with a system update, which a restart of the clock takes in).
#include <cstddef>
#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "core/timezones/ZoneTimeline.h"

namespace tavrin {

class ZoneFileCache {
  public:
    // The zone in the TZif file at `path`; nullptr when it cannot be read or is no zone file, which is
    // remembered as well, so a stale name costs one attempt only.
    std::shared_ptr<const ZoneTimeline> get(const std::string& path);
    // How many times a file was read from disk.
    std::size_t filesRead() const;

    // The cache of the process.
    static ZoneFileCache& shared();

  private:
    mutable std::shared_mutex mutex_;
    std::unordered_map<std::string, std::shared_ptr<const ZoneTimeline>> zones_;
    std::size_t filesRead_ = 0;
};

// The one spelling of a zone file's path that the cache is keyed by: absolute and normal, so records
// keep finding the file from any working folder. Empty when no such path can be made.
std::string zoneFilePath(const std::string& zoneinfoDir, const std::string& id);

}  // namespace tavrin
