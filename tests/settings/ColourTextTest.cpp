#include <gtest/gtest.h>

#include "settings/ColourText.h"

using namespace tavrin;

TEST(ColourText, RedIsTheLowByteAndCaseDoesNotMatter) {
    EXPECT_EQ(ColourFromText("FF"), (Rgb{255, 0, 0}));
    EXPECT_EQ(ColourFromText("E99012"), (Rgb{18, 144, 233}));
    EXPECT_EQ(ColourNumber("e99012"), ColourNumber("E99012"));
    EXPECT_EQ(ColourFromText(""), (Rgb{0, 0, 0}));
    EXPECT_EQ(ColourFromText("zz"), (Rgb{0, 0, 0}));
}

TEST(ColourText, WritesUppercaseWithoutLeadingZeros) {
    EXPECT_EQ(ColourText(0), "0");
    EXPECT_EQ(ColourText(ColourNumberOf(Rgb{234, 226, 178})), "B2E2EA");
    EXPECT_EQ(ColourText(0x00C8D0D4), "C8D0D4");
    EXPECT_EQ(ColourText(0x0000FF), "FF");
}

TEST(ColourText, PureYellowIsStoredAsAnotherYellow) {
    EXPECT_EQ(PickedColourText(0xFFFF), "FFFFF");
    EXPECT_EQ(ColourFromText(PickedColourText(0xFFFF)), (Rgb{255, 255, 15}));
    EXPECT_EQ(FixLoadedColour(std::string("FFFF\0", 5)), "FFFFF");
    EXPECT_EQ(FixLoadedColour("FFFF"), "FFFF");
    EXPECT_EQ(FixLoadedColour(std::string("FF\0", 3)), std::string("FF\0", 3));
}
