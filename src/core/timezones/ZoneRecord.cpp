#include "core/timezones/ZoneRecord.h"

#include "core/store/StoreAccess.h"

namespace tavrin {

bool zoneIsKnown(const ZoneRecord& zone) {
    return zone != ZoneRecord{};
}

std::string unknownZoneText(const std::string& storedName) {
    return storedName + " - unknown zone";
}
namespace {

void putU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
void putI32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}
void putSystemTime(std::string& out, const SystemTime& t) {
    for (std::uint16_t w :
         {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds})
        putU16(out, w);
}

// Reads little-endian fields out of a block that may be short; missing bytes read as 0.
struct Reader {
    std::string_view bytes;
    std::size_t pos = 0;
    std::uint32_t byte() {
        return pos < bytes.size() ? static_cast<unsigned char>(bytes[pos++]) : (++pos, 0u);
    }
    std::uint16_t u16() {
        const std::uint32_t lo = byte();
        return static_cast<std::uint16_t>(lo | (byte() << 8));
    }
    std::int32_t i32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= byte() << (8 * i);
        return static_cast<std::int32_t>(v);
    }
    SystemTime systemTime() {
        SystemTime t;
        t.wYear = u16();
        t.wMonth = u16();
        t.wDayOfWeek = u16();
        t.wDay = u16();
        t.wHour = u16();
        t.wMinute = u16();
        t.wSecond = u16();
        t.wMilliseconds = u16();
        return t;
    }
};

}  // namespace

std::string encodeTzi(const ZoneRecord& zone) {
    std::string out;
    out.reserve(kTziSize);
    putI32(out, zone.Bias);
    putI32(out, zone.StandardBias);
    putI32(out, zone.DaylightBias);
    putSystemTime(out, zone.StandardDate);
    putSystemTime(out, zone.DaylightDate);
    return out;
}

void decodeTzi(std::string_view bytes, ZoneRecord& zone) {
    Reader r{bytes};
    zone.Bias = r.i32();
    zone.StandardBias = r.i32();
    zone.DaylightBias = r.i32();
    zone.StandardDate = r.systemTime();
    zone.DaylightDate = r.systemTime();
}

std::string trimAtNull(std::string_view text) {
    const auto nul = text.find('\0');
    return std::string(nul == std::string_view::npos ? text : text.substr(0, nul));
}

namespace {

// The zone's values; the rule block and its names only when `withRuleBlock`. A value that is not
// there leaves its field empty: only a zone whose key cannot be opened fails.
Result<ZoneRecord> readZoneValues(Store& store, std::string_view zoneRoot, std::string_view keyName,
                                  bool withRuleBlock) {
    std::string path(zoneRoot);
    path += '\\';
    path += keyName;
    const Result<KeyHandle> key = openKey(store, Root::LocalMachine, path);
    if (!key) return key.why();
    ZoneRecord zone;
    if (withRuleBlock) {
        if (const Result<StoredData> tzi = readValue(store, *key, "TZI"))
            decodeTzi(std::string_view(tzi->data).substr(0, kTziSize), zone);
    }
    std::string* fields[] = {&zone.DisplayText, &zone.StandardName, &zone.DaylightName};
    const char* names[] = {"Display", "Std", "Dlt"};
    for (int i = 0; i < (withRuleBlock ? 3 : 1); ++i) {
        if (const Result<StoredData> value = readValue(store, *key, names[i]))
            *fields[i] = trimAtNull(value->data);
    }
    if (const Result<StoredData> file = readValue(store, *key, "TzFile");
        file && file->type == ValueType::String)
        zone.tzFile = trimAtNull(file->data);
    const auto paren = zone.DisplayText.find(')');
    if (paren != std::string::npos) zone.CityName = zone.DisplayText.substr(paren + 1);
    if (!zoneIsKnown(zone)) return Failure{"the time zone \"" + std::string(keyName) + "\" holds nothing"};
    return zone;
}

}  // namespace

Result<ZoneRecord> readZone(Store& store, std::string_view zoneRoot, std::string_view keyName) {
    return readZoneValues(store, zoneRoot, keyName, true);
}

Result<ZoneRecord> readZoneNames(Store& store, std::string_view zoneRoot, std::string_view keyName) {
    return readZoneValues(store, zoneRoot, keyName, false);
}

}  // namespace tavrin
