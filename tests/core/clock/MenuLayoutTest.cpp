#include "core/clock/MenuLayout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(MenuLayout, LinesThenSeparatorThenButtons) {
    const MenuLayout none = layoutMenu(0);
    EXPECT_TRUE(none.lineTops.empty());
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
}

TEST(MenuLayout, WidensToItsWidestLineWithinTheRoom) {
    EXPECT_EQ(menuWidthFor(3000, 15360), kMenuWidthTwips);
    EXPECT_EQ(menuWidthFor(5000, 15360), 5000 + 2 * kMenuLineLeftTwips);
    EXPECT_EQ(menuWidthFor(20000, 15360), 15360);
    // A wider menu spreads its buttons across its width.
    const MenuLayout wide = layoutMenu(1, 7230);
    EXPECT_GT(wide.buttons[5].left, layoutMenu(1).buttons[5].left);
    EXPECT_LE(wide.buttons[5].right(), 7230);
}

}  // namespace
}  // namespace tavrin
