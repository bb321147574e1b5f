#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ApplicationDirectory.h"
#include "platform/DateTimeSettingsTool.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "tavrin-clock-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string sub(const std::string& name) const {
        fs::create_directories(path_ / name);
        return (path_ / name).string();
    }

  private:
    fs::path path_;
};

void writeFile(const std::string& path, bool executable) {
    std::ofstream(path) << "#!/bin/sh\n";
    ::chmod(path.c_str(), executable ? 0755 : 0644);
}

}  // namespace

TEST(DateTimeSettingsTool, FirstKnownToolOnThePathWinsByToolOrder) {
    TempDir tmp;
    const std::string a = tmp.sub("a");
    const std::string b = tmp.sub("b");
    writeFile(a + "/cinnamon-settings", true);
    writeFile(b + "/gnome-control-center", true);
    const auto tool = FindDateTimeSettingsTool(a + ":" + b);
    ASSERT_TRUE(tool);
    EXPECT_EQ(*tool, (ToolCommand{b + "/gnome-control-center", {"datetime"}}));

    const auto cinnamon = FindDateTimeSettingsTool(a);
    ASSERT_TRUE(cinnamon);
    EXPECT_EQ(*cinnamon, (ToolCommand{a + "/cinnamon-settings", {"calendar"}}));
}

TEST(DateTimeSettingsTool, OnlyExecutableFilesCount) {
    TempDir tmp;
    const std::string a = tmp.sub("a");
    writeFile(a + "/gnome-control-center", false);
    tmp.sub("a/systemsettings");  // a folder of that name
    EXPECT_FALSE(FindDateTimeSettingsTool(a));
    EXPECT_FALSE(FindDateTimeSettingsTool(""));
    writeFile(a + "/time-admin", true);
    ASSERT_TRUE(FindDateTimeSettingsTool("/nonexistent::" + a));
    EXPECT_EQ(FindDateTimeSettingsTool("/nonexistent::" + a)->program, a + "/time-admin");
}

TEST(DateTimeSettingsTool, NoKnownToolIsATerminalCommand) {
    for (const ToolCommand& tool : KnownDateTimeTools()) {
        EXPECT_NE(tool.program, "timedatectl");
        EXPECT_EQ(tool.program.find('/'), std::string::npos);
    }
}

TEST(ApplicationDirectory, ImagesBesideTheExecutableElseTheInstalledShare) {
    TempDir tmp;
    const std::string bin = tmp.sub("prefix/bin");
    EXPECT_EQ(ApplicationDirectory(bin), bin);  // nothing anywhere: look beside the executable
    const std::string share = tmp.sub("prefix/share/tavrin/Images");
    EXPECT_EQ(ApplicationDirectory(bin), fs::path(share).parent_path().string());
    tmp.sub("prefix/bin/Images");
    EXPECT_EQ(ApplicationDirectory(bin), bin);
    EXPECT_FALSE(ExecutableDirectory().empty());
}
