#include "core/timezones/ZoneCache.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

#include <sys/stat.h>

namespace tavrin {
namespace {

// The zone library keeps every zone it loaded by the name it was loaded under, for the life of the
// process, and answers a second load of that name from memory. A file replaced by an update is
// therefore loaded under another spelling of its path ("/./" added after the root), one more for
// each time the file was seen to change; the old zone stays in the library's memory, a few
// kilobytes for each update of the tz database.
std::string loadSpelling(const std::string& path, std::int64_t stampKey) {
    static std::mutex mutex;
    static std::map<std::string, std::pair<std::int64_t, int>> seen;  // path -> last stamp, respellings
    std::lock_guard lock(mutex);
    auto [it, fresh] = seen.try_emplace(path, stampKey, 0);
    if (!fresh && it->second.first != stampKey) {
        it->second.first = stampKey;
        ++it->second.second;
    }
    std::string spelling = "/";
    for (int i = 0; i < it->second.second; ++i) spelling += "./";
    return spelling + path.substr(1);
}

}  // namespace

ZoneCache::FileStamp ZoneCache::stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {.statError = errno};
    return {true,
            std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec,
            std::int64_t{st.st_size},
            std::uint64_t{st.st_ino},
            std::uint64_t{st.st_dev},
            0};
}

Result<ZoneCache::ZonePtr> ZoneCache::load(const std::string& path, const std::string& id,
                                           const FileStamp& stamp) {
    if (!stamp.exists)
        return Failure{"no zone file " + path + ": " + std::strerror(stamp.statError), stamp.statError};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Failure{path + " is no zone file but a folder"};
    cctz::time_zone zone;
    const std::int64_t stampKey = stamp.modified ^ stamp.size ^ static_cast<std::int64_t>(stamp.inode);
    if (!cctz::load_time_zone(loadSpelling(path, stampKey), &zone))
        return Failure{path + " is damaged or no zone file of the tz database"};
    const std::string name = id.empty() ? zoneIdFromPath(path) : id;
    return std::make_shared<const Zone>(name.empty() ? path : name, zone);
}

Result<ZoneCache::ZonePtr> ZoneCache::zone(const std::string& zoneinfoDir, const std::string& id) {
    std::string key = zoneinfoDir;
    key += '\0';
    key += id;
    {
        std::shared_lock lock(mutex_);
        if (const auto path = paths_.find(key); path != paths_.end())
            if (const auto it = zones_.find(path->second); it != zones_.end()) return it->second.zone;
    }
    const auto path = zoneFilePath(zoneinfoDir, id);
    if (!path) return Failure{"no zone '" + id + "' in " + zoneinfoDir};
    {
        std::unique_lock lock(mutex_);
        paths_.insert_or_assign(std::move(key), *path);
    }
    return zoneAt(*path, id);
}

Result<ZoneCache::ZonePtr> ZoneCache::zoneAt(const std::string& path, const std::string& id) {
    {
        std::shared_lock lock(mutex_);
        const auto it = zones_.find(path);
        if (it != zones_.end()) return it->second.zone;
    }
    std::unique_lock lock(mutex_);
    // Another thread may have read it while this one waited for the lock.
    const auto it = zones_.find(path);
    if (it != zones_.end()) return it->second.zone;
    const FileStamp stamp = stampOf(path);
    ++filesRead_;
    Entry entry{stamp, load(path, id, stamp)};
    return zones_.emplace(path, std::move(entry)).first->second.zone;
}

std::size_t ZoneCache::refresh() {
    std::unique_lock lock(mutex_);
    std::size_t dropped = 0;
    for (auto it = zones_.begin(); it != zones_.end();) {
        if (stampOf(it->first) == it->second.stamp) {
            ++it;
            continue;
        }
        it = zones_.erase(it);
        ++dropped;
    }
    if (dropped > 0) ++generation_;
    return dropped;
}

std::uint64_t ZoneCache::generation() const {
    std::shared_lock lock(mutex_);
    return generation_;
}

std::size_t ZoneCache::filesRead() const {
    std::shared_lock lock(mutex_);
    return filesRead_;
}

std::string zoneIdFromPath(const std::string& path) {
    const std::string marker = "zoneinfo/";
    const auto at = path.rfind(marker);
    if (at == std::string::npos) return {};
    std::string id = path.substr(at + marker.size());
    // Debian also keeps "posix/" and "right/" copies of every zone.
    for (const char* prefix : {"posix/", "right/"})
        if (id.rfind(prefix, 0) == 0) id = id.substr(std::string(prefix).size());
    return id;
}

std::optional<std::string> zoneFilePath(const std::string& zoneinfoDir, const std::string& id) {
    // An id that could leave the folder is no zone.
    if (id.empty() || id[0] == '/' || id.find("..") != std::string::npos ||
        id.find('\\') != std::string::npos)
        return std::nullopt;
    std::error_code ec;
    const auto path = std::filesystem::absolute(std::filesystem::path(zoneinfoDir) / id, ec);
    if (ec) return std::nullopt;
    return path.lexically_normal().string();
}

}  // namespace tavrin
