// The real program under its own X server and window manager, pressed with real input events: a press
// on the clock opens the menu above it with the chosen zones' lines; beside a real panel (tint2) the
// clock takes the end of the panel at the bottom, the top and the left, stays visible above it when
// the panel restarts or starts after the clock (as at login), its menu opens on the screen beside the
// panel, and the clock goes to the screen's corner when the panel goes. What the windows show is read
// back from the program's probe file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/ScratchHome.h"
#include "support/XScreen.h"
#include "support/XSession.h"

namespace {

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
        // The blue scheme, and three zones listed by city.
        home.seedSettings(
            "\"ColScheme\"=\"E99012\"\n\"NumTimeZones\"=\"3\"\n\"TZone1\"=\"Asia/Tokyo\"\n"
            "\"TZone2\"=\"Europe/Berlin\"\n\"TZone3\"=\"America/"
            "St_Johns\"\n\"TZSType\"=\"0\"\n\"PNDisp\"=\"0\"\n");
        display = startXvfb(xvfb, home.file("xvfb.log"));
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        env = home.environment();
        env.insert(env.end(), {{"DISPLAY", display},
                               {"QT_QPA_PLATFORM", "xcb"},
                               {"HOME", home.dir().path()},
                               {"TAVRIN_PROBE", probe}});
        wm.pid = spawn({"openbox", "--sm-disable"}, env, home.file("wm.log"));
        screen = std::make_unique<XScreen>(display);
        ASSERT_TRUE(screen->connected());
        ASSERT_TRUE(waitFor([&] { return screen->windowManagerRuns(); }, 20)) << "openbox did not start";
    }

    void startPanel(const PanelEdge& edge) {
        stopPanel();
        const std::string config = home.file(std::string("tint2-") + edge.name);
        writeTint2Config(config, edge);
        panel.pid = spawn({"tint2", "-c", config}, env, home.file("tint2.log"));
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
        program.pid = spawn({TAVRIN_BINARY_DIR "/src/tavrin"}, env, home.file("tavrin.log"));
        ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin").found; }, 20)) << "the clock never showed";
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

    // A real press on the middle of the clock; the menu it opens, closed again by Escape afterwards.
    ProbedWindow pressClock() {
        const Rect c = clock();
        EXPECT_TRUE(pressAt(display, c.x + c.w / 2, c.y + c.h / 2));
        EXPECT_TRUE(waitFor([&] { return probed(probe, "Tavrin Menu").labels.size() >= 3; }, 10))
            << "a press on the clock opened no menu with its three lines";
        const ProbedWindow menu = probed(probe, "Tavrin Menu");
        std::system(("DISPLAY=" + display + " xdotool key Escape").c_str());
        waitFor([&] { return !probed(probe, "Tavrin Menu").found; }, 5);
        // The next press here must not make a double click with this one (the toolkit's 400 ms), which
        // opens the date and time settings instead of the menu.
        ::usleep(600'000);
        return menu;
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
        const Rect menu = pressClock().rect;
        EXPECT_TRUE(inside(menu, Rect{0, 0, 1024, 768})) << "the menu is off the screen";
        EXPECT_FALSE(overlaps(menu, strip)) << "the menu covers the panel at the " << edge;
    }

    bool inCorner() {
        const Rect c = clock();
        return c.x + c.w == 1024 && c.y + c.h == 768;
    }

    ScratchHome home{"tavrin-panel-x"};
    const std::string probe = home.file("probe.txt");
    std::string display;
    Environment env;
    Child xvfb, wm, panel, program;
    std::unique_ptr<XScreen> screen;
};

const PanelEdge kBottom{"bottom", "bottom center horizontal", "100% 30"};
const PanelEdge kTop{"top", "top center horizontal", "100% 30"};
const PanelEdge kLeft{"left", "center left vertical", "100% 41"};

TEST_F(PanelUnderX, TheClockStaysOnTheEndOfARealPanelThroughRestartsAndMoves) {
    // At login the clock may start before the panel: it takes the corner, and its menu opens above it
    // against the screen's edge.
    startClock();
    ASSERT_TRUE(waitFor([&] { return inCorner(); }, 10))
        << "no panel: the clock is at " << clock().x << "," << clock().y;
    const ProbedWindow menu = pressClock();
    EXPECT_LE(menu.rect.y + menu.rect.h, clock().y);
    EXPECT_EQ(menu.rect.x + menu.rect.w, 1024);

    startPanel(kBottom);
    expectClockOnPanel("a panel started after the clock", "bottom");
    startPanel(kTop);
    expectClockOnPanel("the panel restarted at the top", "top");
    startPanel(kLeft);
    expectClockOnPanel("the panel restarted on the left", "left");

    // Without a panel the clock goes back to the screen's corner.
    stopPanel();
    EXPECT_TRUE(waitFor([&] { return inCorner(); }, 10))
        << "no panel: the clock is at " << clock().x << "," << clock().y;
}

}  // namespace
