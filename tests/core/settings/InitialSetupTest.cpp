#include "core/settings/InitialSetup.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/store/MemoryStore.h"
#include "support/StoredValue.h"

namespace tavrin {
namespace {

using tavrin::test::storedValue;

constexpr std::uint32_t kButtonFace = 0xD8E9EC;  // red EC, green E9, blue D8

struct Finish : ::testing::Test {
    MemoryStore store;
    Settings settings;
    InitialSetup setup;

    // The value under the settings key of `root`: its data, "<missing>" or "<no key>".
    std::string value(Root root, const char* name) { return storedValue(store, root, kSettingsKey, name); }
    bool settingsKeyExists(Root root) { return value(root, "") != "<no key>"; }
    void makeSettings(Root root) {
        bool created = false;
        store.tree(root).create(kSettingsKey, created).setValue("DateFormat", ValueType::String, "dd.mm.yy");
    }
    SetupResult finish(SetupUsers users = SetupUsers::Everyone) {
        return finishSetup(store, settings, setup, users, kButtonFace);
    }
};

// The picture is written only when one was chosen.
TEST_F(Finish, MarksTheMakerKeyAndWritesAChosenPicture) {
    EXPECT_TRUE(finish().stored);
    EXPECT_EQ(settings.SettingsRoot, Root::LocalMachine);
    EXPECT_EQ(storedValue(store, Root::LocalMachine, kMakerKey, ""), "Quillon");
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "<missing>");
    settings.BGPicture = "/home/ann/Pictures/sky.jpg";
    finish();
    EXPECT_EQ(value(Root::LocalMachine, "BGPicture"), "/home/ann/Pictures/sky.jpg");
}

TEST_F(Finish, TheWindowsFamilyEnablesItsSchemeList) {
    for (const auto& [family, xp, ninex] : {std::tuple{0, false, true}, {1, true, false}, {2, true, false}}) {
        setup.choose(SetupList::Windows, family);
        EXPECT_EQ(setup.list(SetupList::XpSchemes).enabled, xp) << family;
        EXPECT_EQ(setup.list(SetupList::NinexSchemes).enabled, ninex) << family;
    }
}

// Which colour "Finish!" writes for a sequence of choices (Windows family W, XP scheme X, '9x
// scheme N); "" is no scheme at all.
TEST(FinishScheme, ChoicesGiveTheirSchemeColour) {
    using Steps = std::vector<std::pair<SetupList, int>>;
    constexpr SetupList W = SetupList::Windows, X = SetupList::XpSchemes, N = SetupList::NinexSchemes;
    const struct {
        const char* name;
        Steps steps;
        const char* typed;
        SetupUsers users;
        const char* scheme;
    } cases[] = {
        // clang-format off
        {"untouched lists", {}, nullptr, SetupUsers::Everyone, "E99012"},
        {"a disabled XP choice is tested first", {{W, 1}, {X, 1}, {W, 0}, {N, 0}}, nullptr, SetupUsers::Everyone, "E5DBDA"},
        {"system default is the button face", {{W, 0}, {N, 0}}, nullptr, SetupUsers::MeOnly, "D8E9EC"},
        {"custom without a colour", {{W, 1}, {X, 4}}, nullptr, SetupUsers::Everyone, ""},
        {"typed family", {}, "Debian 12", SetupUsers::Everyone, ""},
        // Typing fires no click: the XP list stays enabled, and Finish fills it in.
        {"typed after a choice", {{W, 1}}, "Win", SetupUsers::Everyone, "E99012"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStore store;
        Settings settings;
        InitialSetup setup;
        for (const auto& [list, index] : c.steps) setup.choose(list, index);
        if (c.typed) setup.type(c.typed);
        const SetupResult r = finishSetup(store, settings, setup, c.users, kButtonFace);
        EXPECT_TRUE(r.stored);
        EXPECT_EQ(r.noScheme, *c.scheme == '\0');
        const Root root = c.users == SetupUsers::MeOnly ? Root::CurrentUser : Root::LocalMachine;
        EXPECT_EQ(storedValue(store, root, kSettingsKey, "ColScheme"), *c.scheme ? c.scheme : "<missing>");
        // The typed text keeps the Windows list off its placeholder, so no scheme list is filled.
        EXPECT_TRUE(!c.typed || setup.list(W).text == c.typed);
    }
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

TEST_F(Finish, MeOnlyDeletesTheMachineSettingsAndTheOtherWayRound) {
    makeSettings(Root::LocalMachine);
    makeSettings(Root::CurrentUser);
    finish(SetupUsers::MeOnly);
    EXPECT_FALSE(settingsKeyExists(Root::LocalMachine));
    EXPECT_EQ(value(Root::CurrentUser, "DateFormat"), "<missing>");  // started empty
    makeSettings(Root::CurrentUser);
    finish(SetupUsers::Everyone);
    EXPECT_FALSE(settingsKeyExists(Root::CurrentUser));
    EXPECT_TRUE(settingsKeyExists(Root::LocalMachine));
}

TEST_F(Finish, ReadOnlyMachineRootFailsThenMeOnlyWorks) {
    store.setReadOnly(Root::LocalMachine, true);
    EXPECT_FALSE(finish(SetupUsers::Everyone).stored);
    EXPECT_FALSE(settingsKeyExists(Root::LocalMachine));
    EXPECT_FALSE(settingsKeyExists(Root::CurrentUser));
    EXPECT_TRUE(finish(SetupUsers::MeOnly).stored);
    EXPECT_EQ(value(Root::CurrentUser, "ColScheme"), "E99012");
    EXPECT_EQ(settings.SettingsRoot, Root::CurrentUser);
}

}  // namespace
}  // namespace tavrin
