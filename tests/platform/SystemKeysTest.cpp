#include <gtest/gtest.h>

#include <fstream>

#include "core/settings/Settings.h"
#include "core/store/MemoryStore.h"
#include "core/store/StoreAccess.h"
#include "platform/SystemKeys.h"
#include "support/TempDir.h"

using namespace tavrin;

namespace {

std::string value(SystemKeys& keys, std::string_view path, std::string_view name) {
    ValueType type;
    std::string data;
    return keys.getValue(path, name, type, data) ? data : "<missing>";
}

}  // namespace

TEST(SystemKeys, MachineZoneIsReadAfreshWithItsTerminator) {
    std::string zone = "Europe/Berlin";
    SystemKeys keys({[&] { return zone; }, "/nonexistent", nullptr});
    EXPECT_EQ(value(keys, "system\\currentcontrolset\\control\\timezoneinformation", "standardname"),
              std::string("Europe/Berlin\0", 14));
    zone = "Asia/Tokyo";
    MemoryStore store;
    store.mount(Root::LocalMachine,
                std::make_shared<SystemKeys>(SystemKeys::Sources{[&] { return zone; }, "", nullptr}));
    store.setReadOnly(Root::LocalMachine, true);
    EXPECT_EQ(readMachineValue(store, kTimeZoneInformationKey, "StandardName").valueOr("<failed>"),
              "Asia/Tokyo ");
}

TEST(SystemKeys, VersionValuesFromOsReleaseAndUname) {
    tavrin::test::TempDir dir("tavrin-os-release");
    std::ofstream(dir.file("os-release"))
        << "# comment\nNAME=\"Debian GNU/Linux\"\n"
           "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nVERSION_ID='12'\nID=debian\n";
    SystemKeys keys({nullptr, dir.file("os-release"), [](std::string& release, std::string& version) {
                         release = "6.1.0-18-amd64";
                         version = "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1";
                     }});
    const std::pair<const char*, std::string> values[] = {
        {"ProductName", std::string("Debian GNU/Linux 12 (bookworm)\0", 31)},
        {"CurrentVersion", std::string("12\0", 3)},
        {"CurrentBuildNumber", std::string("6.1.0-18-amd64\0", 15)},
        {"CSDVersion", std::string("#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1\0", 39)},
        {"Other", "<missing>"}};
    for (const auto& [name, data] : values) EXPECT_EQ(value(keys, kNtCurrentVersionKey, name), data) << name;
    // Missing facts are empty strings, still terminated.
    SystemKeys bare({nullptr, "/nonexistent", nullptr});
    EXPECT_EQ(value(bare, kNtCurrentVersionKey, "ProductName"), std::string("\0", 1));
    EXPECT_EQ(value(bare, kNtCurrentVersionKey, "CSDVersion"), std::string("\0", 1));
    EXPECT_EQ(SystemKeys::osReleaseField("NAME=Arch Linux\n", "NAME"), "Arch Linux");
    EXPECT_EQ(SystemKeys::osReleaseField("PRETTY_NAME=\"A \\\"B\\\"\"\n", "PRETTY_NAME"), "A \"B\"");
}

TEST(SystemKeys, IntermediateKeysExistAndListTheirChildren) {
    SystemKeys keys({nullptr, "/nonexistent", nullptr});
    for (const char* path :
         {"SYSTEM", "system\\CURRENTCONTROLSET", "SYSTEM\\CurrentControlSet\\Control", "Software",
          "SOFTWARE\\MICROSOFT", "Software\\Microsoft\\Windows NT", kNtCurrentVersionKey})
        EXPECT_TRUE(keys.hasKey(path)) << path;
    EXPECT_FALSE(keys.hasKey(""));
    EXPECT_FALSE(keys.hasKey("SOFTWARE\\QUILLON"));
    EXPECT_EQ(keys.subKeys(""), (std::vector<std::string>{"SYSTEM", "Software"}));
    EXPECT_EQ(keys.subKeys("software\\microsoft"), (std::vector<std::string>{"Windows NT"}));
    EXPECT_TRUE(keys.subKeys(kNtCurrentVersionKey).empty());
}
