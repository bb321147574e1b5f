#include "core/settings/Preferences.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/settings/SettingsLoader.h"
#include "core/store/KeyNames.h"
#include "core/store/KeyPath.h"
#include "core/store/MemoryStore.h"
#include "support/FakeKeys.h"
#include "support/StoredValue.h"

namespace tavrin {
namespace {

using tavrin::test::storedValue;

constexpr const char* kFace = "D8E9EC";  // the desktop's face colour in these tests
constexpr std::uint32_t kYellow = 0x00FFFF;

struct PrefsTest : ::testing::Test {
    MemoryStore store;
    Settings settings;
    ZoneState zones;
    WorldZoneList list;
    std::unique_ptr<Preferences> prefs;

    PrefsTest() {
        auto keys = std::make_shared<tavrin::test::FakeKeys>();
        keys->add(joinKeyPath(kZoneRootNt, "Europe/Berlin"), "Display", "(GMT+01:00) Berlin, Germany");
        keys->add(joinKeyPath(kZoneRootNt, "Asia/Tokyo"), "Display", "(GMT+09:00) Tokyo, Japan");
        store.mount(Root::LocalMachine, keys);
        load();
    }
    // The settings as the first start after setup leaves them, in memory and in the store.
    void load(Root root = Root::CurrentUser) {
        settings = Settings();
        settings.SettingsRoot = root;
        ASSERT_TRUE(loadSettings(store, settings, zones, "E99012"));
    }

