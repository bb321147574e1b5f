#include "core/timezones/MachineZone.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"
#include "core/timezones/ZoneCache.h"

namespace tavrin {
namespace {

bool isZoneFile(const std::string& zoneinfoDir, const std::string& id) {
    const std::optional<std::string> path = zoneFilePath(zoneinfoDir, id);
    std::error_code ec;
    return path && std::filesystem::is_regular_file(*path, ec);
}

}  // namespace

std::string machineZoneId(const std::string& zoneinfoDir, const std::string& etcDir) {
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string id = tz;
        if (id[0] == ':') id.erase(0, 1);
        if (!id.empty() && id[0] == '/') id = zoneIdFromPath(id);
        if (isZoneFile(zoneinfoDir, id)) return id;
    }
    // A machine without the file names its zone by the link below.
    if (const Result<std::string> text = AtomicFile::read(etcDir + "/timezone")) {
        const std::string line(trim(std::string_view(*text).substr(0, text->find('\n'))));
        if (isZoneFile(zoneinfoDir, line)) return line;
    }
    std::error_code ec;
    const auto target = std::filesystem::read_symlink(std::filesystem::path(etcDir) / "localtime", ec);
    if (!ec) {
        const std::string id = zoneIdFromPath(target.string());
        if (isZoneFile(zoneinfoDir, id)) return id;
    }
    return "UTC";
}

}  // namespace tavrin
