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

using tavrin::test::FakeKeys;
using tavrin::test::storedValue;

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

    // Mounts a catalogue of (key name, display text) zones, in that enumeration order; a zone
    // without a display text has none.
    void catalogue(const std::vector<std::pair<std::string, std::optional<std::string>>>& entries) {
        auto keys = std::make_shared<FakeKeys>();
        for (const auto& [name, display] : entries) {
            const std::string path = joinKeyPath(kZoneRootNt, name);
            if (display)
                keys->add(path, "Display", *display);
            else
                keys->add(path);
        }
        store.mount(Root::LocalMachine, keys);
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const ZoneItem& item : list.items()) out.push_back(item.displayText);
        return out;
    }
    std::vector<std::string> ticked() const {
        std::vector<std::string> out;
        for (const ZoneItem& item : list.items())
            if (item.checked) out.push_back(item.keyName);
        return out;
    }
    std::string value(const std::string& name) { return storedValue(store, key, name); }
    void seed(const std::vector<std::pair<std::string, std::string>>& values) {
        for (const auto& [name, data] : values) store.SetValue(key, name, ValueType::String, data);
    }
};

TEST_F(ZoneListTest, ListsByDisplayTextGreatestFirstLeavingOutZonesWithoutOne) {
    catalogue({{"Greenwich", "(GMT) Greenwich"},
               {"Berlin", "(GMT+01:00) Berlin"},
               {"Broken", std::nullopt},
               {"Eastern", "(GMT-05:00) Eastern"},
               {"Dateline", "(GMT-12:00) Dateline"},
               {"Tonga", "(GMT+13:00) Tonga"},
               {"Twin", "(GMT+01:00) Berlin"},
               {"Padded", std::string("(GMT-01:00) Azores\0junk", 23)},
               {"Blank", "  (GMT-02:00) Trimmed  "}});
    list.fill(store, zones);
    EXPECT_TRUE(list.choosable());
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"(GMT-12:00) Dateline", "(GMT-05:00) Eastern", "(GMT-02:00) Trimmed",
                                        "(GMT-01:00) Azores", "(GMT+13:00) Tonga", "(GMT+01:00) Berlin",
                                        "(GMT+01:00) Berlin", "(GMT) Greenwich"}));
    // Equal texts keep the catalogue's order.
    EXPECT_EQ(list.items()[5].keyName, "Berlin");
    EXPECT_EQ(list.items()[6].keyName, "Twin");
}

TEST_F(ZoneListTest, TicksTheChosenZonesUpToTheFirstEmptySlot) {
    catalogue({{"Greenwich", "(GMT) Greenwich"},
               {"Berlin", "(GMT+01:00) Berlin"},
               {"Eastern", "(GMT-05:00) Eastern"},
               {"Tokyo", "(GMT+09:00) Tokyo"},
               {"Twin", "(GMT+01:00) Berlin"}});
    zones.ZoneList[1] = "eastern";  // names match without regard to case
    zones.ZoneList[2] = "Gone";     // no longer in the catalogue: ticks nothing
    zones.ZoneList[3] = "Berlin";
    zones.ZoneList[4] = "Twin";   // reads like Berlin: ticks the other item, not Berlin's twice
    zones.ZoneList[6] = "Tokyo";  // after the empty slot 5: not read
    list.fill(store, zones);
    EXPECT_EQ(ticked(), (std::vector<std::string>{"Eastern", "Berlin", "Twin"}));
    EXPECT_EQ(list.checkedCount(), 3);
}

TEST_F(ZoneListTest, UnreadableCatalogueOffersNothingAndSavesNoZones) {
    zones.ZoneRoot = "SOFTWARE\\NOWHERE";
    seed({{"TZone1", "A"}});
    list.fill(store, zones);
    EXPECT_FALSE(list.choosable());
    EXPECT_EQ(texts(), std::vector<std::string>{kNoZonesText});
    EXPECT_FALSE(list.setChecked(0, true));
    store.DeleteValue(key, "NumTimeZones");  // a missing count reads as 0 zones stored
    EXPECT_EQ(list.save(store, key), status::kSuccess);
    EXPECT_EQ(value("NumTimeZones"), "0");
    EXPECT_EQ(value("TZone1"), "A");
}

