// The real program under its own X server and window manager, beside a real panel (tint2): the clock
// takes the end of the panel at the bottom, the top and the left, stays visible above it when the
// panel restarts or starts after the clock (as at login), a real press on it opens the menu on the
// screen beside the panel, and it goes to the screen's corner when the panel goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDir.h"
#include "support/XScreen.h"
#include "support/XSession.h"

namespace {

namespace fs = std::filesystem;
using namespace tavrin::test;

// The panel's own colour, which must not show where the clock is.
constexpr std::uint32_t kPanelColour = 0x402020;

struct PanelEdge {
    const char* name;
    const char* position;  // tint2's words for it
    const char* size;
};

void writeTint2Config(const std::string& file, const PanelEdge& edge) {
    std::ofstream(file) << "rounded = 0\nborder_width = 0\nbackground_color = #402020 100\n"
                           "border_color = #000000 0\n"
                           "panel_items = TC\npanel_monitor = all\npanel_position = "
                        << edge.position << "\npanel_size = " << edge.size
                        << "\npanel_margin = 0 0\npanel_padding = 2 0 2\npanel_background_id = 1\n"
                           "panel_layer = top\nstrut_policy = follow_size\npanel_dock = 0\n"
                           "time1_format = %H:%M\ntime2_format = %A %d %B\nclock_font_color = #ffffff 100\n"
                           "taskbar_mode = single_desktop\n";
}

bool inside(const Rect& r, const Rect& outer) {
    return r.w > 0 && r.x >= outer.x && r.y >= outer.y && r.x + r.w <= outer.x + outer.w &&
           r.y + r.h <= outer.y + outer.h;
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

class PanelUnderX : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!onPath("Xvfb") || !onPath("openbox") || !onPath("tint2") || !onPath("xdotool"))
            GTEST_SKIP()
                << "Xvfb, openbox, tint2 or xdotool is not installed (tools/setup.sh installs them): "
                   "this test runs the clock beside a real panel under a real window manager";
        for (const char* sub : {"config/tavrin", "configdirs", "data", "runtime"})
            fs::create_directories(root.file(sub));
        fs::permissions(root.file("runtime"), fs::perms::owner_all);
        std::ofstream(root.file("config/tavrin/user.reg"))
            << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n";
        display = startXvfb(xvfb, root.file("xvfb.log"));
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        env = {{"DISPLAY", display},
               {"QT_QPA_PLATFORM", "xcb"},
               {"HOME", root.path()},
               {"XDG_CONFIG_HOME", root.file("config")},
               {"XDG_CONFIG_DIRS", root.file("configdirs")},
               {"XDG_DATA_HOME", root.file("data")},
               {"XDG_RUNTIME_DIR", root.file("runtime")},
               {"TZDIR", TAVRIN_TEST_DATA "/zoneinfo"},
               {"TAVRIN_PROBE", root.file("probe.txt")}};
        wm.pid = spawn({"openbox", "--sm-disable"}, env, root.file("wm.log"));
        screen = std::make_unique<XScreen>(display);
        ASSERT_TRUE(screen->connected());
        ASSERT_TRUE(waitFor([&] { return screen->windowManagerRuns(); }, 20)) << "openbox did not start";
    }

    void startPanel(const PanelEdge& edge) {
        stopPanel();
        const std::string config = root.file(std::string("tint2-") + edge.name);
        writeTint2Config(config, edge);
        panel.pid = spawn({"tint2", "-c", config}, env, root.file("tint2.log"));
        ASSERT_TRUE(waitFor([&] { return screen->windowOnScreen("tint2").w > 0; }, 20))
            << "tint2 did not show a panel at the " << edge.name;
    }
    void stopPanel() {
        if (panel.pid <= 0) return;
        ::kill(panel.pid, SIGTERM);
        ::waitpid(panel.pid, nullptr, 0);
        panel.pid = -1;
    }
    void startClock() {
        program.pid = spawn({TAVRIN_BINARY_DIR "/src/tavrin"}, env, root.file("tavrin.log"));
        ASSERT_TRUE(waitFor([&] { return probed(root.file("probe.txt"), "Tavrin").found; }, 20))
            << "the clock never showed";
    }

    Rect clock() { return screen->windowOnScreen("Tavrin"); }
    // The clock's own pictures show where it is, and none of the panel's colour.
    bool clockShows() {
        const Rect c = clock();
        const std::vector<std::uint32_t> shown = screen->pixels(c);
        if (shown.empty()) return false;
        const auto panelPixels = std::count(shown.begin(), shown.end(), kPanelColour);
        // The blue scheme: blue stronger than red almost everywhere but under the text.
        const auto blue = std::count_if(shown.begin(), shown.end(), [](std::uint32_t p) {
            return static_cast<int>(p & 0xFF) > static_cast<int>((p >> 16) & 0xFF) + 40;
        });
        return panelPixels == 0 && blue * 2 > static_cast<long>(shown.size());
    }

    // After `what`: the clock sits at the far end of the panel, shows, and a real press on it opens
    // the menu on the screen beside the panel.
    void expectClockOnPanel(const std::string& what, const char* edge) {
        SCOPED_TRACE(what);
        const Rect strip = screen->windowOnScreen("tint2");
        ASSERT_GT(strip.w, 0) << "no panel";
        const bool side = strip.h > strip.w;
        auto atEnd = [&] {
            const Rect c = clock();
            return inside(c, strip) &&
                   (side ? c.y + c.h == strip.y + strip.h : c.x + c.w == strip.x + strip.w);
        };
        EXPECT_TRUE(waitFor([&] { return atEnd() && clockShows(); }, 10))
            << "the clock is at " << clock().x << "," << clock().y << " " << clock().w << "x" << clock().h
            << (clockShows() ? "" : ", covered") << "; the panel at " << strip.x << "," << strip.y << " "
            << strip.w << "x" << strip.h;

        const Rect c = clock();
        const std::string press = "DISPLAY=" + display + " xdotool mousemove --sync " +
                                  std::to_string(c.x + c.w / 2) + " " + std::to_string(c.y + c.h / 2) +
                                  " click 1";
        ASSERT_EQ(std::system(press.c_str()), 0);
        const std::string probe = root.file("probe.txt");
        ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin Menu").found; }, 10))
            << "a press on the clock opened no menu";
        const Rect menu = probed(probe, "Tavrin Menu").rect;
        EXPECT_TRUE(inside(menu, Rect{0, 0, 1024, 768})) << "the menu is off the screen";
        EXPECT_FALSE(overlaps(menu, strip)) << "the menu covers the panel at the " << edge;
        std::system(("DISPLAY=" + display + " xdotool key Escape").c_str());
        waitFor([&] { return !probed(probe, "Tavrin Menu").found; }, 5);
    }

    TempDir root{"tavrin-panel-x"};
    std::string display;
    std::vector<std::pair<std::string, std::string>> env;
    Child xvfb, wm, panel, program;
    std::unique_ptr<XScreen> screen;
};

const PanelEdge kBottom{"bottom", "bottom center horizontal", "100% 30"};
const PanelEdge kTop{"top", "top center horizontal", "100% 30"};
const PanelEdge kLeft{"left", "center left vertical", "100% 41"};

TEST_F(PanelUnderX, TheClockStaysOnTheEndOfARealPanelThroughRestartsAndMoves) {
    // At login the clock may start before the panel.
    startClock();
    startPanel(kBottom);
    expectClockOnPanel("a panel started after the clock", "bottom");
    startPanel(kBottom);
    expectClockOnPanel("the panel restarted", "bottom");
    startPanel(kTop);
    expectClockOnPanel("the panel restarted at the top", "top");
    startPanel(kLeft);
    expectClockOnPanel("the panel restarted on the left", "left");

    // Without a panel the clock goes back to the screen's corner, and onto the panel when it returns.
    stopPanel();
    EXPECT_TRUE(waitFor(
        [&] {
            const Rect c = clock();
            return c.x + c.w == 1024 && c.y + c.h == 768;
        },
        10))
        << "no panel: the clock is at " << clock().x << "," << clock().y;
    startPanel(kBottom);
    expectClockOnPanel("the panel back", "bottom");
}

}  // namespace
