#pragma once
// Where Tavrin keeps its files on this desktop, from the XDG variables and their defaults.
#include <string>

namespace tavrin {

struct Paths {
    std::string configHome;   // $XDG_CONFIG_HOME or ~/.config
    std::string configDir;    // first folder of $XDG_CONFIG_DIRS or /etc/xdg
    std::string dataHome;     // $XDG_DATA_HOME or ~/.local/share
    std::string runtimeDir;   // $XDG_RUNTIME_DIR or /tmp
    std::string cacheHome;    // $XDG_CACHE_HOME or ~/.cache
    std::string zoneinfoDir;  // $TZDIR or /usr/share/zoneinfo

    static Paths fromEnvironment();

    std::string userStoreFile() const { return configHome + "/tavrin/user.reg"; }
    std::string machineStoreFile() const { return configDir + "/tavrin/machine.reg"; }
    std::string userAutostartDir() const { return configHome + "/autostart"; }
    std::string machineAutostartDir() const { return configDir + "/autostart"; }
    std::string reminderFile() const { return dataHome + "/tavrin/Tavrin.DAT"; }
    std::string instanceLockFile() const { return runtimeDir + "/tavrin.lock"; }
    std::string calendarCacheDir() const { return cacheHome + "/tavrin/calendars"; }
    std::string instanceSocketFile() const { return runtimeDir + "/tavrin.socket"; }
};

}  // namespace tavrin
