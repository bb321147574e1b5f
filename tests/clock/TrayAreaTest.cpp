#include <gtest/gtest.h>

#include "clock/ClockFace.h"
#include "clock/MenuGate.h"
#include "clock/TrayArea.h"

using namespace tavrin;

TEST(TrayArea, RightEndOfABottomPanel) {
    EXPECT_EQ(TrayAreaRect({0, 0, 1024, 768}, {0, 0, 1024, 738}), (PixelRect{944, 738, 1024, 768}));
    // A screen right of another keeps its own origin.
    EXPECT_EQ(TrayAreaRect({1920, 0, 3200, 1024}, {1920, 0, 3200, 976}), (PixelRect{3120, 976, 3200, 1024}));
}

TEST(TrayArea, CornerWhenNoPanelLeavesRoom) {
    EXPECT_EQ(TrayAreaRect({0, 0, 1024, 768}, {0, 0, 1024, 768}), (PixelRect{944, 728, 1024, 768}));
    // A top panel, or a strip too thin to be a panel, leaves the corner too.
    EXPECT_EQ(TrayAreaRect({0, 0, 1024, 768}, {0, 28, 1024, 768}), (PixelRect{944, 728, 1024, 768}));
    EXPECT_EQ(TrayAreaRect({0, 0, 1024, 768}, {0, 0, 1024, 766}), (PixelRect{944, 728, 1024, 768}));
    // A right-hand panel: its bottom end.
    EXPECT_EQ(TrayAreaRect({0, 0, 1024, 768}, {0, 0, 976, 768}), (PixelRect{976, 728, 1024, 768}));
    // A screen smaller than the area.
    EXPECT_EQ(TrayAreaRect({0, 0, 60, 30}, {0, 0, 60, 30}), (PixelRect{0, 0, 60, 30}));
}

TEST(TrayArea, WindowSitsDockTopOffsetBelowTheAreaClippedToIt) {
    EXPECT_EQ(TwipsToPixels(DockTopOffsetTwips(2)), 3);  // 50 twips: 3.33 pixels
    EXPECT_EQ(TwipsToPixels(DockTopOffsetTwips(1)), 1);  // 10 twips: 0.67 pixels
    EXPECT_EQ(DockedWindowRect({944, 738, 1024, 768}, 3, kSurfaceWidth, kSurfaceHeight),
              (PixelRect{944, 741, 1024, 768}));
    // Nothing beyond the drawing surface.
    EXPECT_EQ(DockedWindowRect({0, 0, 400, 500}, 3, kSurfaceWidth, kSurfaceHeight),
              (PixelRect{0, 3, 185, 372}));
    EXPECT_EQ(DockedWindowRect({0, 0, 80, 2}, 3, kSurfaceWidth, kSurfaceHeight).height(), 0);
    EXPECT_EQ(BottomLayerTop(22), 12);
}

TEST(MenuGate, OnePressOpensOneMenuUntilItCloses) {
    MenuGate gate;
    int opened = 0;
    const auto open = [&] { ++opened; };
    EXPECT_TRUE(gate.press(open));
    EXPECT_TRUE(gate.shown());
    EXPECT_FALSE(gate.press(open));  // the second press of a double click, or any press while it is up
    EXPECT_EQ(opened, 1);
    gate.setShown(false);
    EXPECT_TRUE(gate.press(open));
    EXPECT_EQ(opened, 2);
}

TEST(MenuGate, AMenuThatClosesAtOnceLeavesTheFlagDown) {
    MenuGate gate;
    int opened = 0;
    const auto openAndClose = [&] {
        ++opened;
        gate.setShown(false);
    };
    EXPECT_TRUE(gate.press(openAndClose));
    EXPECT_FALSE(gate.shown());
    EXPECT_TRUE(gate.press(openAndClose));
    EXPECT_EQ(opened, 2);
}
