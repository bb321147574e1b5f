#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "support/FakeKeys.h"
#include "support/StoredValue.h"

using namespace tavrin;
using tavrin::test::storedValue;

namespace {

const KeyHandle kUser = KeyHandle::rootKey(Root::CurrentUser);
const KeyHandle kMachine = KeyHandle::rootKey(Root::LocalMachine);

struct MemoryStoreTest : ::testing::Test {
    MemoryStore store;
    KeyHandle key;
    Disposition d = Disposition::None;

    // SYSTEM\Zone with the zone's name, and SYSTEM\Wide with 400 subkeys, under the machine root.
    std::shared_ptr<tavrin::test::FakeKeys> mountSystem() {
        auto keys = std::make_shared<tavrin::test::FakeKeys>();
        keys->add("System\\Zone", "StandardName", std::string("Europe/Berlin\0", 14));
        for (int i = 0; i < 400; ++i) keys->add("SYSTEM\\Wide\\Z" + std::to_string(i));
        store.mount(Root::LocalMachine, keys);
        return keys;
    }
    // The key's values in one walk, as "name=data|...", or the walk's status when it fails.
    std::string visited(const KeyHandle& k) {
        std::string out;
        const Status s =
            store.visitValues(k, [&out](std::string_view name, ValueType, std::string_view data) {
                out += std::string(name) + "=" + std::string(data) + "|";
            });
        return s == status::kSuccess ? out : "status " + std::to_string(s);
    }
    std::vector<std::string> subKeys(const KeyHandle& parent) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; store.EnumKey(parent, i, name) == status::kSuccess; ++i)
            names.push_back(name);
        return names;
    }
};

}  // namespace

// Value names are the tree's to compare; key names the store's.
TEST_F(MemoryStoreTest, KeyNamesIgnoreCaseAndKeepTheirFirstCase) {
    ASSERT_EQ(store.CreateKey(kUser, kSettingsKey, kAllAccess, key, d), status::kSuccess);
    EXPECT_EQ(d, Disposition::CreatedNew);
    const RegKey* k = store.tree(Root::CurrentUser).find("software\\quillon\\tavrin");
    ASSERT_NE(k, nullptr);
    ASSERT_EQ(store.CreateKey(kUser, "Software\\Quillon\\Tavrin", kAllAccess, key, d), status::kSuccess);
    EXPECT_EQ(d, Disposition::OpenedExisting);
    EXPECT_EQ(k->name, "TAVRIN");
}

TEST_F(MemoryStoreTest, StatusesOfMissingClosedAndEnumeratedKeys) {
    EXPECT_EQ(store.OpenKey(kUser, kSettingsKey, kAllAccess, key), status::kNotFound);
    ASSERT_EQ(store.CreateKey(kUser, "A\\Second", kAllAccess, key, d), status::kSuccess);
    ASSERT_EQ(store.CreateKey(kUser, "a\\first", kAllAccess, key, d), status::kSuccess);
    EXPECT_EQ(storedValue(store, key, "x"), "<missing>");
    KeyHandle a;
    ASSERT_EQ(store.OpenKey(kUser, "A", kReadAccess, a), status::kSuccess);
    EXPECT_EQ(subKeys(a), (std::vector<std::string>{"Second", "first"}));
    std::string name;
    EXPECT_EQ(store.EnumKey(a, 2, name), status::kNoMoreItems);
    ASSERT_EQ(store.SetValue(key, "b", ValueType::String, "1"), status::kSuccess);
    ASSERT_EQ(store.SetValue(key, "", ValueType::String, "2"), status::kSuccess);
    ASSERT_EQ(store.EnumValue(key, 1, name), status::kSuccess);
    EXPECT_EQ(name, "");
    EXPECT_EQ(store.EnumValue(key, 2, name), status::kNoMoreItems);
    EXPECT_EQ(visited(key), "b=1|=2|");
    EXPECT_EQ(visited(a), "");
    ASSERT_EQ(store.DeleteValue(key, "B"), status::kSuccess);
    ASSERT_EQ(store.DeleteValue(key, ""), status::kSuccess);
    EXPECT_EQ(store.SetValue(a, "x", ValueType::String, "1"), status::kAccessDenied);  // opened for reading
    EXPECT_EQ(store.CloseKey(a), status::kSuccess);
    EXPECT_EQ(store.CloseKey(a), status::kInvalidHandle);
    EXPECT_EQ(store.EnumKey(a, 0, name), status::kInvalidHandle);
    EXPECT_EQ(visited(a), "status 6");
    EXPECT_EQ(store.SetValue(KeyHandle{}, "x", ValueType::String, "1"), status::kInvalidHandle);
    EXPECT_EQ(store.DeleteValue(key, "nothing"), status::kNotFound);
    EXPECT_EQ(store.SetValue(key, "bad\nname", ValueType::String, "1"), status::kBadArgument);
    // Deleting a key takes everything below it; the key above stays, even with nothing left in it.
    EXPECT_EQ(store.DeleteKey(Root::CurrentUser, "a\\second"), status::kSuccess);
    EXPECT_EQ(store.DeleteKey(Root::CurrentUser, "A\\FIRST"), status::kSuccess);
    EXPECT_EQ(store.DeleteKey(Root::CurrentUser, "A\\FIRST"), status::kNotFound);
    EXPECT_EQ(store.OpenKey(kUser, "A", kAllAccess, a), status::kSuccess);
    EXPECT_EQ(store.SetValue(key, "x", ValueType::String, "1"), status::kNotFound);  // its key is gone
}

