#include "core/settings/WorldZoneList.h"

#include <algorithm>

#include "core/base/Text.h"
#include "core/settings/SettingsLoader.h"
#include "core/store/KeyPath.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {
namespace {

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// A text read from the catalogue: cut at its first NUL, or else trimmed of blanks.
std::string catalogueText(const std::string& data) {
    if (data.find('\0') != std::string::npos) return trimAtNull(data);
    const auto first = data.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return data.substr(first, data.find_last_not_of(' ') - first + 1);
}

// The slot number of a value named "TZone" + n (n in decimal without leading zeros), else 0.
long long zoneSlotOf(std::string_view name) {
    constexpr std::string_view prefix = "TZONE";
    if (name.size() <= prefix.size() || !equalsNoCase(name.substr(0, prefix.size()), prefix)) return 0;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 18 || digits[0] == '0') return 0;
    long long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

void WorldZoneList::fill(Store& store, const ZoneState& zones) {
    items_.clear();
    folded_.clear();
    checked_ = 0;
    choosable_ = false;

    // Reading is all the list does with the catalogue, so it asks for no more than that. A catalogue
    // that cannot be read is said in the list itself.
    const Result<KeyHandle> root = openKey(store, Root::LocalMachine, zones.ZoneRoot, kReadAccess);
    const Result<std::vector<std::string>> names =
        root ? subKeyNames(store, *root) : Result<std::vector<std::string>>(root.why());
    if (!names) {
        items_.push_back(ZoneItem{"", kNoZonesText, false});
        folded_.push_back(folded(kNoZonesText));
        return;
    }
    for (const std::string& name : *names) {
        const std::string keyName = trimAtNull(name);
        const Result<KeyHandle> zone = openKey(store, *root, keyName, kReadAccess);
        if (!zone) continue;
        if (const Result<StoredData> display = readValue(store, *zone, "Display"))
            items_.push_back(ZoneItem{keyName, catalogueText(display->data), false});
    }
    choosable_ = true;

    std::stable_sort(items_.begin(), items_.end(),
                     [](const ZoneItem& a, const ZoneItem& b) { return a.displayText > b.displayText; });
    folded_.reserve(items_.size());
    for (const ZoneItem& item : items_) folded_.push_back(folded(item.displayText));

    for (int s = 1; s <= kMaxZones; ++s) {
        const std::string& chosen = zones.ZoneList[static_cast<std::size_t>(s)];
        if (chosen.empty()) break;
        const Result<ZoneRecord> zone = readZone(store, zones.ZoneRoot, chosen);
        if (!zone || zone->DisplayText.empty()) continue;
        const std::string& display = zone->DisplayText;
        // Two slots naming zones that read alike tick two items, not one item twice.
        const auto match = std::find_if(items_.begin(), items_.end(), [&](const ZoneItem& item) {
            return !item.checked && item.displayText == display;
        });
        if (match != items_.end()) setChecked(static_cast<std::size_t>(match - items_.begin()), true);
    }
}

bool WorldZoneList::setChecked(std::size_t item, bool checked) {
    if (!choosable_ || item >= items_.size()) return false;
    ZoneItem& it = items_[item];
    if (it.checked == checked) return true;
    if (checked && checked_ >= kMaxZones) return false;
    it.checked = checked;
    checked_ += checked ? 1 : -1;
    return true;
}

std::vector<std::size_t> WorldZoneList::matching(std::string_view filter) const {
    std::vector<std::string> words;
    const std::string wanted = folded(filter);
    for (std::size_t at = 0; at < wanted.size();) {
        const auto start = wanted.find_first_not_of(" \t", at);
        if (start == std::string::npos) break;
        const auto end = std::min(wanted.find_first_of(" \t", start), wanted.size());
        words.push_back(wanted.substr(start, end - start));
        at = end;
    }
    std::vector<std::size_t> rows;
    rows.reserve(items_.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::string& text = folded_[i];
        if (std::all_of(words.begin(), words.end(),
                        [&](const std::string& w) { return text.find(w) != std::string::npos; }))
            rows.push_back(i);
    }
    return rows;
}

Result<> WorldZoneList::save(Store& store, const KeyHandle& settingsKey) const {
    Result<> failed;
    auto keep = [&](Result<> done) {
        if (failed && !done) failed = std::move(done);
    };

    const Result<std::string> stored = readText(store, settingsKey, "NumTimeZones", "0");
    keep(stored ? Result<>() : stored.why());
    const double count = leadingNumber(stored.valueOr({}));
    // The old zones are found among the values themselves, so even an absurd count stored by hand
    // costs no more than the values there are.
    if (count >= 1) {
        const Result<std::vector<std::string>> names = valueNames(store, settingsKey);
        keep(names ? Result<>() : names.why());
        for (const std::string& name : names.valueOr({})) {
            const long long slot = zoneSlotOf(name);
            if (slot >= 1 && static_cast<double>(slot) <= count) keep(deleteValue(store, settingsKey, name));
        }
    }

    int n = 1;
    for (const ZoneItem& item : items_) {
        if (!item.checked) continue;
        const std::string number = std::to_string(n);
        keep(writeText(store, settingsKey, "TZone" + number, item.keyName));
        keep(writeText(store, settingsKey, "TZoneName" + number, item.displayText));
        ++n;
    }
    keep(writeText(store, settingsKey, "useSysTZ", "1"));
    keep(writeText(store, settingsKey, "NumTimeZones", std::to_string(n - 1)));
    return failed;
}

}  // namespace tavrin
