// The program as a user installs it: `cmake --install` into a scratch prefix, then started from there.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/ScratchHome.h"

namespace {

namespace fs = std::filesystem;

struct CommandRun {
    int status = -1;
    std::string output;
};

// Runs a shell command line and collects what it prints (standard error included).
CommandRun run(const std::string& command) {
    CommandRun result;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

TEST(InstalledProgram, BringsItsFilesAndStartsFromThePrefixFindingItsPictures) {
    tavrin::test::TempDir prefix("tavrin-prefix");
    const CommandRun install =
        run("cmake --install " + quoted(TAVRIN_BINARY_DIR) + " --prefix " + quoted(prefix.path()));
    ASSERT_EQ(install.status, 0) << install.output;
    for (const char* file :
         {"bin/tavrin", "bin/tavrinctl", "share/tavrin/Images/olive_green.gif",
          "share/tavrin/Images/def_blue_center.gif", "share/applications/tavrin.desktop",
          "share/icons/hicolor/48x48/apps/tavrin.png", "share/icons/hicolor/256x256/apps/tavrin.png",
          "share/man/man1/tavrin.1.gz", "share/man/man1/tavrinctl.1.gz"})
        EXPECT_TRUE(fs::exists(prefix.file(file))) << file;

    if (run("command -v desktop-file-validate").status == 0) {
        const CommandRun valid =
            run("desktop-file-validate " + quoted(prefix.file("share/applications/tavrin.desktop")));
        EXPECT_EQ(valid.status, 0) << valid.output;
        EXPECT_EQ(valid.output, "");
    }
    const CommandRun page =
        run("man -l " + quoted(prefix.file("share/man/man1/tavrinctl.1.gz")) + " | head -3");
    if (page.status == 0 && page.output.find("not found") == std::string::npos) {
        EXPECT_NE(page.output.find("TAVRINCTL(1)"), std::string::npos) << page.output;
    }

    // Started from the prefix, the clock finds its scheme pictures in share/tavrin and paints its face.
    tavrin::test::ScratchHome home("tavrin-installed-home");
    home.seedSettings("\"ColScheme\"=\"B2E2EA\"\n");
    std::string env = "env QT_QPA_PLATFORM=offscreen TAVRIN_TRACE=1";
    for (const auto& [name, value] : home.environment()) env += " " + name + "=" + quoted(value);
    const CommandRun started = run("timeout 4 " + env + " " + quoted(prefix.file("bin/tavrin")));
    EXPECT_EQ(started.status, 124) << "the clock ended by itself: " << started.output;  // still running
    EXPECT_NE(started.output.find("first frame after"), std::string::npos) << started.output;
    EXPECT_EQ(started.output.find("pictures are missing"), std::string::npos) << started.output;
}

}  // namespace
