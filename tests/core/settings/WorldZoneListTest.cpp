#include "core/settings/WorldZoneList.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "core/store/KeyNames.h"
#include "core/store/KeyPath.h"
#include "core/store/MemoryStore.h"
#include "support/FakeKeys.h"
#include "support/StoredValue.h"

namespace tavrin {
namespace {

using Names = std::vector<std::string>;
using Entries = std::vector<std::pair<std::string, std::optional<std::string>>>;

const Entries kFour = {{"Greenwich", "(GMT) Greenwich"},
                       {"Berlin", "(GMT+01:00) Berlin"},
                       {"Eastern", "(GMT-05:00) Eastern"},
                       {"Tokyo", "(GMT+09:00) Tokyo"}};

struct ZoneListTest : ::testing::Test {
    MemoryStore store;
    ZoneState zones;
    WorldZoneList list;
    KeyHandle key;

    ZoneListTest() {
        zones.ZoneRoot = kZoneRootNt;
        Disposition d;
        store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d);
    }
    // Mounts a catalogue of (key name, display text) zones in that enumeration order, and fills the
    // list from it; a zone without a display text has none.
    void fill(const Entries& entries) {
        auto keys = std::make_shared<test::FakeKeys>();
        for (const auto& [name, display] : entries)
            display ? keys->add(joinKeyPath(kZoneRootNt, name), "Display", *display)
                    : keys->add(joinKeyPath(kZoneRootNt, name));
        store.mount(Root::LocalMachine, keys);
        list.fill(store, zones);
    }
    Names texts() const {
        Names out;
        for (const ZoneItem& item : list.items()) out.push_back(item.displayText);
        return out;
    }
    Names ticked() const {
        Names out;
        for (const ZoneItem& item : list.items())
            if (item.checked) out.push_back(item.keyName);
        return out;
    }
    std::string value(const std::string& name) { return test::storedValue(store, key, name); }
    void seed(const std::vector<std::pair<std::string, std::string>>& values) {
        for (const auto& [name, data] : values) store.SetValue(key, name, ValueType::String, data);
    }
    // Old zones in the slots TZone1, TZone2, ...
    void seedSlots(const Names& names) {
        for (std::size_t i = 0; i < names.size(); ++i)
            store.SetValue(key, "TZone" + std::to_string(i + 1), ValueType::String, names[i]);
    }
};

TEST_F(ZoneListTest, ListsByDisplayTextGreatestFirstLeavingOutZonesWithoutOne) {
    fill({{"Greenwich", "(GMT) Greenwich"},
          {"Berlin", "(GMT+01:00) Berlin"},
          {"Broken", std::nullopt},
          {"Dateline", "(GMT-12:00) Dateline"},
          {"Tonga", "(GMT+13:00) Tonga"},
          {"Twin", "(GMT+01:00) Berlin"},
          {"Padded", std::string("(GMT-01:00) Azores\0junk", 23)},
          {"Blank", "  (GMT-02:00) Trimmed  "}});
    EXPECT_TRUE(list.choosable());
    EXPECT_EQ(texts(),
              (Names{"(GMT-12:00) Dateline", "(GMT-02:00) Trimmed", "(GMT-01:00) Azores", "(GMT+13:00) Tonga",
                     "(GMT+01:00) Berlin", "(GMT+01:00) Berlin", "(GMT) Greenwich"}));
    // Equal texts keep the catalogue's order.
    EXPECT_EQ(list.items()[4].keyName + " " + list.items()[5].keyName, "Berlin Twin");
}

TEST_F(ZoneListTest, TicksTheChosenZonesUpToTheFirstEmptySlot) {
    zones.ZoneList[1] = "eastern";  // names match without regard to case
    zones.ZoneList[2] = "Gone";     // no longer in the catalogue: ticks nothing
    zones.ZoneList[3] = "Berlin";
    zones.ZoneList[4] = "Twin";   // reads like Berlin: ticks the other item, not Berlin's twice
    zones.ZoneList[6] = "Tokyo";  // after the empty slot 5: not read
    Entries entries = kFour;
    entries.push_back({"Twin", "(GMT+01:00) Berlin"});
    fill(entries);
    EXPECT_EQ(ticked(), (Names{"Eastern", "Berlin", "Twin"}));
    EXPECT_EQ(list.checkedCount(), 3);
}

// The menu has 50 lines: a 51st tick is refused, whether the 50 were ticked or stored.
TEST_F(ZoneListTest, FiftyZonesAtMost) {
    Entries entries;
    for (int i = 10; i < 62; ++i)
        entries.push_back({"Z" + std::to_string(i), "(GMT) Zone " + std::to_string(i)});
    for (int slot = 1; slot <= kMaxZones; ++slot) zones.ZoneList[slot] = "Z" + std::to_string(slot + 9);
    fill(entries);  // Zone 61 and Zone 60 come first, unticked
    EXPECT_EQ(list.checkedCount(), 50);
    EXPECT_FALSE(list.setChecked(0, true));
    EXPECT_FALSE(list.items()[0].checked);
    EXPECT_TRUE(list.setChecked(2, true));  // ticked already: no new tick
    EXPECT_TRUE(list.setChecked(2, false));
    EXPECT_TRUE(list.setChecked(0, true));
    EXPECT_FALSE(list.setChecked(1, true));
    EXPECT_EQ(list.checkedCount(), 50);
    ASSERT_TRUE(list.save(store, key));
    EXPECT_EQ(value("NumTimeZones") + " " + value("TZone1") + " " + value("TZone50"), "50 Z61 Z10");
}

TEST_F(ZoneListTest, UnreadableCatalogueOffersNothingAndSavesNoZones) {
    zones.ZoneRoot = "SOFTWARE\\NOWHERE";
    seed({{"TZone1", "A"}});
    list.fill(store, zones);
    EXPECT_FALSE(list.choosable());
    EXPECT_EQ(texts(), Names{kNoZonesText});
    EXPECT_FALSE(list.setChecked(0, true));
    EXPECT_TRUE(list.save(store, key));  // no count stored: it reads as 0 zones
    EXPECT_EQ(value("NumTimeZones") + " " + value("TZone1"), "0 A");
}

TEST_F(ZoneListTest, FilterFindsEveryWordAnywhereInTheTextWhateverItsCase) {
    fill({{"Europe/Berlin", "(GMT+01:00) Berlin, Germany"},
          {"America/New_York", "(GMT-05:00) New York, United States"},
          {"America/Toronto", "(GMT-05:00) Toronto, Canada"},
          {"Asia/Tokyo", "(GMT+09:00) Tokyo, Japan"}});
    auto found = [&](const char* filter) {
        Names out;
        for (std::size_t i : list.matching(filter)) out.push_back(list.items()[i].keyName);
        return out;
    };
    EXPECT_EQ(found(""), (Names{"America/Toronto", "America/New_York", "Asia/Tokyo", "Europe/Berlin"}));
    EXPECT_EQ(found("GERMANY"), Names{"Europe/Berlin"});
    EXPECT_EQ(found("-05:00"), (Names{"America/Toronto", "America/New_York"}));
    EXPECT_EQ(found("york new"), Names{"America/New_York"});
    EXPECT_EQ(found("to"), (Names{"America/Toronto", "Asia/Tokyo"}));
    EXPECT_EQ(found("Tokyo Canada"), Names{});
}

TEST_F(ZoneListTest, SavesTheTickedZonesInListOrderAndDropsTheOldSlots) {
    seedSlots({"a", "b", "c", "d", "e", "beyond the count"});
    seed({{"NumTimeZones", "5"}, {"TZone05", "not a slot name"}, {"TZoneName4", "old four"}});
    zones.ZoneList[1] = "Greenwich";  // ticked first, stored last: the list's order counts
    zones.ZoneList[2] = "Tokyo";
    zones.ZoneList[3] = "Eastern";
    fill(kFour);
    ASSERT_TRUE(list.save(store, key));
    std::string all;
    for (const char* name : {"NumTimeZones", "useSysTZ", "TZone1", "TZoneName1", "TZone2", "TZoneName2",
                             "TZone3", "TZoneName3", "TZone4", "TZone5", "TZoneName4", "TZone6", "TZone05"})
        all += value(name) + "|";
    // Names are never deleted.
    EXPECT_EQ(all,
              "3|1|Eastern|(GMT-05:00) Eastern|Tokyo|(GMT+09:00) Tokyo|Greenwich|(GMT) Greenwich|<missing>|"
              "<missing>|old four|beyond the count|not a slot name|");
}

// The old zones are those of the stored count's whole number, as the menu reads it; a count typed
// by hand far beyond the values there are costs only those.
TEST_F(ZoneListTest, TheStoredCountSaysWhichOldZonesGo) {
    const std::pair<const char*, const char*> cases[] = {
        {"3", "---z"}, {"2.7", "--cz"}, {"0.9", "abcz"}, {"-1", "abcz"}, {"2000000000", "----"}};
    fill(kFour);
    for (const auto& [count, left] : cases) {
        seedSlots({"a", "b", "c"});
        seed({{"NumTimeZones", count}, {"TZone1999999999", "z"}});
        ASSERT_TRUE(list.save(store, key));
        std::string kept;
        for (const char* name : {"TZone1", "TZone2", "TZone3", "TZone1999999999"})
            kept += value(name) == "<missing>" ? "-" : value(name);
        EXPECT_EQ(kept, left) << count;
        EXPECT_EQ(value("NumTimeZones"), "0");
    }
}

}  // namespace
}  // namespace tavrin
