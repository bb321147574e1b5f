// The real program under its own X server and window manager, beside a panel that reserves a strip
// of the screen (a dock window with a strut, as desktop panels are): the clock takes the end of the
// strip, and follows the panel when it moves to another edge, grows or goes.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDir.h"
#include "support/XSession.h"

namespace {

namespace fs = std::filesystem;
using namespace tavrin::test;

// A panel: a dock window whose strut tells the window manager which strip of the screen it keeps.
class Panel {
  public:
    explicit Panel(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {}
    ~Panel() { xcb_disconnect(c_); }
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    bool connected() const { return xcb_connection_has_error(c_) == 0; }

    // Whether a window manager runs on the display (it names its check window on the root).
    bool windowManagerRuns() {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c_,
            xcb_get_property(c_, 0, screen->root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        const bool runs = reply != nullptr && xcb_get_property_value_length(reply) == 4;
        std::free(reply);
        return runs;
    }

    // Where the top-level window titled `title` is on the screen now, as the X server has it (the
    // toolkit's own idea of a window's place can lag behind the window manager's frame).
    Rect windowOnScreen(const std::string& title) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        return find(screen->root, screen->root, title, 3);
    }

    enum class Edge { Left, Right, Top, Bottom };
    // Shows the panel along `edge`, `thickness` pixels thick, on a 1024 x 768 screen.
    void place(Edge edge, int thickness) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        int x = 0, y = 0, w = 1024, h = 768;
        std::array<std::uint32_t, 12> strut{};  // left, right, top, bottom, then each one's start and end
        const auto t = static_cast<std::uint32_t>(thickness);
        switch (edge) {
            case Edge::Left:
                w = thickness;
                strut = {t, 0, 0, 0, 0, 767, 0, 0, 0, 0, 0, 0};
                break;
            case Edge::Right:
                x = 1024 - thickness, w = thickness;
                strut = {0, t, 0, 0, 0, 0, 0, 767, 0, 0, 0, 0};
                break;
            case Edge::Top:
                h = thickness;
                strut = {0, 0, t, 0, 0, 0, 0, 0, 0, 1023, 0, 0};
                break;
            case Edge::Bottom:
                y = 768 - thickness, h = thickness;
                strut = {0, 0, 0, t, 0, 0, 0, 0, 0, 0, 0, 1023};
                break;
        }
        if (window_ == 0) {
            window_ = xcb_generate_id(c_);
            const std::uint32_t background = 0x303030;
            xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, static_cast<std::int16_t>(x),
                              static_cast<std::int16_t>(y), static_cast<std::uint16_t>(w),
                              static_cast<std::uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                              screen->root_visual, XCB_CW_BACK_PIXEL, &background);
            const xcb_atom_t dock = atom("_NET_WM_WINDOW_TYPE_DOCK");
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, atom("_NET_WM_WINDOW_TYPE"),
                                XCB_ATOM_ATOM, 32, 1, &dock);
        }
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, atom("_NET_WM_STRUT_PARTIAL"),
                            XCB_ATOM_CARDINAL, 32, 12, strut.data());
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, atom("_NET_WM_STRUT"), XCB_ATOM_CARDINAL, 32,
                            4, strut.data());
        const std::uint32_t geometry[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                          static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h)};
        xcb_configure_window(
            c_, window_,
            XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
            geometry);
        xcb_map_window(c_, window_);
        xcb_flush(c_);
    }
    void remove() {
        xcb_destroy_window(c_, window_);
        window_ = 0;
        xcb_flush(c_);
    }

  private:
    // Searches `depth` levels below `window` for a viewable window named `title` larger than a pixel.
    Rect find(xcb_window_t root, xcb_window_t window, const std::string& title, int depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr);
        if (tree == nullptr) return {};
        Rect found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && found.w == 0; ++i) {
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
                c_, xcb_translate_coordinates(c_, child, root, 0, 0), nullptr);
            if (named && viewable && geometry != nullptr && at != nullptr && geometry->width > 1)
                found = {at->dst_x, at->dst_y, geometry->width, geometry->height};
            std::free(geometry);
            std::free(at);
            if (found.w == 0 && depth > 1) found = find(root, child, title, depth - 1);
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
    xcb_window_t window_ = 0;
};

