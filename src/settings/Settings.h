#pragma once
// The settings model: one member per stored value, as the program holds it while it runs.
#include <cstdint>
#include <string>

#include "settings/Store.h"

namespace tavrin {

struct Settings {
    // Stored values, as text unless the program holds them as numbers.
    std::int16_t UseSysTZ = 0;
    std::string DateFormat;
    std::string TimeFormat;
    std::string TZFormat;
    std::int16_t TZSType = 0;
    std::int16_t TZSDir = 0;
    bool PNDisp = false;
    std::string DForeColor;
    std::string TForeColor;
    std::string WForeColor;
    std::string ColScheme;
    std::string BGPicture;
    std::string TimeFont;
    std::string DateFont;
    std::string TimeSize;
    std::string DateSize;
    std::string TimeBold;
    std::string DateBold;

    // Derived and program-held values.
    std::string VersionText;
    bool RunAtLogon = false;
    Root SettingsRoot = Root::LocalMachine;
    std::string CustomSchemeColour;
};

// Key paths under the settings root.
inline constexpr const char* kMakerKey = "SOFTWARE\\QUILLON";
inline constexpr const char* kSettingsKey = "SOFTWARE\\QUILLON\\TAVRIN";
inline constexpr const char* kRunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
inline constexpr const char* kRunValueName = "Tavrin";
// System keys under the machine-wide root.
inline constexpr const char* kTimeZoneInformationKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
inline constexpr const char* kNtCurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char* kZoneRootNt = "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION\\TIME ZONES";
inline constexpr const char* kZoneRoot9x = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\TIME ZONES";
// The platform identifier this port reports: the NT family.
inline constexpr int kPlatformId = 2;

}  // namespace tavrin
