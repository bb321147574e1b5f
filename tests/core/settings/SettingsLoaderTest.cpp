#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "core/settings/SettingsLoader.h"
#include "core/store/MemoryStore.h"
#include "support/FakeKeys.h"
#include "support/StoredValue.h"

using namespace tavrin;
using tavrin::test::storedValue;

namespace {

struct LoadSettingsTest : ::testing::Test {
    MemoryStore store;
    Settings settings;
    ZoneState zones;

    void SetUp() override {
        // The machine's own keys: the zone name as the system writes it (with its NUL) and one zone.
        auto system = std::make_shared<tavrin::test::FakeKeys>();
        system->add(kTimeZoneInformationKey, "StandardName", std::string("Europe/Berlin\0", 14));
        const std::string zoneKey = std::string(kZoneRootNt) + "\\Europe/Berlin";
        system->add(zoneKey, "Display", "(GMT+01:00) Berlin, Germany").add(zoneKey, "Std", "CET");
        store.mount(Root::LocalMachine, system);
        settings.SettingsRoot = Root::CurrentUser;
    }
    void seed(const std::string& name, const std::string& data, Root root = Root::CurrentUser,
              const char* path = kSettingsKey) {
        bool created = false;
        store.tree(root).create(path, created).setValue(name, ValueType::String, data);
    }
    Result<> load() { return loadSettings(store, settings, zones, "C8D0D4"); }
    std::string value(const std::string& name) {
        return storedValue(store, Root::CurrentUser, kSettingsKey, name);
    }
};

}  // namespace

TEST_F(LoadSettingsTest, AKeyHoldingOnlyTheSchemeGetsEveryDefault) {
    seed("ColScheme", "E99012");
    ASSERT_TRUE(load());
    // clang-format off
    const std::map<std::string, std::string> defaults = {
        {"UseSysTZ", "1"},      {"DateFormat", "mm/dd/yy"}, {"TimeFormat", "h:mm AM/PM"},
        {"TZFormat", "mm/dd/yy h:mm am/pm"},                {"TZSType", "1"},
        {"TZSDir", "0"},        {"PNDisp", "0"},            {"DForeColor", "0"},
        {"TForeColor", "0"},    {"WForeColor", "0"},        {"TimeFont", "ARIAL"},
        {"DateFont", "TAHOMA"}, {"TimeSize", "8"},          {"DateSize", "6"},
        {"TimeBold", "1"},      {"DateBold", "0"},          {"ColScheme", "E99012"},
        {"PanelOffset", "0"},   {"CalendarRefreshMinutes", "15"},
        {"EventNoticeMinutes", "0"}};
    // clang-format on
    for (const auto& [name, data] : defaults) EXPECT_EQ(value(name), data) << name;
    EXPECT_EQ(value("BGPicture"), "<missing>");
    EXPECT_EQ(store.tree(Root::CurrentUser).find(kSettingsKey)->values().size(), defaults.size());

    EXPECT_EQ(settings.VersionText + "|" + settings.TimeFormat + "|" +
                  std::to_string(static_cast<int>(settings.TZSType)) + "|" +
                  std::to_string(settings.UseSysTZ),
              "v1.0.4|h:mm AM/PM|1|1");
    EXPECT_EQ(zones.ZoneRoot, kZoneRootNt);
    // The machine's zone name loses its terminator to a blank, and names the home zone without it.
    EXPECT_EQ(zones.StandardName + "|" + zones.HomeZone.DisplayText + "|" + zones.HomeZone.CityName,
              "Europe/Berlin |(GMT+01:00) Berlin, Germany| Berlin, Germany");
}

TEST_F(LoadSettingsTest, AFirstStartMakesTheMakerKeyAndTakesTheButtonFaceColour) {
    ASSERT_TRUE(load());
    EXPECT_EQ(storedValue(store, Root::CurrentUser, kMakerKey, ""), "Quillon");
    EXPECT_EQ(value("ColScheme"), "C8D0D4");
    EXPECT_EQ(settings.ColScheme, "C8D0D4");
}

