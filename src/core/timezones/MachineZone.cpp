#include "core/timezones/MachineZone.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/base/AtomicFile.h"
#include "core/base/Text.h"

namespace tavrin {
namespace {

bool isZoneFile(const std::string& zoneinfoDir, const std::string& id) {
    if (id.empty() || id[0] == '/' || id.find("..") != std::string::npos) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(zoneinfoDir) / id, ec);
}

// "/usr/share/zoneinfo/Europe/Berlin" (or any path with a "zoneinfo/" part) gives "Europe/Berlin".
std::string idFromPath(const std::string& path) {
    const std::string marker = "zoneinfo/";
    const auto at = path.rfind(marker);
    if (at == std::string::npos) return {};
    std::string id = path.substr(at + marker.size());
    // Debian also keeps "posix/" and "right/" copies of every zone.
    for (const char* prefix : {"posix/", "right/"})
        if (id.rfind(prefix, 0) == 0) id = id.substr(std::string(prefix).size());
    return id;
}

}  // namespace

std::string machineZoneId(const std::string& zoneinfoDir, const std::string& etcDir) {
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string id = tz;
        if (id[0] == ':') id.erase(0, 1);
        if (!id.empty() && id[0] == '/') id = idFromPath(id);
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
        const std::string id = idFromPath(target.string());
        if (isZoneFile(zoneinfoDir, id)) return id;
    }
    return "UTC";
}

}  // namespace tavrin
