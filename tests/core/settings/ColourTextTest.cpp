#include <gtest/gtest.h>

#include "core/settings/ColourText.h"

using namespace tavrin;

TEST(ColourText, RedIsTheLowByteAndCaseDoesNotMatter) {
    const std::pair<const char*, Rgb> cases[] = {{"FF", {255, 0, 0}},
                                                 {"E99012", {18, 144, 233}},
                                                 {"e99012", {18, 144, 233}},
                                                 {"", {0, 0, 0}},
                                                 {"zz", {0, 0, 0}}};
    for (const auto& [text, rgb] : cases) EXPECT_EQ(ColourFromText(text), rgb) << text;
}

TEST(ColourText, WritesUppercaseWithoutLeadingZeros) {
    EXPECT_EQ(ColourText(0), "0");
    EXPECT_EQ(ColourText(ColourNumberOf(Rgb{234, 226, 178})), "B2E2EA");
    EXPECT_EQ(ColourText(0x0000FF), "FF");
}

TEST(ColourText, PureYellowIsStoredAsAnotherYellow) {
    EXPECT_EQ(PickedColourText(0xFFFF), "FFFFF");
    EXPECT_EQ(ColourFromText(PickedColourText(0xFFFF)), (Rgb{255, 255, 15}));
    EXPECT_EQ(FixLoadedColour(std::string("FFFF\0", 5)), "FFFFF");
    EXPECT_EQ(FixLoadedColour("FFFF"), "FFFF");
    EXPECT_EQ(FixLoadedColour(std::string("FF\0", 3)), std::string("FF\0", 3));
}
