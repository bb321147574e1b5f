#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/SystemKeys.h"
#include "settings/MemoryStore.h"
#include "settings/Settings.h"
#include "settings/StoreAccess.h"

using namespace tavrin;

namespace {

std::string value(SystemKeys& keys, std::string_view path, std::string_view name) {
    ValueType type;
    std::string data;
    return keys.GetValue(path, name, type, data) ? data : "<missing>";
}

struct OsRelease {
    OsRelease(const std::string& text) {
        char name[] = "/tmp/tavrin-os-release-XXXXXX";
        const int fd = ::mkstemp(name);
        ::close(fd);
        path = name;
        std::ofstream(path) << text;
    }
    ~OsRelease() { std::filesystem::remove(path); }
    std::string path;
};

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
    EXPECT_EQ(ReadMachineValue(store, kTimeZoneInformationKey, "StandardName"), "Asia/Tokyo ");
}

TEST(SystemKeys, VersionValuesFromOsReleaseAndUname) {
    OsRelease file(
        "# comment\nNAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
        "VERSION_ID='12'\nID=debian\n");
    SystemKeys keys({nullptr, file.path, [](std::string& release, std::string& version) {
                         release = "6.1.0-18-amd64";
                         version = "#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1";
                     }});
    EXPECT_EQ(value(keys, kNtCurrentVersionKey, "ProductName"),
              std::string("Debian GNU/Linux 12 (bookworm)\0", 31));
    EXPECT_EQ(value(keys, kNtCurrentVersionKey, "CurrentVersion"), std::string("12\0", 3));
    EXPECT_EQ(value(keys, kNtCurrentVersionKey, "CurrentBuildNumber"), std::string("6.1.0-18-amd64\0", 15));
    EXPECT_EQ(value(keys, kNtCurrentVersionKey, "CSDVersion").substr(0, 7), "#1 SMP ");
    EXPECT_EQ(value(keys, kNtCurrentVersionKey, "Other"), "<missing>");
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
        EXPECT_TRUE(keys.HasKey(path)) << path;
    EXPECT_FALSE(keys.HasKey(""));
    EXPECT_FALSE(keys.HasKey("SOFTWARE\\QUILLON"));
    EXPECT_EQ(keys.SubKeys(""), (std::vector<std::string>{"SYSTEM", "Software"}));
    EXPECT_EQ(keys.SubKeys("software\\microsoft"), (std::vector<std::string>{"Windows NT"}));
    EXPECT_TRUE(keys.SubKeys(kNtCurrentVersionKey).empty());
}
