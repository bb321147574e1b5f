#pragma once
// One time zone as the catalogue describes it: the 44-byte rule block, then its names.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/Result.h"
#include "core/store/Store.h"

namespace tavrin {

struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

inline constexpr std::size_t kTziSize = 44;

struct ZoneRecord {
    // The rule block, field for field. UTC = zone standard time + Bias (minutes).
    std::int32_t Bias = 0;
    std::int32_t StandardBias = 0;
    std::int32_t DaylightBias = 0;
    SystemTime StandardDate;  // when daylight time ends
    SystemTime DaylightDate;  // when daylight time begins; wMonth 0 = no daylight saving
    std::string DisplayText;
    std::string StandardName;
    std::string DaylightName;
    std::string CityName;  // DisplayText after its first ")", the blank after it included
    // The tz database file the catalogue built the record from (the key's "TzFile" value); the zone's
    // own transitions then give its time in every year. Empty for a record from anywhere else, which
    // keeps to its rule block.
    std::string tzFile;

    friend bool operator==(const ZoneRecord&, const ZoneRecord&) = default;
};

// Whether the catalogue knew the zone: a name gone from the tz database, or edited by hand, reads as
// the empty record, whose time would be UTC's under no name.
bool zoneIsKnown(const ZoneRecord& zone);
// What a line or a clock shows for such a zone instead of a time: its stored name, marked.
std::string unknownZoneText(const std::string& storedName);

// The rule block in its stored little-endian form, and back. Decoding a block shorter than 44
// bytes fills what it holds and leaves the rest 0.
std::string encodeTzi(const ZoneRecord& zone);
void decodeTzi(std::string_view bytes, ZoneRecord& zone);

// The text up to its first NUL; the whole text when it holds none.
std::string trimAtNull(std::string_view text);

// Reads the zone `keyName` under `zoneRoot` of the machine-wide root: fails, with the reason, when the
// catalogue has no such zone; a value that is missing leaves its field empty.
Result<ZoneRecord> readZone(Store& store, std::string_view zoneRoot, std::string_view keyName);
// The zone as the menu's lines need it: its display texts and the tz file whose zone gives its time,
// without the rule block (left 0) and its names, which the catalogue works out only when asked.
Result<ZoneRecord> readZoneNames(Store& store, std::string_view zoneRoot, std::string_view keyName);

}  // namespace tavrin
