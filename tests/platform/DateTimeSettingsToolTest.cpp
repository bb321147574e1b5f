#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ApplicationDirectory.h"
#include "platform/DateTimeSettingsTool.h"
#include "support/TempDir.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

struct Folders : ::testing::Test {
    tavrin::test::TempDir tmp{"tavrin-clock"};
    std::string folder(const std::string& name) const {
        fs::create_directories(tmp.file(name));
        return tmp.file(name);
    }
    static void script(const std::string& path, bool executable) {
        std::ofstream(path) << "#!/bin/sh\n";
        ::chmod(path.c_str(), executable ? 0755 : 0644);
    }
};

}  // namespace

TEST_F(Folders, FirstExecutableKnownToolOnThePathWinsByToolOrder) {
    const std::string a = folder("a");
    const std::string b = folder("b");
    script(a + "/cinnamon-settings", true);
    script(b + "/gnome-control-center", true);
    EXPECT_EQ(findDateTimeSettingsTool(a + ":" + b),
              (ToolCommand{b + "/gnome-control-center", {"datetime"}}));
    EXPECT_EQ(findDateTimeSettingsTool(a), (ToolCommand{a + "/cinnamon-settings", {"calendar"}}));

    const std::string c = folder("c");
    script(c + "/gnome-control-center", false);
    folder("c/systemsettings");  // a folder of that name
    EXPECT_FALSE(findDateTimeSettingsTool(c));
    EXPECT_FALSE(findDateTimeSettingsTool(""));
    script(c + "/time-admin", true);
    const auto found = findDateTimeSettingsTool("/nonexistent::" + c);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->program, c + "/time-admin");

    for (const ToolCommand& tool : knownDateTimeTools()) {
        EXPECT_NE(tool.program, "timedatectl");  // a terminal command opens no window
        EXPECT_EQ(tool.program.find('/'), std::string::npos);
    }
}

TEST_F(Folders, ImagesBesideTheExecutableElseTheInstalledShare) {
    const std::string bin = folder("prefix/bin");
    EXPECT_EQ(applicationDirectory(bin), bin);  // nothing anywhere: look beside the executable
    folder("prefix/share/tavrin/Images");
    EXPECT_EQ(applicationDirectory(bin), tmp.file("prefix/share/tavrin"));
    folder("prefix/bin/Images");
    EXPECT_EQ(applicationDirectory(bin), bin);
}