TEST_F(ZoneListTest, FilterFindsEveryWordAnywhereInTheTextWhateverItsCase) {
    catalogue({{"Europe/Berlin", "(GMT+01:00) Berlin, Germany"},
               {"America/New_York", "(GMT-05:00) New York, United States"},
               {"America/Toronto", "(GMT-05:00) Toronto, Canada"},
               {"Asia/Tokyo", "(GMT+09:00) Tokyo, Japan"}});
    list.fill(store, zones);
    auto found = [&](const char* filter) {
        std::vector<std::string> out;
        for (std::size_t i : list.matching(filter)) out.push_back(list.items()[i].keyName);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(found(""), (V{"America/Toronto", "America/New_York", "Asia/Tokyo", "Europe/Berlin"}));
    EXPECT_EQ(found("  "), found(""));
    EXPECT_EQ(found("GERMANY"), V{"Europe/Berlin"});
    EXPECT_EQ(found("-05:00"), (V{"America/Toronto", "America/New_York"}));
    EXPECT_EQ(found("york new"), V{"America/New_York"});
    EXPECT_EQ(found("to"), (V{"America/Toronto", "Asia/Tokyo"}));
    EXPECT_EQ(found("Tokyo Canada"), V{});
}

TEST_F(ZoneListTest, SavesTheTickedZonesInListOrderAndDropsTheOldSlots) {
    catalogue({{"Greenwich", "(GMT) Greenwich"},
               {"Berlin", "(GMT+01:00) Berlin"},
               {"Eastern", "(GMT-05:00) Eastern"},
               {"Tokyo", "(GMT+09:00) Tokyo"}});
    seed({{"NumTimeZones", "5"},
          {"TZone1", "a"},
          {"TZone2", "b"},
          {"TZone3", "c"},
          {"TZone4", "d"},
          {"TZone5", "e"},
          {"TZone6", "beyond the count"},
          {"TZone05", "not a slot name"},
          {"TZoneName4", "old four"},
          {"TZoneName5", "old five"}});
    zones.ZoneList[1] = "Greenwich";  // ticked first, stored last: the list's order counts
    zones.ZoneList[2] = "Tokyo";
    zones.ZoneList[3] = "Eastern";
    list.fill(store, zones);
    ASSERT_EQ(list.save(store, key), status::kSuccess);
    EXPECT_EQ(value("NumTimeZones"), "3");
    EXPECT_EQ(value("useSysTZ"), "1");
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"TZone1", "Eastern"},         {"TZoneName1", "(GMT-05:00) Eastern"},
        {"TZone2", "Tokyo"},           {"TZoneName2", "(GMT+09:00) Tokyo"},
        {"TZone3", "Greenwich"},       {"TZoneName3", "(GMT) Greenwich"},
        {"TZone4", "<missing>"},       {"TZone5", "<missing>"},
        {"TZoneName4", "old four"},  // names are never deleted
        {"TZoneName5", "old five"},    {"TZone6", "beyond the count"},
        {"TZone05", "not a slot name"}};
    for (const auto& [name, data] : expected) EXPECT_EQ(value(name), data) << name;

    // Nothing ticked; a count typed by hand far beyond the values there are costs only those.
    for (std::size_t i = 0; i < list.items().size(); ++i) list.setChecked(i, false);
    seed({{"NumTimeZones", "2000000000"}, {"TZone1999999999", "far"}});
    ASSERT_EQ(list.save(store, key), status::kSuccess);
    EXPECT_EQ(value("NumTimeZones"), "0");
    for (const char* gone : {"TZone1", "TZone2", "TZone3", "TZone1999999999"})
        EXPECT_EQ(value(gone), "<missing>") << gone;
    EXPECT_EQ(value("TZoneName1"), "(GMT-05:00) Eastern");
}

}  // namespace
}  // namespace tavrin
