#include "settings/InitialSetup.h"

#include <gtest/gtest.h>

#include "settings/MemoryStore.h"

namespace tavrin {
namespace {

constexpr std::uint32_t kButtonFace = 0xD8E9EC;  // red EC, green E9, blue D8

struct Finish : ::testing::Test {
    MemoryStore store;
    Settings settings;
    InitialSetup setup;

    // The value under the settings key of `root`, or nothing when the key or value is missing.
    std::optional<std::string> value(Root root, const char* name) {
        KeyHandle key;
        if (store.OpenKey(KeyHandle::rootKey(root), kSettingsKey, kReadAccess, key) != status::kSuccess) {
            return std::nullopt;
        }
        std::string data;
        ValueType type = ValueType::None;
        const Status s = store.QueryValueData(key, name, data, type);
        store.CloseKey(key);
        if (s != status::kSuccess) return std::nullopt;
        return data;
    }
    bool settingsKeyExists(Root root) {
        KeyHandle key;
        const bool exists =
            store.OpenKey(KeyHandle::rootKey(root), kSettingsKey, kReadAccess, key) == status::kSuccess;
        if (exists) store.CloseKey(key);
        return exists;
    }
    void makeSettings(Root root) {
        KeyHandle key;
        Disposition d = Disposition::None;
        ASSERT_EQ(store.CreateKey(KeyHandle::rootKey(root), kSettingsKey, kAllAccess, key, d),
                  status::kSuccess);
        ASSERT_EQ(store.SetValue(key, "DateFormat", ValueType::String, "dd.mm.yy"), status::kSuccess);
        store.CloseKey(key);
    }
    SetupResult finish(SetupUsers users = SetupUsers::Everyone) {
        return FinishSetup(store, settings, setup, users, kButtonFace);
    }
};

TEST_F(Finish, UntouchedListsGiveTheBlueScheme) {
    const SetupResult r = finish();
    EXPECT_EQ(r.status, status::kSuccess);
    EXPECT_FALSE(r.noScheme);
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "E99012");
    EXPECT_EQ(setup.list(SetupList::Windows).index, 0);
    EXPECT_EQ(setup.list(SetupList::XpSchemes).index, 0);
    EXPECT_EQ(setup.list(SetupList::NinexSchemes).index, 0);
    EXPECT_EQ(settings.SettingsRoot, Root::LocalMachine);
    // The maker key is marked when it is made.
    KeyHandle maker;
    ASSERT_EQ(store.OpenKey(KeyHandle::rootKey(Root::LocalMachine), kMakerKey, kReadAccess, maker),
              status::kSuccess);
    std::string data;
    ValueType type = ValueType::None;
    EXPECT_EQ(store.QueryValueData(maker, "", data, type), status::kSuccess);
    EXPECT_EQ(data, "Quillon");
}

TEST_F(Finish, DisabledXpListKeepsItsChoiceAndIsTestedFirst) {
    setup.choose(SetupList::Windows, 1);
    EXPECT_TRUE(setup.list(SetupList::XpSchemes).enabled);
    setup.choose(SetupList::XpSchemes, 1);  // Silver
    setup.choose(SetupList::Windows, 0);
    EXPECT_FALSE(setup.list(SetupList::XpSchemes).enabled);
    EXPECT_TRUE(setup.list(SetupList::NinexSchemes).enabled);
    setup.choose(SetupList::NinexSchemes, 0);  // System Default
    finish();
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "E5DBDA");
}

TEST_F(Finish, SystemDefaultWritesTheButtonFaceColour) {
    setup.choose(SetupList::Windows, 0);
    setup.choose(SetupList::NinexSchemes, 0);
    finish(SetupUsers::MeOnly);
    EXPECT_EQ(value(Root::CurrentUser, "ColScheme"), "D8E9EC");
}

TEST_F(Finish, CustomColourFollowsTheYellowRuleAndSurvivesACancel) {
    setup.choose(SetupList::Windows, 2);
    EXPECT_TRUE(setup.choose(SetupList::XpSchemes, 4));
    setup.setCustomColour(0x00FFFF);  // pure yellow
    EXPECT_EQ(setup.customSchemeColour(), "FFFFF");
    // Another click on the Windows list asks for the colour again; cancelling keeps the old one.
    EXPECT_TRUE(setup.choose(SetupList::Windows, 1));
    finish();
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), "FFFFF");
    EXPECT_EQ(settings.CustomSchemeColour, "FFFFF");
}

TEST_F(Finish, CustomItemWithoutAColourOrATypedFamilyLeavesNoScheme) {
    setup.choose(SetupList::Windows, 1);
    setup.choose(SetupList::XpSchemes, 4);  // Custom, dialog cancelled
    const SetupResult r = finish();
    EXPECT_EQ(r.status, status::kSuccess);
    EXPECT_TRUE(r.noScheme);
    EXPECT_TRUE(settingsKeyExists(Root::LocalMachine));
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), std::nullopt);
}

TEST_F(Finish, TypedWindowsFamilyLeavesNoScheme) {
    setup.type("Debian 12");
    EXPECT_TRUE(finish().noScheme);
    // The typed text keeps the Windows list off its placeholder, so no scheme list is filled.
    EXPECT_EQ(setup.list(SetupList::Windows).text, "Debian 12");
    EXPECT_EQ(value(Root::LocalMachine, "ColScheme"), std::nullopt);
}

TEST_F(Finish, MeOnlyDeletesTheMachineSettingsAndTheOtherWayRound) {
    makeSettings(Root::LocalMachine);
    makeSettings(Root::CurrentUser);
    finish(SetupUsers::MeOnly);
    EXPECT_FALSE(settingsKeyExists(Root::LocalMachine));
    EXPECT_EQ(value(Root::CurrentUser, "DateFormat"), std::nullopt);  // started empty
    EXPECT_EQ(value(Root::CurrentUser, "ColScheme"), "E99012");
    EXPECT_EQ(settings.SettingsRoot, Root::CurrentUser);

    makeSettings(Root::CurrentUser);
    finish(SetupUsers::Everyone);
    EXPECT_FALSE(settingsKeyExists(Root::CurrentUser));
    EXPECT_TRUE(settingsKeyExists(Root::LocalMachine));
}

TEST_F(Finish, PictureIsWrittenOnlyWhenChosen) {
    finish();
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), std::nullopt);
    settings.BGPicture = "/home/ann/Pictures/sky.jpg";
    finish();
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "/home/ann/Pictures/sky.jpg");
}

TEST_F(Finish, ReadOnlyMachineRootFailsThenMeOnlyWorks) {
    store.setReadOnly(Root::LocalMachine, true);
    const SetupResult failed = finish(SetupUsers::Everyone);
    EXPECT_NE(failed.status, status::kSuccess);
    EXPECT_FALSE(settingsKeyExists(Root::LocalMachine));
    EXPECT_FALSE(settingsKeyExists(Root::CurrentUser));

    const SetupResult ok = finish(SetupUsers::MeOnly);
    EXPECT_EQ(ok.status, status::kSuccess);
    EXPECT_EQ(value(Root::CurrentUser, "ColScheme"), "E99012");
    EXPECT_EQ(settings.SettingsRoot, Root::CurrentUser);
}

}  // namespace
}  // namespace tavrin
