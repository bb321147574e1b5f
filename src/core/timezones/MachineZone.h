#pragma once
// The machine's own zone id ("Europe/Berlin"), from $TZ, /etc/timezone or the /etc/localtime link.
#include <string>

namespace tavrin {

// `zoneinfoDir` is the tz database folder ($TZDIR). `etcDir` lets tests point at their own /etc.
// Falls back to "UTC" when nothing names a zone.
std::string machineZoneId(const std::string& zoneinfoDir, const std::string& etcDir = "/etc");

}  // namespace tavrin
