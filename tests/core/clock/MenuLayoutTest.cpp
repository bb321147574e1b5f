#include "core/clock/MenuLayout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(MenuLayout, LinesThenSeparatorThenButtons) {
    const MenuLayout none = layoutMenu(0);
    EXPECT_TRUE(none.lineTops.empty());
    EXPECT_EQ(none.buttons[0].top, 40);
    EXPECT_EQ(none.separatorTop, -10);
    EXPECT_EQ(none.height, 40 + kMenuButtonTwips + 75);

    const MenuLayout three = layoutMenu(3);
    EXPECT_EQ(three.lineTops, (std::vector<int>{0, 220, 440}));
    EXPECT_EQ(three.separatorTop, 650);
    EXPECT_EQ(three.height, 700 + kMenuButtonTwips + 75);
    // Six buttons in a row, inside the menu, none overlapping the next.
    for (std::size_t i = 0; i < three.buttons.size(); ++i) {
        EXPECT_EQ(three.buttons[i].top, 700);
        EXPECT_GE(three.buttons[i].left, 0);
        EXPECT_LE(three.buttons[i].right(), kMenuWidthTwips);
        if (i > 0) {
            EXPECT_GT(three.buttons[i].left, three.buttons[i - 1].right());
        }
    }
    EXPECT_EQ(layoutMenu(50).height, 50 * 220 + 40 + kMenuButtonTwips + 75);
}

TEST(MenuLayout, PlacedAboveTheTrayAreaAndKeptOnTheScreen) {
    const auto twips = [](int left, int top, int right, int bottom) {
        return TwipsRect{left * 15, top * 15, (right - left) * 15, (bottom - top) * 15};
    };
    const TwipsRect screen768 = twips(0, 0, 1024, 768);  // the screen the side-panel rule was made for
    const TwipsRect bottomTray = twips(944, 738, 1024, 768);
    const TwipsRect bottomClock = twips(944, 741, 1024, 768);
    const TwipsRect screen600 = twips(0, 0, 1024, 600);
    const struct {
        const char* what;
        TwipsRect screen, clock, tray;
        int height;
        int left, top;
    } cases[] = {
        {"bottom panel", screen768, bottomClock, bottomTray, 1135, 15360 - 3615, 738 * 15 - 1135 - 90},
        {"tray not yet known", screen768, bottomClock, {}, 1135, 15360 - 3615, 500},
        {"clock at 10635 twips: left of a wide side clock",
         screen768,
         {13000, 10635, 3000, 600},
         {13000, 10600, 3000, 920},
         1135,
         15360 - 3000 - 1000,
         10600 - 1135 - 90},
        // The right edge follows the screen, and the side rule its bottom: a small screen's bottom panel.
        {"600-pixel screen", screen600, twips(944, 573, 1024, 600), twips(944, 570, 1024, 600), 1135,
         15360 - 3615, 570 * 15 - 1135 - 90},
        {"second screen to the right", twips(1024, 0, 2304, 1024), twips(2224, 997, 2304, 1024),
         twips(2224, 994, 2304, 1024), 475, 2304 * 15 - 3615, 994 * 15 - 475 - 90},
        // A narrow side clock would put the menu past the screen's right edge: it stays on the screen.
        {"right-hand panel", screen768, twips(976, 731, 1024, 768), twips(976, 728, 1024, 768), 1135,
         15360 - 3615, 728 * 15 - 1135 - 90},
        {"left-hand panel", screen768, twips(0, 731, 48, 768), twips(0, 728, 48, 768), 1135, 0,
         728 * 15 - 1135 - 90},
        {"top panel: below the tray area", screen768, twips(944, 3, 1024, 30), twips(944, 0, 1024, 30), 1135,
         15360 - 3615, 30 * 15 + 90},
        {"50 lines on a small screen", screen600, twips(944, 573, 1024, 600), twips(944, 570, 1024, 600),
         11475, 15360 - 3615, 0},
    };
    for (const auto& c : cases) {
        const TwipsRect at = placeMenu(c.screen, c.clock, c.tray, c.height);
        EXPECT_EQ(at, (TwipsRect{c.left, c.top, kMenuWidthTwips, c.height})) << c.what;
    }
}

}  // namespace
}  // namespace tavrin
