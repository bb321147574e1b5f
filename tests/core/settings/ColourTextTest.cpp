#include <gtest/gtest.h>

#include "core/settings/ColourText.h"

using namespace tavrin;

TEST(ColourText, RedIsTheLowByteAndCaseDoesNotMatter) {
    const std::pair<const char*, Rgb> cases[] = {{"FF", {255, 0, 0}},
                                                 {"E99012", {18, 144, 233}},
                                                 {"e99012", {18, 144, 233}},
                                                 {"", {0, 0, 0}},
                                                 {"zz", {0, 0, 0}}};
    for (const auto& [text, rgb] : cases) EXPECT_EQ(colourFromText(text), rgb) << text;
}

TEST(ColourText, WritesUppercaseWithoutLeadingZeros) {
    EXPECT_EQ(colourText(0), "0");
    EXPECT_EQ(colourText(colourNumberOf(Rgb{234, 226, 178})), "B2E2EA");
    EXPECT_EQ(colourText(0x0000FF), "FF");
}

TEST(ColourText, PureYellowIsStoredAsAnotherYellow) {
    EXPECT_EQ(pickedColourText(0xFFFF), "FFFFF");
    EXPECT_EQ(colourFromText(pickedColourText(0xFFFF)), (Rgb{255, 255, 15}));
    EXPECT_EQ(fixLoadedColour(std::string("FFFF\0", 5)), "FFFFF");
    EXPECT_EQ(fixLoadedColour("FFFF"), "FFFF");
    EXPECT_EQ(fixLoadedColour(std::string("FF\0", 3)), std::string("FF\0", 3));
}