TEST_F(MemoryStoreTest, ReadOnlyRootRefusesWriteAccessButOpensForReading) {
    ASSERT_EQ(store.CreateKey(kMachine, kSettingsKey, kAllAccess, key, d), status::kSuccess);
    ASSERT_EQ(store.SetValue(key, "DateFormat", ValueType::String, "mm/dd/yy"), status::kSuccess);
    store.setReadOnly(Root::LocalMachine, true);
    const RegTree before = store.tree(Root::LocalMachine);
    for (std::uint32_t access : {kAllAccess, 0x2u | 0x1u, 0x4u, 0x20u})
        EXPECT_EQ(store.OpenKey(kMachine, kSettingsKey, access, key), status::kAccessDenied) << access;
    EXPECT_EQ(store.CreateKey(kMachine, kSettingsKey, kAllAccess, key, d), status::kAccessDenied);
    EXPECT_EQ(store.CreateKey(kMachine, "SOFTWARE\\NEW", kReadAccess, key, d), status::kAccessDenied);
    EXPECT_EQ(store.DeleteKey(Root::LocalMachine, kSettingsKey), status::kAccessDenied);
    ASSERT_EQ(store.OpenKey(kMachine, kSettingsKey, kReadAccess, key), status::kSuccess);
    EXPECT_EQ(storedValue(store, key, "dateformat"), "mm/dd/yy");
    // A handle got with full access before the root turned read-only still cannot write.
    KeyHandle full{Root::LocalMachine, kSettingsKey, kAllAccess, true};
    EXPECT_EQ(store.SetValue(full, "DateFormat", ValueType::String, "x"), status::kAccessDenied);
    EXPECT_EQ(store.DeleteValue(full, "DateFormat"), status::kAccessDenied);
    EXPECT_EQ(store.tree(Root::LocalMachine), before);
}

TEST_F(MemoryStoreTest, ProviderKeysOpenWithAnyAccessAndRefuseChanges) {
    mountSystem();
    ASSERT_EQ(store.CreateKey(kMachine, "System\\Mine", kAllAccess, key, d), status::kSuccess);
    store.setReadOnly(Root::LocalMachine, true);
    ASSERT_EQ(store.OpenKey(kMachine, "system\\zone", kAllAccess, key), status::kSuccess);
    EXPECT_EQ(storedValue(store, key, "standardname"), std::string("Europe/Berlin\0", 14));
    store.setReadOnly(Root::LocalMachine, false);
    EXPECT_EQ(store.SetValue(key, "StandardName", ValueType::String, "UTC"), status::kAccessDenied);
    EXPECT_EQ(store.DeleteValue(key, "StandardName"), status::kAccessDenied);
    EXPECT_EQ(store.DeleteKey(Root::LocalMachine, "SYSTEM\\ZONE"), status::kAccessDenied);
    // Providers answer under the machine root only.
    EXPECT_EQ(store.OpenKey(kUser, "SYSTEM\\ZONE", kReadAccess, key), status::kNotFound);
    // A value stored under a provider's key (a hand-edited file) reads as the provider has it.
    bool created = false;
    store.tree(Root::LocalMachine)
        .create("SYSTEM\\Zone", created)
        .setValue("StandardName", ValueType::String, "x");
    store.tree(Root::LocalMachine).find("SYSTEM\\Zone")->setValue("Stored", ValueType::String, "y");
    EXPECT_EQ(visited(key), "StandardName=" + std::string("Europe/Berlin\0", 14) + "|Stored=y|");
    // Stored and supplied subkeys are listed together, each name once.
    ASSERT_EQ(store.OpenKey(kMachine, "SYSTEM", kReadAccess, key), status::kSuccess);
    EXPECT_EQ(subKeys(key), (std::vector<std::string>{"Mine", "Zone", "Wide"}));
}

TEST_F(MemoryStoreTest, EnumeratingABigProviderKeyAsksItOncePerWalk) {
    auto provider = mountSystem();
    ASSERT_EQ(store.OpenKey(kMachine, "SYSTEM\\WIDE", kAllAccess, key), status::kSuccess);
    const std::vector<std::string> names = subKeys(key);
    ASSERT_EQ(names.size(), 400u);
    EXPECT_EQ(names.back(), "Z399");
    EXPECT_EQ(provider->subKeyCalls, 1);
    std::string name;
    EXPECT_EQ(store.EnumKey(key, 0, name), status::kSuccess);  // a new walk looks again
    EXPECT_EQ(provider->subKeyCalls, 2);
}
