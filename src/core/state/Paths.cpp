#include "core/state/Paths.h"

#include <cstdlib>
#include <string_view>

namespace tavrin {
namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string home() {
    std::string h = env("HOME");
    return h.empty() ? std::string("/tmp") : h;
}

}  // namespace

Paths Paths::fromEnvironment() {
    Paths p;
    p.configHome = env("XDG_CONFIG_HOME");
    if (p.configHome.empty() || p.configHome[0] != '/') p.configHome = home() + "/.config";
    const std::string dirs = env("XDG_CONFIG_DIRS");
    p.configDir = dirs.substr(0, dirs.find(':'));
    if (p.configDir.empty() || p.configDir[0] != '/') p.configDir = "/etc/xdg";
    p.dataHome = env("XDG_DATA_HOME");
    if (p.dataHome.empty() || p.dataHome[0] != '/') p.dataHome = home() + "/.local/share";
    p.runtimeDir = env("XDG_RUNTIME_DIR");
    if (p.runtimeDir.empty() || p.runtimeDir[0] != '/') p.runtimeDir = "/tmp";
    p.cacheHome = env("XDG_CACHE_HOME");
    if (p.cacheHome.empty() || p.cacheHome[0] != '/') p.cacheHome = home() + "/.cache";
    p.zoneinfoDir = env("TZDIR");
    if (p.zoneinfoDir.empty()) p.zoneinfoDir = "/usr/share/zoneinfo";
    return p;
}

}  // namespace tavrin
