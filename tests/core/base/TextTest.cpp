#include "core/base/Text.h"

#include <gtest/gtest.h>

#include <utility>

using namespace tavrin;

TEST(Text, LeadingNumberReadsTheNumberAtTheStartAsStoredNumbersAreRead) {
    const std::pair<const char*, double> cases[] = {
        {"1", 1},   {" 2x", 2}, {"-1", -1}, {"+3", 3},  {"1.5", 1.5}, {"1.5.2", 1.5}, {".5", 0.5},
        {"abc", 0}, {"", 0},    {"-", 0},   {"\t7", 7}, {"1e5", 1},   {"12 34", 12}};
    for (const auto& [text, number] : cases) EXPECT_EQ(leadingNumber(text), number) << text;
}

TEST(Text, LeadingWholeDropsTheFraction) {
    const std::pair<const char*, long> cases[] = {{"2", 2},
                                                  {"-1", -1},
                                                  {" 12:30", 12},
                                                  {"1.9", 1},
                                                  {"-0.5", 0},
                                                  {"x", 0},
                                                  {"99999999999999", 1000000000}};
    for (const auto& [text, number] : cases) EXPECT_EQ(leadingWhole(text), number) << text;
}

TEST(Text, EqualsNoCaseFoldsAsciiLettersOnly) {
    EXPECT_TRUE(equalsNoCase("StandardName", "STANDARDNAME"));
    EXPECT_FALSE(equalsNoCase("Name", "Names"));
    // Eight-bit text is compared as it is: 0xE9 and 0xC9 are different names.
    EXPECT_FALSE(equalsNoCase("caf\xE9", "CAF\xC9"));
    EXPECT_TRUE(equalsNoCase("caf\xE9", "CAF\xE9"));
    EXPECT_EQ(upperAscii("Zone-1\xE9"), "ZONE-1\xE9");
}

TEST(Text, TrimDropsBlanksAtBothEndsOnly) {
    EXPECT_EQ(trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(trim("   "), "");
}

TEST(Text, HexDigitReadsBothCasesAndRefusesTheRest) {
    EXPECT_EQ(hexDigit('0'), 0);
    EXPECT_EQ(hexDigit('a'), 10);
    EXPECT_EQ(hexDigit('F'), 15);
    for (char c : {'g', 'G', ' ', '\0', 'x', '/', ':'}) EXPECT_EQ(hexDigit(c), -1) << int(c);
}

TEST(Text, FolderAndFileNameOfAPath) {
    const std::pair<const char*, const char*> folders[] = {
        {"/a/b/c.txt", "/a/b"}, {"c.txt", "."}, {"/c.txt", "/"}, {"a/", "a"}};
    for (const auto& [path, folder] : folders) EXPECT_EQ(folderOf(path), folder) << path;
    EXPECT_EQ(fileNameOf("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(fileNameOf("c.txt"), "c.txt");
    EXPECT_EQ(fileNameOf("/a/"), "");
}
