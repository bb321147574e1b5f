#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>

#include "settings/KeyProvider.h"
#include "settings/MemoryStore.h"
#include "settings/SettingsLoader.h"

using namespace tavrin;

namespace {

// The machine's own keys: the zone name as the system writes it (with its NUL) and one zone.
class SystemKeysFake : public KeyProvider {
public:
    bool HasKey(std::string_view path) override { return values.count(Upper(path)) != 0; }
    std::vector<std::string> SubKeys(std::string_view) override { return {}; }
    bool GetValue(std::string_view path, std::string_view name, ValueType& type, std::string& data) override {
        auto key = values.find(Upper(path));
        if (key == values.end()) return false;
        auto value = key->second.find(Upper(name));
        if (value == key->second.end()) return false;
        type = value->second.first;
        data = value->second.second;
        return true;
    }
    static std::string Upper(std::string_view s) {
        std::string out(s);
        for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    }
    std::map<std::string, std::map<std::string, std::pair<ValueType, std::string>>> values;
};

std::string Stored(MemoryStore& store, Root root, const std::string& path, const std::string& name) {
    const RegKey* key = store.tree(root).find(path);
    if (!key) return "<no key>";
    const RegValue* value = key->value(name);
    return value ? value->data : "<missing>";
}

struct Fixture {
    MemoryStore store;
    Settings settings;
    ZoneState zones;
    std::shared_ptr<SystemKeysFake> system = std::make_shared<SystemKeysFake>();

    Fixture() {
        system->values[SystemKeysFake::Upper(kTimeZoneInformationKey)]["STANDARDNAME"] = {
            ValueType::String, std::string("Europe/Berlin\0", 14)};
        const std::string zoneKey = SystemKeysFake::Upper(std::string(kZoneRootNt) + "\\Europe/Berlin");
        system->values[zoneKey]["DISPLAY"] = {ValueType::String, "(GMT+01:00) Berlin, Germany"};
        system->values[zoneKey]["STD"] = {ValueType::String, "CET"};
        store.mount(Root::LocalMachine, system);
        settings.SettingsRoot = Root::CurrentUser;
    }
    void Seed(const std::string& name, const std::string& data) {
        bool created = false;
        store.tree(Root::CurrentUser).create(kSettingsKey, created).setValue(name, ValueType::String, data);
    }
    void Load() { LoadSettings(store, settings, zones, "C8D0D4"); }
    std::string Value(const std::string& name) { return Stored(store, Root::CurrentUser, kSettingsKey, name); }
};

}  // namespace

TEST(LoadSettings, AKeyHoldingOnlyTheSchemeGetsEveryDefault) {
    Fixture f;
    f.Seed("ColScheme", "E99012");
    f.Load();
    const std::map<std::string, std::string> defaults = {
        {"UseSysTZ", "1"},    {"DateFormat", "mm/dd/yy"}, {"TimeFormat", "h:mm AM/PM"},
        {"TZFormat", "mm/dd/yy h:mm am/pm"},               {"TZSType", "1"},
        {"TZSDir", "0"},      {"PNDisp", "0"},           {"DForeColor", "0"},
        {"TForeColor", "0"},  {"WForeColor", "0"},       {"TimeFont", "ARIAL"},
        {"DateFont", "TAHOMA"}, {"TimeSize", "8"},       {"DateSize", "6"},
        {"TimeBold", "1"},    {"DateBold", "0"},         {"ColScheme", "E99012"}};
    for (const auto& [name, value] : defaults) EXPECT_EQ(f.Value(name), value) << name;
    EXPECT_EQ(f.Value("BGPicture"), "<missing>");
    EXPECT_EQ(f.store.tree(Root::CurrentUser).find(kSettingsKey)->values.size(), defaults.size());

    EXPECT_EQ(f.settings.VersionText, "v1.0.4");
    EXPECT_EQ(f.settings.TimeFormat, "h:mm AM/PM");
    EXPECT_EQ(f.settings.TZSType, 1);
    EXPECT_EQ(f.settings.UseSysTZ, -1);
    EXPECT_EQ(f.zones.ZoneRoot, kZoneRootNt);
    EXPECT_EQ(f.zones.StandardName, "Europe/Berlin ");
    EXPECT_EQ(f.zones.HomeZone.DisplayText, "(GMT+01:00) Berlin, Germany");
    EXPECT_EQ(f.zones.HomeZone.CityName, " Berlin, Germany");
}

