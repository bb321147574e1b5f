#include "core/clock/MenuLayout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(MenuLayout, LinesThenSeparatorThenButtons) {
    const MenuLayout none = LayoutMenu(0);
    EXPECT_TRUE(none.lineTops.empty());
    EXPECT_EQ(none.buttons[0].top, 40);
    EXPECT_EQ(none.separatorTop, -10);
    EXPECT_EQ(none.height, 40 + kMenuButtonTwips + 75);

    const MenuLayout three = LayoutMenu(3);
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
    EXPECT_EQ(LayoutMenu(50).height, 50 * 220 + 40 + kMenuButtonTwips + 75);
}

TEST(MenuLayout, PlacedAboveTheTrayAreaAndKeptOnTheScreen) {
    const TwipsRect screen768{0, 0, 1024 * 15, 768 * 15};  // the screen the side-panel rule was made for
    const TwipsRect bottomClock{944 * 15, 741 * 15, 80 * 15, 27 * 15};
    const int trayTop = 738 * 15;
    const struct {
        const char* what;
        TwipsRect screen, clock;
        int trayTop, height;
        int left, top;
    } cases[] = {
        {"bottom panel", screen768, bottomClock, trayTop, 1135, 15360 - 3615, trayTop - 1135 - 90},
        {"tray not yet known", screen768, bottomClock, 0, 1135, 15360 - 3615, 500},
        {"clock at 10635 twips: left of a wide side clock",
         screen768,
         {13000, 10635, 3000, 600},
         10635,
         1135,
         15360 - 3000 - 1000,
         10635 - 1135 - 90},
        // The right edge follows the screen, and the side rule its bottom: a small screen's bottom panel.
        {"600-pixel screen",
         {0, 0, 1024 * 15, 600 * 15},
         {944 * 15, 573 * 15, 1200, 405},
         570 * 15,
         1135,
         15360 - 3615,
         570 * 15 - 1135 - 90},
        {"second screen to the right",
         {15360, 0, 1280 * 15, 1024 * 15},
         {(1024 + 1200) * 15, 997 * 15, 1200, 405},
         994 * 15,
         475,
         15360 + 19200 - 3615,
         994 * 15 - 475 - 90},
        // A narrow side clock would put the menu past the screen's right edge: it stays on the screen.
        {"narrow side clock", screen768, {14400, 9000, 960, 405}, 8970, 1135, 15360 - 3615, 8970 - 1135 - 90},
        {"50 lines on a small screen",
         {0, 0, 1024 * 15, 600 * 15},
         {944 * 15, 573 * 15, 1200, 405},
         570 * 15,
         11475,
         15360 - 3615,
         0},
    };
    for (const auto& c : cases) {
        const TwipsRect at = PlaceMenu(c.screen, c.clock, c.trayTop, c.height);
        EXPECT_EQ(at, (TwipsRect{c.left, c.top, kMenuWidthTwips, c.height})) << c.what;
    }
}

}  // namespace
}  // namespace tavrin
