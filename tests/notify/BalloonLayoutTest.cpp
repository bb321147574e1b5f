#include "notify/BalloonLayout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

std::array<std::string, kBalloonLineSlots> Lines(int n) {
    std::array<std::string, kBalloonLineSlots> lines;
    for (int i = 0; i < n; ++i) lines[static_cast<std::size_t>(i)] = "9:30 AM - Item " + std::to_string(i);
    return lines;
}

TEST(BalloonLines, CountAndTheFirstEmptyLineBothEndTheList) {
    EXPECT_EQ(ShownLineCount(Lines(3), 0), 1);
    EXPECT_EQ(ShownLineCount(Lines(3), 1), 2);
    EXPECT_EQ(ShownLineCount(Lines(3), 10), 3);
    EXPECT_EQ(ShownLineCount(Lines(3), 51), 3);
    EXPECT_EQ(ShownLineCount(Lines(0), 51), 0);
    EXPECT_EQ(ShownLineCount(Lines(3), -1), 0);
    EXPECT_EQ(ShownLineCount(Lines(256), 255), 256);
    EXPECT_EQ(ShownLineCount(Lines(256), 32767), 256);
    auto gap = Lines(5);
    gap[2].clear();
    EXPECT_EQ(ShownLineCount(gap, 51), 2);
}

TEST(BalloonLines, LinesStepBy14AndOverlap) {
    EXPECT_EQ(BalloonLineRect(0), (BalloonRect{50, 25, 400, 18}));
    EXPECT_EQ(BalloonLineRect(1).top, 39);
    // Line 5 straddles the bottom of a 108-pixel balloon.
    EXPECT_EQ(BalloonLineRect(5).top, 95);
    EXPECT_EQ(BalloonLineRect(5).bottom(), 113);
}

TEST(BalloonIcons, CodesInAnyCase) {
    EXPECT_EQ(IconFromCode("i"), BalloonIcon::InformationXP);
    EXPECT_EQ(IconFromCode("I"), BalloonIcon::InformationXP);
    EXPECT_EQ(IconFromCode("x"), BalloonIcon::ErrorXP);
    EXPECT_EQ(IconFromCode("!"), BalloonIcon::WarningXP);
    EXPECT_EQ(IconFromCode("I9"), BalloonIcon::InformationClassic);
    EXPECT_EQ(IconFromCode("X9"), BalloonIcon::ErrorClassic);
    EXPECT_EQ(IconFromCode("!9"), BalloonIcon::WarningClassic);
    EXPECT_EQ(IconFromCode(""), BalloonIcon::None);
    EXPECT_EQ(IconFromCode("i8"), BalloonIcon::None);
    EXPECT_EQ(IconFromCode(" i"), BalloonIcon::None);
}

TEST(BalloonLayout, TitleMarginAndCloseButton) {
    const BalloonLayout plain = LayoutBalloon(312, false);
    EXPECT_EQ(plain.title, (BalloonRect{8, 8, 296, 17}));
    const BalloonLayout withIcon = LayoutBalloon(312, true);
    EXPECT_EQ(withIcon.title.left, 32);
    EXPECT_EQ(withIcon.title.width, 248);
    EXPECT_EQ(plain.closeImage, (BalloonRect{288, 6, 16, 16}));
    EXPECT_EQ(plain.closeLabel, (BalloonRect{290, 9, 14, 13}));
}

TEST(BalloonLayout, ShapeReachesOnePixelPastTheBorder) {
    const RoundedRect shape = BalloonShape(312, 108);
    EXPECT_EQ(shape.rect, (BalloonRect{0, 0, 313, 109}));
    EXPECT_EQ(shape.cornerWidth, 28);
    EXPECT_EQ(shape.cornerHeight, 28);
    const RoundedRect border = BalloonBorder(312, 108);
    EXPECT_EQ(border.rect, (BalloonRect{0, 0, 312, 108}));
    EXPECT_EQ(border.cornerWidth, 26);
}

TEST(BalloonLayout, TwipsRoundToPixels) {
    EXPECT_EQ(PixelsFromTwips(4680), 312);
    EXPECT_EQ(PixelsFromTwips(1620), 108);
    EXPECT_EQ(PixelsFromTwips(4000), 267);
    EXPECT_EQ(PixelsFromTwips(-4000), -267);
    EXPECT_EQ(PixelsFromTwips(7), 0);
    EXPECT_EQ(PixelsFromTwips(8), 1);
}

TEST(Announcement, AboveTheClockAndInsideTheScreen) {
    const BalloonRect screen{0, 0, 1024, 740};  // a 28-pixel panel at the bottom
    const BalloonRect clock{944, 742, 80, 24};
    const BalloonRect r = AnnouncementRect(clock, 1, screen);
    EXPECT_EQ(r.width, 312);
    EXPECT_EQ(r.height, 108);
    EXPECT_EQ(r.top, 742 - 2 - 108);
    EXPECT_EQ(r.left, 944 - 267);

    // A clock at the right edge would push the balloon off the screen.
    const BalloonRect edge = AnnouncementRect(BalloonRect{1000, 742, 24, 24}, 1, screen);
    EXPECT_EQ(edge.right(), 1024);
}

TEST(Announcement, GrowsForMoreThanFiveLines) {
    EXPECT_EQ(AnnouncementHeight(1), 108);
    EXPECT_EQ(AnnouncementHeight(5), 108);
    EXPECT_EQ(AnnouncementHeight(6), 119);
    const BalloonRect screen{0, 0, 1024, 740};
    const BalloonRect r = AnnouncementRect(BalloonRect{944, 742, 80, 24}, 8, screen);
    EXPECT_GE(r.height, BalloonLineRect(7).bottom());
    EXPECT_EQ(r.bottom(), 740);
    // 256 lines cannot fit: the balloon is as tall as the screen allows.
    EXPECT_EQ(AnnouncementRect(BalloonRect{944, 742, 80, 24}, 256, screen).height, 740);
}

TEST(Announcement, BelowAClockOnATopPanel) {
    const BalloonRect screen{0, 28, 1024, 740};
    const BalloonRect r = AnnouncementRect(BalloonRect{944, 2, 80, 24}, 1, screen);
    EXPECT_EQ(r.top, 28);
}

}  // namespace
}  // namespace tavrin
