#include <gtest/gtest.h>

#include "core/base/Twips.h"
#include "core/clock/ClockFace.h"
#include "core/clock/MenuGate.h"
#include "core/clock/TrayArea.h"

using namespace tavrin;

TEST(TrayArea, WindowSitsDockTopOffsetBelowTheAreaClippedToIt) {
    EXPECT_EQ(pixelsFromTwips(dockTopOffsetTwips(2)), 3);  // 50 twips: 3.33 pixels
    EXPECT_EQ(pixelsFromTwips(dockTopOffsetTwips(1)), 1);  // 10 twips: 0.67 pixels
    EXPECT_EQ(dockedWindowRect({944, 738, 1024, 768}, 3, kSurfaceWidth, kSurfaceHeight),
              (PixelRect{944, 741, 1024, 768}));
    // Nothing beyond the drawing surface.
    EXPECT_EQ(dockedWindowRect({0, 0, 400, 500}, 3, kSurfaceWidth, kSurfaceHeight),
              (PixelRect{0, 3, 185, 372}));
    EXPECT_EQ(dockedWindowRect({0, 0, 80, 2}, 3, kSurfaceWidth, kSurfaceHeight).height(), 0);
}

TEST(MenuGate, OnePressOpensOneMenuUntilItCloses) {
    MenuGate gate;
    int opened = 0;
    const auto open = [&] { ++opened; };
    EXPECT_TRUE(gate.press(open));
    EXPECT_FALSE(gate.press(open));  // the second press of a double click, or any press while it is up
    EXPECT_EQ(opened, 1);
    gate.setShown(false);
    EXPECT_TRUE(gate.press(open));
    EXPECT_EQ(opened, 2);

    // A menu that closes at once leaves the flag down.
    MenuGate quick;
    const auto openAndClose = [&] { quick.setShown(false); };
    EXPECT_TRUE(quick.press(openAndClose));
    EXPECT_TRUE(quick.press(openAndClose));
}
