#include <gtest/gtest.h>

#include "core/settings/ColourScheme.h"
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

// Reading stops at the first character that is no hex digit; a stray one (a NUL written by another
// program, a typed blank) does not turn the colour black.
TEST(ColourText, ReadingStopsAtTheFirstCharacterThatIsNoHexDigit) {
    const std::pair<std::string, std::uint32_t> cases[] = {{std::string("E99012\0", 7), 0xE99012},
                                                           {"FF ", 0xFF},
                                                           {"12xyz", 0x12},
                                                           {"x12", 0},
                                                           {"1234567", 0x234567}};
    for (const auto& [text, number] : cases) EXPECT_EQ(colourNumber(text), number) << text;
    EXPECT_EQ(schemeOfColour(std::string("B2E2EA\0", 7)), PictureScheme::OliveGreen);
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
