// The real program under its own X server and window manager, pressed with real input events: a press
// on the clock opens the menu above it with the chosen zones' lines; beside a real panel (tint2) the
// clock takes the end of the panel at the bottom, the top and the left, stays visible above it when
// the panel restarts or starts after the clock (as at login), its menu opens on the screen beside the
// panel, and the clock goes to the screen's corner when the panel goes. What the windows show is read
// back from the program's probe file.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "support/ScratchHome.h"
#include "support/XSession.h"

namespace {

using namespace tavrin::test;

// A test's own look at an X server: whether a window manager runs, where a window really is (the X
// server's account, not the toolkit's), and what the screen shows in a rectangle.
class XScreen {
  public:
    explicit XScreen(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {}
    ~XScreen() { xcb_disconnect(c_); }
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    bool connected() const { return xcb_connection_has_error(c_) == 0; }

    // Whether a window manager runs on the display (it names its check window on the root).
    bool windowManagerRuns() {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, root(), atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        const bool runs = reply != nullptr && xcb_get_property_value_length(reply) == 4;
        std::free(reply);
        return runs;
    }

    // Where the shown window named `title` is on the screen now, searching `depth` levels below the
    // root (a window manager's frame puts a window one level down); empty when it is not shown.
    Rect windowOnScreen(const std::string& title, int depth = 3) { return find(root(), title, depth); }

    // The screen's pixels in `r`, as 0xRRGGBB, row by row.
    std::vector<std::uint32_t> pixels(const Rect& r) {
        std::vector<std::uint32_t> out;
        if (r.w <= 0 || r.h <= 0) return out;
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            c_,
            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), static_cast<std::int16_t>(r.x),
                          static_cast<std::int16_t>(r.y), static_cast<std::uint16_t>(r.w),
                          static_cast<std::uint16_t>(r.h), ~0u),
            nullptr);
        if (image == nullptr) return out;
        // A 24-bit screen sends 32 bits a pixel.
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
        const int count = xcb_get_image_data_length(image) / 4;
        out.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) out.push_back(data[i] & 0xFFFFFFu);
        std::free(image);
        return out;
    }

  private:
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root; }

    Rect find(xcb_window_t window, const std::string& title, int depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr);
        if (tree == nullptr) return {};
        Rect found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = xcb_query_tree_children_length(tree) - 1; i >= 0 && found.w == 0; --i) {
            const xcb_window_t child = children[i];
            xcb_get_property_reply_t* name = xcb_get_property_reply(
                c_, xcb_get_property(c_, 0, child, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 64), nullptr);
            const bool named =
                name != nullptr &&
                std::string(static_cast<const char*>(xcb_get_property_value(name)),
                            static_cast<std::size_t>(xcb_get_property_value_length(name))) == title;
            std::free(name);
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, child), nullptr);
            const bool viewable = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            xcb_get_geometry_reply_t* geometry =
                xcb_get_geometry_reply(c_, xcb_get_geometry(c_, child), nullptr);
            xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
                c_, xcb_translate_coordinates(c_, child, root(), 0, 0), nullptr);
            if (named && viewable && geometry != nullptr && at != nullptr && geometry->width > 1)
                found = {at->dst_x, at->dst_y, geometry->width, geometry->height};
            std::free(geometry);
            std::free(at);
            if (found.w == 0 && depth > 1) found = find(child, title, depth - 1);
        }
        std::free(tree);
        return found;
    }

    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return a;
    }

    xcb_connection_t* c_;
};

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
            GTEST_SKIP() << "Xvfb, openbox, tint2 or xdotool is not installed (tools/setup.sh installs them)";
        // The blue scheme, and three zones listed by city.
        home.seedSettings(
            "\"ColScheme\"=\"E99012\"\n\"NumTimeZones\"=\"3\"\n\"TZone1\"=\"Asia/Tokyo\"\n"
            "\"TZone2\"=\"Europe/Berlin\"\n\"TZone3\"=\"America/St_Johns\"\n"
            "\"TZSType\"=\"0\"\n\"PNDisp\"=\"0\"\n");
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
