#include <gtest/gtest.h>

#include "core/desktop/PanelSpot.h"

using namespace tavrin;

namespace {

const Monitor kScreen{{0, 0, 1024, 768}, true};
const Monitor kSecond{{1024, 0, 2304, 1024}, false};

DockWindow strut(PixelRect r) {
    return DockWindow{r, true};
}

const DesktopLayout kBottomPanel{{kScreen}, {strut({0, 738, 1024, 768})}};

}  // namespace

TEST(PanelSpot, TheEndOfTheBestPanelElseThePrimaryMonitorsCorner) {
    const struct {
        const char* what;
        DesktopLayout desktop;
        PanelEdge edge;
        PixelRect area;
    } cases[] = {
        // clang-format off
        {"bottom panel", kBottomPanel, PanelEdge::Bottom, {944, 738, 1024, 768}},
        // (Top and left-hand panels: where the windows open, below.)
        {"right-hand panel, 41 wide", {{kScreen}, {strut({983, 0, 1024, 768})}}, PanelEdge::Right,
         {983, 704, 1024, 768}},
        {"half-width panel in the middle", {{kScreen}, {strut({256, 738, 768, 768})}}, PanelEdge::Bottom,
         {688, 738, 768, 768}},
        {"top bar before a left dock", {{kScreen}, {strut({0, 0, 48, 768}), strut({0, 0, 1024, 28})}},
         PanelEdge::Top, {944, 0, 1024, 28}},
        {"bottom before top", {{kScreen}, {strut({0, 0, 1024, 28}), strut({0, 738, 1024, 768})}},
         PanelEdge::Bottom, {944, 738, 1024, 768}},
        // The default desktop of one environment: a top panel that keeps its strip, and a small bottom
        // one that hides itself and keeps none.
        {"kept strip before a hiding panel", {{kScreen}, {DockWindow{{400, 720, 624, 768}, false},
         strut({0, 0, 1024, 26})}}, PanelEdge::Top, {944, 0, 1024, 26}},
        {"an edge too thin for a panel", {{kScreen}, {strut({0, 766, 1024, 768})}}, PanelEdge::None,
         {944, 728, 1024, 768}},
        {"a dock floating mid-screen", {{kScreen}, {strut({100, 300, 900, 340})}}, PanelEdge::None,
         {944, 728, 1024, 768}},
        {"a dock taller than a third of the screen", {{kScreen}, {strut({0, 500, 1024, 768})}},
         PanelEdge::None, {944, 728, 1024, 768}},
        {"a panel only on the second monitor", {{kScreen, kSecond}, {strut({1024, 994, 2304, 1024})}},
         PanelEdge::Bottom, {2224, 994, 2304, 1024}},
        {"the primary monitor's panel first", {{kSecond, kScreen}, {strut({1024, 994, 2304, 1024}),
         strut({0, 0, 1024, 30})}}, PanelEdge::Top, {944, 0, 1024, 30}},
        {"no panel: the primary's corner", {{kSecond, kScreen}, {}}, PanelEdge::None, {944, 728, 1024, 768}},
        {"no primary, no panel: the first monitor", {{Monitor{kSecond.rect, false}}, {}}, PanelEdge::None,
         {2224, 984, 2304, 1024}},
        {"a screen smaller than the area", {{Monitor{{0, 0, 60, 30}, true}}, {}}, PanelEdge::None,
         {0, 0, 60, 30}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const PanelSpot spot = findPanelSpot(c.desktop, 0);
        EXPECT_EQ(spot.edge, c.edge) << c.what;
        EXPECT_EQ(spot.area, c.area) << c.what;
    }
}

TEST(PanelSpot, TheOffsetMovesTheClockAlongThePanelAndStaysOnIt) {
    EXPECT_EQ(findPanelSpot(kBottomPanel, 100).area, (PixelRect{844, 738, 924, 768}));
    EXPECT_EQ(findPanelSpot(kBottomPanel, 5000).area, (PixelRect{0, 738, 80, 768}));
    EXPECT_EQ(findPanelSpot(kBottomPanel, -20).area, findPanelSpot(kBottomPanel, 0).area);

    const DesktopLayout left{{kScreen}, {strut({0, 0, 48, 768})}};
    EXPECT_EQ(findPanelSpot(left, 100).area, (PixelRect{0, 604, 48, 668}));

    // A drag moves the kept offset, never off the panel.
    const PanelSpot spot = findPanelSpot(kBottomPanel, 100);
    EXPECT_EQ(offsetMovedBy(spot, 50), 150);
    EXPECT_EQ(offsetMovedBy(spot, -500), 0);
    EXPECT_EQ(offsetMovedBy(spot, 5000), 944);
    // Without a panel there is nowhere to move.
    EXPECT_EQ(offsetMovedBy(findPanelSpot({{kScreen}, {}}, 100), 50), 0);
}

TEST(PanelSpot, WindowsOpenBesideThePanelNextToTheClockAndOnTheMonitor) {
    struct Case {
        const char* what;
        DesktopLayout desktop;
        int width, height;
        PixelRect at;
    } cases[] = {
        // clang-format off
        {"above a bottom panel", kBottomPanel, 241, 76, {783, 656, 1024, 732}},
        {"below a top panel", {{kScreen}, {strut({0, 0, 1024, 28})}}, 241, 76, {783, 34, 1024, 110}},
        {"right of a left panel", {{kScreen}, {strut({0, 0, 48, 768})}}, 241, 76, {54, 692, 295, 768}},
        {"left of a right panel", {{kScreen}, {strut({976, 0, 1024, 768})}}, 241, 76, {729, 692, 970, 768}},
        {"above the corner clock", {{kScreen}, {}}, 241, 76, {783, 646, 1024, 722}},
        {"taller than the room: from the top", kBottomPanel, 241, 900, {783, 0, 1024, 900}},
        {"on the panel's monitor", {{kScreen, kSecond}, {strut({1024, 994, 2304, 1024})}}, 241, 76,
         {2063, 912, 2304, 988}},
        // clang-format on
    };
    for (const Case& c : cases) {
        const PanelSpot spot = findPanelSpot(c.desktop, 0);
        EXPECT_EQ(placeBesidePanel(spot, spot.area, c.width, c.height, 6), c.at) << c.what;
    }
    // On a screen scaled up one and a half times the same panel is fewer, larger pixels.
    const DesktopLayout scaled = scaledDown(kBottomPanel, 1.5);
    EXPECT_EQ(findPanelSpot(scaled, 0).area, (PixelRect{603, 492, 683, 512}));
    // A clock moved along the panel takes its windows with it.
    const PanelSpot moved = findPanelSpot(kBottomPanel, 300);
    EXPECT_EQ(placeBesidePanel(moved, moved.area, 241, 76, 6).right, 1024 - 300);
}
