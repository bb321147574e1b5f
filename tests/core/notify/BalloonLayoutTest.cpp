#include "core/notify/BalloonLayout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

std::array<std::string, kBalloonLineSlots> filledLines(int n) {
    std::array<std::string, kBalloonLineSlots> lines;
    for (int i = 0; i < n; ++i) lines[static_cast<std::size_t>(i)] = "9:30 AM - Item " + std::to_string(i);
    return lines;
}

TEST(BalloonLines, CountAndTheFirstEmptyLineBothEndTheList) {
    struct Case {
        int filled, count, shown;
    } cases[] = {{3, 0, 1},  {3, 1, 2},       {3, 10, 3},       {0, 51, 0},
                 {3, -1, 0}, {256, 255, 256}, {256, 32767, 256}};
    for (const Case& c : cases) {
        EXPECT_EQ(shownLineCount(filledLines(c.filled), c.count), c.shown)
            << c.filled << " lines, Count " << c.count;
    }
    auto gap = filledLines(5);
    gap[2].clear();
    EXPECT_EQ(shownLineCount(gap, 51), 2);
    // Lines step by 14 and overlap: line 5 straddles the bottom of a 108-pixel balloon.
    EXPECT_EQ(balloonLineRect(5), (BalloonRect{50, 95, 400, 18}));
}

TEST(BalloonIcons, CodesInAnyCase) {
    using enum BalloonIcon;
    // clang-format off
    const std::pair<const char*, BalloonIcon> cases[] = {
        {"i", InformationXP}, {"I", InformationXP}, {"x", ErrorXP}, {"!", WarningXP}, {"I9", InformationClassic},
        {"X9", ErrorClassic}, {"!9", WarningClassic}, {"", None}, {"i8", None}, {" i", None}};
    // clang-format on
    for (const auto& [code, icon] : cases) EXPECT_EQ(iconFromCode(code), icon) << '"' << code << '"';
}

TEST(BalloonLayout, TitleMarginCloseButtonAndAShapeOnePixelPastTheBorder) {
    const BalloonLayout plain = layoutBalloon(312, false);
    EXPECT_EQ(plain.title, (BalloonRect{8, 8, 296, 17}));
    EXPECT_EQ(layoutBalloon(312, true).title, (BalloonRect{32, 8, 248, 17}));
    EXPECT_EQ(plain.closeImage, (BalloonRect{288, 6, 16, 16}));
    EXPECT_EQ(plain.closeLabel, (BalloonRect{290, 9, 14, 13}));

    const RoundedRect shape = balloonShape(312, 108);
    EXPECT_EQ(shape.rect, (BalloonRect{0, 0, 313, 109}));
    EXPECT_EQ(shape.cornerWidth, 28);
    EXPECT_EQ(shape.cornerHeight, 28);
    const RoundedRect border = balloonBorder(312, 108);
    EXPECT_EQ(border.rect, (BalloonRect{0, 0, 312, 108}));
    EXPECT_EQ(border.cornerWidth, 26);

    const std::pair<int, int> twips[] = {{4000, 267}, {-4000, -267}, {7, 0}, {8, 1}};
    for (const auto& [t, pixels] : twips) EXPECT_EQ(pixelsFromTwips(t), pixels) << t;
}

TEST(Announcement, AboveTheClockInsideTheScreenGrowingForMoreThanFiveLines) {
    const BalloonRect screen{0, 0, 1024, 740};  // a 28-pixel panel at the bottom
    const BalloonRect clock{944, 742, 80, 24};
    EXPECT_EQ(announcementRect(clock, 1, screen), (BalloonRect{944 - 267, 742 - 2 - 108, 312, 108}));
    // A clock at the right edge would push the balloon off the screen.
    EXPECT_EQ(announcementRect(BalloonRect{1000, 742, 24, 24}, 1, screen).right(), 1024);
    // Below a clock on a top panel.
    EXPECT_EQ(announcementRect(BalloonRect{944, 2, 80, 24}, 1, BalloonRect{0, 28, 1024, 740}).top, 28);

    EXPECT_EQ(announcementHeight(5), 108);
    EXPECT_EQ(announcementHeight(6), 119);
    const BalloonRect eight = announcementRect(clock, 8, screen);
    EXPECT_GE(eight.height, balloonLineRect(7).bottom());
    EXPECT_EQ(eight.bottom(), 740);
    // 256 lines cannot fit: the balloon is as tall as the screen allows.
    EXPECT_EQ(announcementRect(clock, 256, screen).height, 740);
}

}  // namespace
}  // namespace tavrin
