#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "core/store/StoreAccess.h"
#include "support/StoredValue.h"

using namespace tavrin;
using tavrin::test::storedValue;

namespace {

class StoreAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Disposition d;
        ASSERT_EQ(store.CreateKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kAllAccess, key, d),
                  0);
        ASSERT_EQ(store.CreateKey(KeyHandle::rootKey(Root::LocalMachine), kTimeZoneInformationKey, kAllAccess,
                                  zoneKey, d),
                  0);
    }
    std::string stored(std::string_view name) { return storedValue(store, key, name); }
    MemoryStore store;
    KeyHandle key, zoneKey;
};

}  // namespace

TEST_F(StoreAccessTest, ReadTextReadsWholeStringsAndWritesAMissingDefault) {
    ASSERT_TRUE(writeText(store, key, "DateFormat", "mm/dd/yy"));
    ASSERT_TRUE(writeText(store, key, "TimeFormat", std::string("h:mm\0", 5)));
    EXPECT_EQ(readText(store, key, "dateformat", "x").valueOr("<failed>"), "mm/dd/yy");
    EXPECT_EQ(readText(store, key, "TimeFormat").valueOr("<failed>"), std::string("h:mm\0", 5));
    EXPECT_EQ(stored("DateFormat"), "mm/dd/yy");  // a present value is never rewritten
    EXPECT_EQ(readText(store, key, "UseSysTZ", "1").valueOr("<failed>"), "1");
    EXPECT_EQ(stored("UseSysTZ"), "1");
    EXPECT_EQ(readText(store, key, "BGPicture").message(), "there is no value \"BGPicture\"");
    EXPECT_EQ(stored("BGPicture"), "<missing>");
    // A default that cannot be written is a failure that says why.
    const Result<KeyHandle> readOnly = openKey(store, Root::CurrentUser, kSettingsKey, kReadAccess);
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readText(store, *readOnly, "TZFormat", "mm/dd/yy").message(),
              "you have no permission to change the value \"TZFormat\"");
    EXPECT_FALSE(readText(store, KeyHandle{}, "x", "1"));
    // No value there is what a delete asks for.
    EXPECT_TRUE(deleteValue(store, key, "Nothing"));
}

TEST_F(StoreAccessTest, ReadMachineValueSwapsTheTerminatorForABlank) {
    ASSERT_TRUE(writeText(store, zoneKey, "StandardName", std::string("Europe/Berlin\0", 14)));
    ASSERT_TRUE(writeText(store, zoneKey, "Empty", ""));
    EXPECT_EQ(readMachineValue(store, kTimeZoneInformationKey, "StandardName").valueOr("<failed>"),
              "Europe/Berlin ");
    // Settings under the user's root are no machine values.
    for (const auto& [path, name] : {std::pair{kTimeZoneInformationKey, "Missing"},
                                     {"SYSTEM\\Nowhere", "StandardName"},
                                     {kTimeZoneInformationKey, "Empty"},
                                     {kSettingsKey, "DateFormat"}})
        EXPECT_FALSE(readMachineValue(store, path, name)) << path << " " << name;
}