// Numbers edited by hand: the leading number of the text ("x" is 0), rounded for the sort settings
// with halves to even and kept within 16 bits; "UseSysTZ" is on for any number but 0, and "PNDisp"
// takes only 0 and 1, any other number leaving the setting as it was.
TEST_F(LoadSettingsTest, StoredNumbersReadAsTheirLeadingNumber) {
    const struct {
        const char* stored;
        std::int16_t sort;
        bool useSysTZ;
        std::optional<bool> pnDisp;
    } cases[] = {{"1", 1, true, true},       {"0", 0, false, false},      {" 1", 1, true, true},
                 {"1.5", 2, true, {}},       {"2.5", 2, true, {}},        {"0.4", 0, true, {}},
                 {"-0", 0, false, false},    {"-1", -1, true, {}},        {"x", 0, false, false},
                 {"99999", 32767, true, {}}, {"-99999", -32768, true, {}}};
    for (const auto& c : cases) {
        for (const bool before : {false, true}) {
            SCOPED_TRACE(std::string(c.stored) + (before ? " over true" : " over false"));
            for (const char* name : {"TZSType", "TZSDir", "UseSysTZ", "PNDisp"}) seed(name, c.stored);
            settings.PNDisp = before;
            ASSERT_TRUE(load());
            EXPECT_EQ(
                std::tuple(static_cast<std::int16_t>(settings.TZSType),
                           static_cast<std::int16_t>(settings.TZSDir), settings.UseSysTZ, settings.PNDisp),
                std::tuple(c.sort, c.sort, c.useSysTZ, c.pnDisp.value_or(before)));
        }
    }
}

// A terminator stored by another program: only the time format loses it, and yellow with one loads
// as the other yellow, the store keeping what it holds.
TEST_F(LoadSettingsTest, StoredTerminators) {
    seed("TimeFormat", std::string("HH:MM\0", 6));
    seed("DateFormat", std::string("dd/mm/yy\0", 9));
    seed("ColScheme", std::string("FFFF\0", 5));
    seed("TForeColor", "FFFF");
    ASSERT_TRUE(load());
    EXPECT_EQ(settings.TimeFormat + "|" + settings.ColScheme + "|" + settings.TForeColor, "HH:MM|FFFFF|FFFF");
    EXPECT_EQ(settings.DateFormat, std::string("dd/mm/yy\0", 9));
    EXPECT_EQ(value("ColScheme"), std::string("FFFF\0", 5));
}

TEST_F(LoadSettingsTest, TheRunEntryIsLookedUpUnderTheSettingsRoot) {
    seed("Tavrin", "tavrin", Root::LocalMachine, kRunKey);
    ASSERT_TRUE(load());
    EXPECT_FALSE(settings.RunAtLogon);
    seed("Tavrin", "tavrin", Root::CurrentUser, kRunKey);
    ASSERT_TRUE(load());
    EXPECT_TRUE(settings.RunAtLogon);
}

TEST_F(LoadSettingsTest, AnUnwritableRootStopsBeforeReadingAnything) {
    store.setReadOnly(Root::CurrentUser, true);
    settings.DateFormat = "kept";
    EXPECT_FALSE(load());  // the settings key cannot be made
    EXPECT_EQ(settings.DateFormat, "kept");
    EXPECT_EQ(settings.VersionText, "v1.0.4");
    EXPECT_EQ(store.tree(Root::CurrentUser).find(kMakerKey), nullptr);
}

TEST_F(LoadSettingsTest, TheSettingsRootIsTheMachinesFirstThenTheUsersThenNone) {
    EXPECT_EQ(chooseSettingsRoot(store), std::nullopt);
    seed("DateFormat", "mm/dd/yy");
    EXPECT_EQ(chooseSettingsRoot(store), Root::CurrentUser);
    seed("DateFormat", "mm/dd/yy", Root::LocalMachine);
    EXPECT_EQ(chooseSettingsRoot(store), Root::LocalMachine);
    // Machine-wide settings the user cannot write are passed over for the user's own.
    store.setReadOnly(Root::LocalMachine, true);
    EXPECT_EQ(chooseSettingsRoot(store), Root::CurrentUser);
    store.tree(Root::CurrentUser).remove(kSettingsKey);
    EXPECT_EQ(chooseSettingsRoot(store), std::nullopt);
}

TEST_F(LoadSettingsTest, ClearsEveryZoneSlotNotOnlyTheFirstTen) {
    // A list left over from before the load, in every one of the 51 slots; the pop-up menu fills
    // the list again from the store, and a stale zone beyond slot 10 would show up in it.
    for (std::size_t i = 0; i < zones.ZoneList.size(); ++i) zones.ZoneList[i] = "Zone" + std::to_string(i);
    ASSERT_TRUE(load());
    EXPECT_EQ(zones.ZoneList, decltype(zones.ZoneList){});
}
