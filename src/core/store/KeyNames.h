#pragma once
// The store keys the program touches, under the settings root and under the machine-wide root.
namespace tavrin {

// Key paths under the settings root.
inline constexpr const char* kMakerKey = "SOFTWARE\\QUILLON";
inline constexpr const char* kSettingsKey = "SOFTWARE\\QUILLON\\TAVRIN";
inline constexpr const char* kRunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
inline constexpr const char* kRunValueName = "Tavrin";
// System keys under the machine-wide root.
inline constexpr const char* kTimeZoneInformationKey =
    "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
inline constexpr const char* kNtCurrentVersionKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char* kZoneRootNt = "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION\\TIME ZONES";
// The platform identifier this port reports: the NT family.
inline constexpr int kPlatformId = 2;

}  // namespace tavrin
