#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "core/settings/ColourScheme.h"
#include "core/settings/ColourText.h"

using namespace tavrin;

TEST(ColourScheme, PictureSchemesAreRecognisedByColourNumber) {
    const std::pair<const char*, PictureScheme> cases[] = {{"E99012", PictureScheme::Blue},
                                                           {"B2E2EA", PictureScheme::OliveGreen},
                                                           {"e5dbda", PictureScheme::Silver},
                                                           {"C8D0D4", PictureScheme::None},
                                                           {"", PictureScheme::None}};
    for (const auto& [colour, scheme] : cases) EXPECT_EQ(schemeOfColour(colour), scheme) << colour;
    // A custom colour equal to a picture scheme's brings its pictures.
    EXPECT_EQ(schemeOfColour(pickedColourText(colourNumberOf(Rgb{234, 226, 178}))),
              PictureScheme::OliveGreen);
}

TEST(ColourScheme, LoadingNeedsEveryPictureOfTheScheme) {
    std::vector<int> slots;
    const auto loadAll = [&](int slot, const std::string&) {
        slots.push_back(slot);
        return true;
    };
    EXPECT_TRUE(loadSchemePictures("B2E2EA", "d", loadAll));
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2}));

    slots.clear();
    EXPECT_FALSE(loadSchemePictures("C8D0D4", "d", loadAll));
    EXPECT_FALSE(loadSchemePictures("", "d", loadAll));
    EXPECT_TRUE(slots.empty());

    const auto topMissing = [&](int slot, const std::string&) { return slot != 1; };
    EXPECT_FALSE(loadSchemePictures("E99012", "d", topMissing));
}

TEST(ColourScheme, EveryPictureIsShippedAndNamedInSlotOrder) {
    for (const char* colour : {kOliveGreenScheme, kSilverScheme, kBlueScheme}) {
        const auto paths = schemePicturePaths(schemeOfColour(colour), TAVRIN_SOURCE_DIR);
        ASSERT_TRUE(paths);
        for (const std::string& path : *paths) {
            struct stat st {};
            EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        }
    }
    EXPECT_EQ(schemePicturePaths(PictureScheme::Blue, "/opt/t")->at(1), "/opt/t/Images/def_blue_top.gif");
    EXPECT_FALSE(schemePicturePaths(PictureScheme::None, "d"));
}

TEST(ColourText, RedIsTheLowByteAndCaseDoesNotMatter) {
    const std::pair<const char*, Rgb> cases[] = {
        {"FF", {255, 0, 0}}, {"E99012", {18, 144, 233}}, {"e99012", {18, 144, 233}}, {"", {0, 0, 0}}};
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
