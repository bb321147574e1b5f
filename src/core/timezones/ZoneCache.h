#pragma once
// The zones read so far, shared by the catalogue, the world-time lines, the alarms and the floating
// clock: each zone file is read once, on its first request, and kept until the file changes. A tz
// database update replaces the files while the clock runs; the clock's minute tick calls refresh(),
// which looks at each file held (a stat, no read) and drops those replaced, so the next question
// reads the new file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "core/base/Result.h"
#include "core/timezones/Zone.h"

namespace tavrin {

class ZoneCache {
  public:
    using ZonePtr = std::shared_ptr<const Zone>;

    // The zone `id` ("Europe/Berlin") of the tz database in `zoneinfoDir`. Fails, with a reason, for
    // a name that is no file there and for a file that is no zone file; the failure is remembered
    // until the file changes, so a stale name costs one attempt only.
    Result<ZonePtr> zone(const std::string& zoneinfoDir, const std::string& id);
    // The zone in the file at `path` (a path zoneFilePath gave), named `id`, or after its path when
    // no id is given (see zoneIdFromPath).
    Result<ZonePtr> zoneAt(const std::string& path, const std::string& id = {});

    // Drops every zone whose file was replaced, changed or came or went since it was read. Returns
    // how many went.
    std::size_t refresh();
    // Counts the refreshes that dropped a zone: whoever keeps what it worked out from a zone keeps
    // it only while this stays the same.
    std::uint64_t generation() const;
    // How many times a file was read from disk.
    std::size_t filesRead() const;

  private:
    // What stat says of a file, to notice a replaced one.
    struct FileStamp {
        bool exists = false;
        std::int64_t modified = 0;  // nanoseconds
        std::int64_t size = 0;
        std::uint64_t inode = 0;
        std::uint64_t device = 0;
        int statError = 0;  // why stat failed, when the file is not there
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    struct Entry {
        FileStamp stamp;
        Result<ZonePtr> zone;
    };
    static FileStamp stampOf(const std::string& path);
    static Result<ZonePtr> load(const std::string& path, const std::string& id, const FileStamp& stamp);

    mutable std::shared_mutex mutex_;
    std::unordered_map<std::string, Entry> zones_;
    // "folder\0id" -> the path zoneFilePath makes of it, so a warm lookup by name costs no path work.
    std::unordered_map<std::string, std::string> paths_;
    std::size_t filesRead_ = 0;
    std::uint64_t generation_ = 0;
};

// The one spelling of a zone file's path that the cache is keyed by: absolute and normal, so records
// keep finding the file from any working folder. Nothing when no such path can be made.
std::optional<std::string> zoneFilePath(const std::string& zoneinfoDir, const std::string& id);
// The zone id a path to a zone file names ("/usr/share/zoneinfo/Europe/Berlin", or a "posix/" or
// "right/" copy of it, gives "Europe/Berlin"); empty for a path without a "zoneinfo/" part.
std::string zoneIdFromPath(const std::string& path);

}  // namespace tavrin
