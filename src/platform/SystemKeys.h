#pragma once
// The machine root's system keys: the machine's zone as "StandardName" under
// SYSTEM\CurrentControlSet\Control\TimeZoneInformation, and the operating-system version under
// Software\Microsoft\Windows NT\CurrentVersion, each a system-written string with its terminating NUL.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/KeyProvider.h"

namespace tavrin {

class SystemKeys : public KeyProvider {
  public:
    // Where the facts come from; tests give their own.
    struct Sources {
        std::function<std::string()> machineZone;  // asked on every read: the zone may change at any time
        std::string osReleasePath;                 // "" for /etc/os-release, then /usr/lib/os-release
        std::function<void(std::string& release, std::string& version)> uname;
    };

    explicit SystemKeys(Sources sources);
    // The running machine's facts, its zone looked up in the tz database at `zoneinfoDir`.
    static std::shared_ptr<SystemKeys> forMachine(const std::string& zoneinfoDir);

    bool hasKey(std::string_view path) override;
    std::vector<std::string> subKeys(std::string_view path) override;
    bool getValue(std::string_view path, std::string_view name, ValueType& type, std::string& data) override;

    // The value of `key` in os-release text, unquoted; "" when it is not there.
    static std::string osReleaseField(std::string_view text, std::string_view key);

  private:
    void loadVersion();

    Sources sources_;
    bool versionLoaded_ = false;
    std::string productName_, version_, build_, servicePack_;
};

}  // namespace tavrin