    Preferences& open() {
        prefs = std::make_unique<Preferences>(settings, [] { return std::string(kFace); });
        list.fill(store, zones);
        prefs->open();
        return *prefs;
    }
    Result<> ok(const std::string& program = "/opt/tavrin/bin/tavrin") {
        prefs->putSettings();
        return prefs->saveSettings(store, zones, list, program);
    }
    std::string stored(const char* name) { return storedValue(store, Root::CurrentUser, kSettingsKey, name); }
    std::string autostart() { return storedValue(store, Root::CurrentUser, kRunKey, kRunValueName); }
    void storeValue(const char* name, const char* data) {
        bool created = false;
        store.tree(Root::CurrentUser).create(kSettingsKey, created).setValue(name, ValueType::String, data);
    }
};

TEST_F(PrefsTest, OpeningShowsTheSettings) {
    settings.TZSType = ZoneSort::Alphabetically;
    settings.TZSDir = ZoneSortDirection::Descending;
    settings.RunAtLogon = true;
    settings.TForeColor = "ff00";
    settings.WForeColor = "FFFFF";
    const PrefsControls& c = open().controls();
    EXPECT_EQ(c.sortTexts, (std::array<std::string, 2>{"Alphabetically", "Descending"}));
    EXPECT_EQ(c.swatchColours, (std::array<std::uint32_t, 3>{0, 0xFF00, 0xFFFFF}));
    EXPECT_EQ(c.fontTargetText + "/" + c.fontName + "/" + c.fontSize, "Time Display/ARIAL/8");
    EXPECT_TRUE(c.offsetsInFront && c.startAtLogon && c.bold && c.fontsEnabled);

    // No time colour at all: every swatch is black. Unknown sort numbers keep the boxes' own texts.
    settings.TForeColor.clear();
    settings.TZSType = ZoneSort{2};
    settings.TZSDir = ZoneSortDirection{-1};
    EXPECT_EQ(open().controls().swatchColours, (std::array<std::uint32_t, 3>{0, 0, 0}));
    EXPECT_EQ(prefs->controls().sortTexts, (std::array<std::string, 2>{"Sort Method", "Sort Direction"}));
}

TEST_F(PrefsTest, OpeningNamesTheSchemeByItsColour) {
    // clang-format off
    const struct {
        const char *colour, *name;
    } cases[] = {{"B2E2EA", "XP Olive Green"}, {"e5dbda", "XP Silver"}, {"E99012", "XP Blue"},
                 {"C8D0D4", "2k/XP Standard"}, {kFace, "'9x/NT4 Standard"}, {"123456", "Custom"}, {"", "Custom"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colour);
        settings.ColScheme = c.colour;
        settings.CustomSchemeColour = "ABCDEF";
        EXPECT_EQ(open().controls().schemeText, c.name);
        // The colour shown as "Custom" is the one "OK" keeps; a preset leaves the custom colour be.
        EXPECT_EQ(settings.CustomSchemeColour, std::string(c.name) == "Custom" ? c.colour : "ABCDEF");
    }
}

TEST_F(PrefsTest, OkStoresEveryValueAndHoldsTheSavedZoneListInMemory) {
    zones.ZoneList[1] = "Asia/Tokyo";
    zones.ZoneList[50] = "Europe/Berlin";
    Preferences& p = open();
    EXPECT_FALSE(p.setSchemeText("XP Olive Green"));
    p.pickSwatchColour(1, kYellow);  // pure yellow is kept as a slightly different yellow
    p.pickSwatchColour(2, 0x80);
    p.controls().offsetsInFront = true;
    p.controls().dateFormat = "dd mmm yyyy";
    p.setSortText(0, "Alphabetically");
    p.setFontTarget("Date Display");
    p.setFontSize("12");
    p.controls().panelOffset = 120;
    p.controls().snoozeMinutes = 10;
    p.controls().notifications = 2;
    // Working hours that do not read are refused with the reason; as the user may write them, kept.
    p.controls().workingHours = "17:00-08:00";
    EXPECT_NE(ok().message().find("must end after they start"), std::string::npos);
    p.controls().workingHours = " 8:00 - 16:30";
    const Result<> r = ok();
    EXPECT_TRUE(r);
    EXPECT_EQ(r.message(), "");
    std::string all;
    for (const char* name :
         {"ColScheme",  "TForeColor", "WForeColor",  "DForeColor",    "PNDisp",        "DateFormat",
          "TimeFormat", "TZFormat",   "TZSType",     "TZSDir",        "BGPicture",     "TimeFont",
          "TimeSize",   "TimeBold",   "DateFont",    "DateSize",      "DateBold",      "NumTimeZones",
          "TZone1",     "useSysTZ",   "PanelOffset", "SnoozeMinutes", "Notifications", "WorkingHours"})
        all += std::string(name) + "=" + stored(name) + " ";
    EXPECT_EQ(
        all,
        "ColScheme=B2E2EA TForeColor=FFFFF WForeColor=80 DForeColor=0 PNDisp=0 DateFormat=dd mmm yyyy "
        "TimeFormat=h:mm AM/PM TZFormat=mm/dd/yy h:mm am/pm TZSType=0 TZSDir=0 BGPicture= TimeFont=ARIAL "
        "TimeSize=8 TimeBold=1 DateFont=TAHOMA DateSize=12 DateBold=0 NumTimeZones=1 TZone1=Asia/Tokyo "
        "useSysTZ=1 PanelOffset=120 SnoozeMinutes=10 Notifications=2 WorkingHours=08:00-16:30 ");
    EXPECT_EQ(zones.ZoneList[1], "Asia/Tokyo");
    EXPECT_EQ(zones.ZoneList[50], "");  // not in the list the dialog saved
    EXPECT_EQ(settings.ColScheme, "B2E2EA");
    EXPECT_EQ(p.controls().swatchColours[1], kYellow);  // the swatch shows the colour picked
}

TEST_F(PrefsTest, SyncRowShowsOnlyAnOfferedCalendarAndOkStoresTheChoice) {
    settings.SyncCalendar = "gone";
    prefs = std::make_unique<Preferences>(settings, [] { return std::string(kFace); });
    list.fill(store, zones);
    prefs->controls().syncChoices = {{"c1", "Home"}, {"c2", "Work"}};
    prefs->open();
    // The calendar named was removed since: the row shows "Off" and OK stores it so.
    EXPECT_EQ(prefs->controls().syncCalendar, "");
    prefs->controls().syncCalendar = "c2";
    ASSERT_TRUE(ok());
    EXPECT_EQ(stored("SyncCalendar"), "c2");
    EXPECT_EQ(settings.SyncCalendar, "c2");
    prefs->open();
    EXPECT_EQ(prefs->controls().syncCalendar, "c2");
}

TEST_F(PrefsTest, SchemeTheListNamesIsKeptAndAnyOtherTextChangesNothing) {
    // "ColScheme" stored and in memory when the dialog opens; the scheme list's text when OK is pressed
    // (nullptr: what the opening shows); whether a custom colour (yellow) is picked after choosing;
    // "ColScheme" in memory and in the store afterwards.
    const struct {
        const char *name, *before, *choose;
        bool pick;
        const char *memory, *stored;
    } cases[] = {
        // clang-format off
        {"typed by hand", "E99012", "Olive", false, "E99012", "E99012"},
        {"custom picked", "E99012", "Custom", true, "FFFFF", "FFFFF"},
        {"custom cancelled, never picked", "E99012", "Custom", false, "E99012", "E99012"},
        {"stored custom left alone", "123456", nullptr, false, "123456", "123456"},
        {"desktop colour", "E99012", "'9x/NT4 Standard", false, kFace, kFace},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.ColScheme = c.before;
        settings.CustomSchemeColour.clear();
        storeValue("ColScheme", c.before);
        Preferences& p = open();
        if (c.choose) {
            EXPECT_EQ(p.setSchemeText(c.choose), std::string(c.choose) == "Custom");
        }
        if (c.pick) p.pickCustomColour(kYellow);
        EXPECT_TRUE(ok());
        EXPECT_EQ(settings.ColScheme, c.memory);
        EXPECT_EQ(stored("ColScheme"), c.stored);
    }
}

TEST_F(PrefsTest, StartupBoxWritesAndRemovesTheAutostartEntry) {
    Preferences& p = open();
    p.controls().startAtLogon = true;
    EXPECT_TRUE(ok("/opt/my apps/tavrin"));
    EXPECT_EQ(autostart(), "/opt/my apps/tavrin");
    EXPECT_TRUE(settings.RunAtLogon);
    p.controls().startAtLogon = false;
    EXPECT_EQ(ok().message(), "");
    EXPECT_EQ(autostart(), "<missing>");
    EXPECT_FALSE(settings.RunAtLogon);
    EXPECT_EQ(ok().message(), "");  // no entry to remove is no error
}

// A disk that fills up while OK rewrites the settings file: the store keeps none of the changes.
struct FullDiskStore : MemoryStore {
    Status commitChanges(Root) override { return status::kWriteFailed; }
    std::string takeFailure() override { return "cannot write /x/user.reg: No space left on device"; }
};

TEST_F(PrefsTest, RefusedSaveSaysWhyAndLeavesMemoryTheAutostartEntryAndTheZonesAlone) {
    FullDiskStore full;
    EXPECT_FALSE(loadSettings(full, settings, zones, "E99012"));  // its defaults are not kept either
    zones.ZoneList[1] = "Asia/Tokyo";
    Preferences& p = open();
    p.setSchemeText("XP Silver");
    p.controls().dateFormat = "yyyy-mm-dd";
    p.controls().startAtLogon = true;
    p.putSettings();
    const Result<> r = p.saveSettings(full, zones, list, "/opt/tavrin/bin/tavrin");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.message().substr(0, 88),
              "Your preferences could not be saved: cannot write /x/user.reg: No space left on device.\n");
    EXPECT_EQ(settings.ColScheme + " " + settings.DateFormat + " " + zones.ZoneList[1],
              "E5DBDA yyyy-mm-dd Asia/Tokyo");
    EXPECT_FALSE(settings.RunAtLogon);
    EXPECT_EQ(storedValue(full, Root::CurrentUser, kRunKey, kRunValueName), "<missing>");
}

}  // namespace
}  // namespace tavrin
