// The real program under its own X server: a real press on the clock window (through XTest) opens
// the menu above it, showing the chosen zones' lines. What the windows show is read back from the
// program's probe file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDir.h"
#include "support/XSession.h"

namespace {

namespace fs = std::filesystem;
using namespace tavrin::test;

TEST(MenuUnderX, ARealPressOnTheClockOpensTheMenuWithItsLinesAboveIt) {
    if (!onPath("Xvfb") || !onPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed (tools/setup.sh installs both): this test needs a "
                        "real X server to press the clock window";
    tavrin::test::TempDir root("tavrin-menu-x");
    for (const char* sub : {"config/tavrin", "configdirs", "data", "runtime"})
        fs::create_directories(root.file(sub));
    fs::permissions(root.file("runtime"), fs::perms::owner_all);
    std::ofstream(root.file("config/tavrin/user.reg"))
        << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n\"NumTimeZones\"=\"3\"\n"
           "\"TZone1\"=\"Asia/Tokyo\"\n\"TZone2\"=\"Europe/Berlin\"\n\"TZone3\"=\"America/St_Johns\"\n"
           "\"TZSType\"=\"0\"\n\"PNDisp\"=\"0\"\n";

    Child xvfb;
    const std::string display = startXvfb(xvfb, root.file("xvfb.log"));
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";

    const std::string probe = root.file("probe.txt");
    Child program;
    program.pid = spawn({TAVRIN_BINARY_DIR "/src/tavrin"},
                        {{"DISPLAY", display},
                         {"QT_QPA_PLATFORM", "xcb"},
                         {"XDG_CONFIG_HOME", root.file("config")},
                         {"XDG_CONFIG_DIRS", root.file("configdirs")},
                         {"XDG_DATA_HOME", root.file("data")},
                         {"XDG_RUNTIME_DIR", root.file("runtime")},
                         {"TZDIR", TAVRIN_TEST_DATA "/zoneinfo"},
                         {"TAVRIN_PROBE", probe}},
                        root.file("tavrin.log"));
    ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin").found; }, 20)) << "the clock never showed";
    const Rect clock = probed(probe, "Tavrin").rect;

    const std::string press = "DISPLAY=" + display + " xdotool mousemove --sync " +
                              std::to_string(clock.x + clock.w / 2) + " " +
                              std::to_string(clock.y + clock.h / 2) + " click 1";
    ASSERT_EQ(std::system(press.c_str()), 0);
    ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin Menu").labels.size() >= 3; }, 10))
        << "no menu with three lines after a press on the clock";

    const ProbedWindow menu = probed(probe, "Tavrin Menu");
    EXPECT_LE(menu.rect.y + menu.rect.h, clock.y);  // above the clock
    EXPECT_EQ(menu.rect.x + menu.rect.w, 1024);     // against the screen's right edge
    // Alphabetically by city: Berlin, St Johns, Tokyo, each with its full name.
    const char* names[] = {" - (GMT+01:00) Berlin, Germany", " - (GMT-03:30) St Johns, Canada",
                           " - (GMT+09:00) Tokyo, Japan"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string& line = menu.labels[i];
        EXPECT_GT(line.size(), std::string(names[i]).size()) << line;
        EXPECT_EQ(line.substr(line.size() - std::string(names[i]).size()), names[i]) << line;
    }
}

}  // namespace