TEST(PanelUnderX, TheClockTakesTheEndOfThePanelStripAndFollowsThePanel) {
    if (!onPath("Xvfb") || !onPath("openbox"))
        GTEST_SKIP() << "Xvfb or openbox is not installed (tools/setup.sh installs both): this test needs a "
                        "real X server and a window manager that honours panel struts";
    TempDir root("tavrin-panel-x");
    for (const char* sub : {"config/tavrin", "configdirs", "data", "runtime"})
        fs::create_directories(root.file(sub));
    fs::permissions(root.file("runtime"), fs::perms::owner_all);
    std::ofstream(root.file("config/tavrin/user.reg"))
        << "REGEDIT4\n\n[SOFTWARE\\QUILLON\\TAVRIN]\n\"ColScheme\"=\"E99012\"\n";

    Child xvfb;
    const std::string display = startXvfb(xvfb, root.file("xvfb.log"));
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    const std::vector<std::pair<std::string, std::string>> env = {
        {"DISPLAY", display},
        {"QT_QPA_PLATFORM", "xcb"},
        {"HOME", root.path()},
        {"XDG_CONFIG_HOME", root.file("config")},
        {"XDG_CONFIG_DIRS", root.file("configdirs")},
        {"XDG_DATA_HOME", root.file("data")},
        {"XDG_RUNTIME_DIR", root.file("runtime")},
        {"TZDIR", TAVRIN_TEST_DATA "/zoneinfo"},
        {"TAVRIN_PROBE", root.file("probe.txt")}};
    Child wm;
    wm.pid = spawn({"openbox", "--sm-disable"}, env, root.file("wm.log"));
    Panel panel(display);
    ASSERT_TRUE(panel.connected());
    // The panel and the clock come once the window manager runs, as they do in a desktop session.
    ASSERT_TRUE(waitFor([&] { return panel.windowManagerRuns(); }, 20)) << "openbox did not start";
    panel.place(Panel::Edge::Bottom, 30);

    Child program;
    program.pid = spawn({TAVRIN_BINARY_DIR "/src/tavrin"}, env, root.file("tavrin.log"));
    const std::string probe = root.file("probe.txt");
    ASSERT_TRUE(waitFor([&] { return probed(probe, "Tavrin").found; }, 20)) << "the clock never showed";
    auto clock = [&] { return panel.windowOnScreen("Tavrin"); };
    // The clock lies inside `strip` and against its far end (the right-hand end of a horizontal
    // strip, the bottom of an upright one).
    auto atEndOf = [&](Rect strip) {
        const Rect c = clock();
        if (c.w <= 0 || c.h <= 0) return false;
        const bool inside = c.x >= strip.x && c.y >= strip.y && c.x + c.w <= strip.x + strip.w &&
                            c.y + c.h <= strip.y + strip.h;
        return inside && c.x + c.w == strip.x + strip.w && c.y + c.h == strip.y + strip.h;
    };
    struct Step {
        const char* what;
        Panel::Edge edge;
        int thickness;
        Rect strip;
    } steps[] = {
        {"a panel at the bottom", Panel::Edge::Bottom, 30, {0, 738, 1024, 30}},
        {"the panel moved to the top", Panel::Edge::Top, 28, {0, 0, 1024, 28}},
        {"the panel grown", Panel::Edge::Top, 40, {0, 0, 1024, 40}},
        {"the panel moved to the left", Panel::Edge::Left, 64, {0, 0, 64, 768}},
        {"the panel moved to the right", Panel::Edge::Right, 64, {960, 0, 64, 768}},
    };
    for (const Step& s : steps) {
        panel.place(s.edge, s.thickness);
        EXPECT_TRUE(waitFor([&] { return atEndOf(s.strip); }, 15))
            << s.what << ": the clock is at " << clock().x << "," << clock().y << " " << clock().w << "x"
            << clock().h;
    }
    // Without a panel the clock goes back to the screen's corner.
    panel.remove();
    EXPECT_TRUE(waitFor(
        [&] {
            return atEndOf({0, 0, 1024, 768});
        },
        15))
        << "no panel: the clock is at " << clock().x << "," << clock().y;
}

}  // namespace
