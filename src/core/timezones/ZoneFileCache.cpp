#include "core/timezones/ZoneFileCache.h"

#include <filesystem>
#include <mutex>
#include <system_error>

namespace tavrin {

std::shared_ptr<const ZoneTimeline> ZoneFileCache::get(const std::string& path) {
    {
        std::shared_lock lock(mutex_);
        const auto it = zones_.find(path);
        if (it != zones_.end()) return it->second;
    }
    std::unique_lock lock(mutex_);
    // Another thread may have read it while this one waited for the lock.
    const auto it = zones_.find(path);
    if (it != zones_.end()) return it->second;
    TzFile file;
    std::string error;
    ++filesRead_;
    std::shared_ptr<const ZoneTimeline> zone;
    if (TzFile::load(path, file, error)) zone = std::make_shared<const ZoneTimeline>(std::move(file));
    zones_.emplace(path, zone);
    return zone;
}

std::size_t ZoneFileCache::filesRead() const {
    std::shared_lock lock(mutex_);
    return filesRead_;
}

std::string zoneFilePath(const std::string& zoneinfoDir, const std::string& id) {
    std::error_code ec;
    const auto path = std::filesystem::absolute(std::filesystem::path(zoneinfoDir) / id, ec);
    return ec ? std::string() : path.lexically_normal().string();
}

ZoneFileCache& ZoneFileCache::shared() {
    static ZoneFileCache cache;
    return cache;
}

}  // namespace tavrin
