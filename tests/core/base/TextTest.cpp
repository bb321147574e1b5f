#include "core/base/Text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
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
    for (char c : {'g', 'G', ' ', '\0', 'x', '/', ':'}) EXPECT_EQ(hexDigit(c), std::nullopt) << int(c);
}

TEST(Text, FolderAndFileNameOfAPath) {
    const std::pair<const char*, const char*> folders[] = {
        {"/a/b/c.txt", "/a/b"}, {"c.txt", "."}, {"/c.txt", "/"}, {"a/", "a"}};
    for (const auto& [path, folder] : folders) EXPECT_EQ(folderOf(path), folder) << path;
    EXPECT_EQ(fileNameOf("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(fileNameOf("c.txt"), "c.txt");
    EXPECT_EQ(fileNameOf("/a/"), "");
}

TEST(Text, DigitsNumberTakesOnlyPlainDigitsUpToItsLength) {
    const std::optional<int> none;
    // clang-format off
    const struct {
        std::string text;
        std::size_t maxDigits;
        std::optional<int> number;
    } cases[] = {
        {"0", 3, 0}, {"007", 3, 7}, {"255", 3, 255}, {"1000", 3, none}, {"", 3, none}, {"-1", 3, none},
        {"+1", 3, none}, {" 1", 3, none}, {"1 ", 3, none}, {"1a", 3, none},
        {"\xd9\xa1", 3, none},  // an Arabic-Indic one is no digit here
        // However long a limit is asked for, the number fits an int.
        {"999999999", 20, 999999999}, {"9999999999", 20, none}};
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(digitsNumber(c.text, c.maxDigits), c.number) << c.text;
}

TEST(Text, EscapeOnOneLineReadsBackAndKeepsTheRestAsItIs) {
    const std::string nul("a\0b", 3);
    // clang-format off
    const struct {
        std::string text;
        OneLineEscapes extra;
        std::string escaped;
    } cases[] = {
        {"a\\b\tc\rd\ne", {}, "a\\\\b\\tc\\rd\\ne"}, {"caf\xe9 \"x\"", {}, "caf\xe9 \"x\""}, {nul, {}, nul},
        {nul, {.nul = true}, "a\\0b"}, {" a b ", {}, " a b "}, {" a b ", {.edgeBlanks = true}, "\\sa b\\s"},
        {" ", {.edgeBlanks = true}, "\\s"}, {"  ", {.edgeBlanks = true}, "\\s\\s"},
        // An escaped backslash before an n is not a line break when read back.
        {"\\n", {}, "\\\\n"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(escapeOnOneLine(c.text, c.extra), c.escaped) << testing::PrintToString(c.text);
}
