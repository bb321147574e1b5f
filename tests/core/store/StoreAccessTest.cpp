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

TEST_F(StoreAccessTest, QueryValueReadsWholeStringsAndWritesAMissingDefault) {
    ASSERT_EQ(store.SetValue(key, "DateFormat", ValueType::String, "mm/dd/yy"), 0);
    ASSERT_EQ(store.SetValue(key, "TimeFormat", ValueType::String, std::string("h:mm\0", 5)), 0);
    Status s = -1;
    EXPECT_EQ(QueryValue(store, "dateformat", s, key, "x"), "mm/dd/yy");
    EXPECT_EQ(s, status::kSuccess);
    EXPECT_EQ(QueryValue(store, "TimeFormat", s, key, ""), std::string("h:mm\0", 5));
    EXPECT_EQ(stored("DateFormat"), "mm/dd/yy");  // a present value is never rewritten
    EXPECT_EQ(QueryValue(store, "UseSysTZ", s, key, "1"), "1");
    EXPECT_EQ(s, status::kSuccess);
    EXPECT_EQ(stored("UseSysTZ"), "1");
    EXPECT_EQ(QueryValue(store, "BGPicture", s, key, ""), "");
    EXPECT_NE(s, status::kSuccess);
    EXPECT_EQ(stored("BGPicture"), "<missing>");
    // A default that cannot be written gives empty text and a failing status.
    KeyHandle readOnly;
    ASSERT_EQ(store.OpenKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kReadAccess, readOnly), 0);
    EXPECT_EQ(QueryValue(store, "TZFormat", s, readOnly, "mm/dd/yy"), "");
    EXPECT_NE(s, status::kSuccess);
    EXPECT_EQ(QueryValue(store, "x", s, KeyHandle{}, "1"), "");
    EXPECT_NE(s, status::kSuccess);
}

TEST_F(StoreAccessTest, ReadMachineValueSwapsTheTerminatorForABlank) {
    ASSERT_EQ(store.SetValue(zoneKey, "StandardName", ValueType::String, std::string("Europe/Berlin\0", 14)),
              0);
    ASSERT_EQ(store.SetValue(zoneKey, "Empty", ValueType::String, ""), 0);
    EXPECT_EQ(ReadMachineValue(store, kTimeZoneInformationKey, "StandardName"), "Europe/Berlin ");
    EXPECT_EQ(ReadMachineValue(store, kTimeZoneInformationKey, "Missing"), " ");
    EXPECT_EQ(ReadMachineValue(store, "SYSTEM\\Nowhere", "StandardName"), " ");
    EXPECT_EQ(ReadMachineValue(store, kTimeZoneInformationKey, "Empty"), " ");
    // Settings under the user's root are no machine values.
    EXPECT_EQ(ReadMachineValue(store, kSettingsKey, "DateFormat"), " ");
}