TEST(LoadSettings, AFirstStartMakesTheMakerKeyAndTakesTheButtonFaceColour) {
    Fixture f;
    f.Load();
    EXPECT_EQ(Stored(f.store, Root::CurrentUser, kMakerKey, ""), "Quillon");
    EXPECT_EQ(f.Value("ColScheme"), "C8D0D4");
    EXPECT_EQ(f.settings.ColScheme, "C8D0D4");
}

TEST(LoadSettings, PNDispTakesOnlyZeroAndOne) {
    Fixture f;
    f.Seed("PNDisp", "2");
    f.settings.PNDisp = true;
    f.Load();
    EXPECT_TRUE(f.settings.PNDisp);
    f.settings.PNDisp = false;
    f.Load();
    EXPECT_FALSE(f.settings.PNDisp);
    f.Seed("PNDisp", "1");
    f.Load();
    EXPECT_TRUE(f.settings.PNDisp);
    f.Seed("PNDisp", "0");
    f.Load();
    EXPECT_FALSE(f.settings.PNDisp);
}

TEST(LoadSettings, OnlyTheTimeFormatLosesAStoredTerminator) {
    Fixture f;
    f.Seed("TimeFormat", std::string("HH:MM\0", 6));
    f.Seed("DateFormat", std::string("dd/mm/yy\0", 9));
    f.Load();
    EXPECT_EQ(f.settings.TimeFormat, "HH:MM");
    EXPECT_EQ(f.settings.DateFormat, std::string("dd/mm/yy\0", 9));
}

TEST(LoadSettings, YellowWithATerminatorLoadsAsTheOtherYellowAndTheStoreKeepsIt) {
    Fixture f;
    f.Seed("ColScheme", std::string("FFFF\0", 5));
    f.Seed("TForeColor", "FFFF");
    f.Load();
    EXPECT_EQ(f.settings.ColScheme, "FFFFF");
    EXPECT_EQ(f.settings.TForeColor, "FFFF");
    EXPECT_EQ(f.Value("ColScheme"), std::string("FFFF\0", 5));
}

TEST(LoadSettings, TheRunEntryIsLookedUpUnderTheSettingsRoot) {
    Fixture f;
    bool created = false;
    f.store.tree(Root::LocalMachine).create(kRunKey, created).setValue("Tavrin", ValueType::String, "tavrin");
    f.Load();
    EXPECT_FALSE(f.settings.RunAtLogon);
    f.store.tree(Root::CurrentUser).create(kRunKey, created).setValue("Tavrin", ValueType::String, "tavrin");
    f.Load();
    EXPECT_TRUE(f.settings.RunAtLogon);
}

TEST(LoadSettings, AnUnwritableRootStopsBeforeReadingAnything) {
    Fixture f;
    f.store.setReadOnly(Root::CurrentUser, true);
    f.settings.DateFormat = "kept";
    f.Load();
    EXPECT_EQ(f.settings.DateFormat, "kept");
    EXPECT_EQ(f.settings.VersionText, "v1.0.4");
    EXPECT_EQ(f.store.tree(Root::CurrentUser).find(kMakerKey), nullptr);
}

TEST(ChooseSettingsRoot, MachineFirstThenUserThenFirstRun) {
    MemoryStore store;
    Root root = Root::CurrentUser;
    EXPECT_FALSE(ChooseSettingsRoot(store, root));

    bool created = false;
    store.tree(Root::CurrentUser).create(kSettingsKey, created);
    ASSERT_TRUE(ChooseSettingsRoot(store, root));
    EXPECT_EQ(root, Root::CurrentUser);

    store.tree(Root::LocalMachine).create(kSettingsKey, created);
    ASSERT_TRUE(ChooseSettingsRoot(store, root));
    EXPECT_EQ(root, Root::LocalMachine);

    // Machine-wide settings the user cannot write are passed over for the user's own.
    store.setReadOnly(Root::LocalMachine, true);
    ASSERT_TRUE(ChooseSettingsRoot(store, root));
    EXPECT_EQ(root, Root::CurrentUser);
    store.tree(Root::CurrentUser).remove(kSettingsKey);
    EXPECT_FALSE(ChooseSettingsRoot(store, root));
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATextAsSettingsDo) {
    EXPECT_EQ(LeadingNumber("1"), 1);
    EXPECT_EQ(LeadingNumber(" 2x"), 2);
    EXPECT_EQ(LeadingNumber("-1"), -1);
    EXPECT_EQ(LeadingNumber("1.5"), 1.5);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
}
