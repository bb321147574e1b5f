// Key paths as the store compares them: names between backslashes, ASCII case ignored, 8-bit bytes
// compared as they are.
#include "core/store/KeyPath.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tavrin {
namespace {

using Names = std::vector<std::string>;

TEST(KeyPath, SplitSkipsEmptyNamesFromStrayBackslashes) {
    // clang-format off
    const std::pair<const char*, Names> cases[] = {
        {"", {}}, {"\\", {}}, {"\\\\\\", {}}, {"Software", {"Software"}},
        {"Software\\Quillon\\Tavrin", {"Software", "Quillon", "Tavrin"}}, {"\\Software\\\\Quillon\\", {"Software", "Quillon"}},
        // Only the backslash divides: a slash is part of a zone's name.
        {"Time Zones\\Europe/Berlin", {"Time Zones", "Europe/Berlin"}}, {" a \\ b ", {" a ", " b "}}};
    // clang-format on
    for (const auto& [path, names] : cases) {
        Names split;
        for (std::string_view n : splitKeyPath(path)) split.emplace_back(n);
        EXPECT_EQ(split, names) << path;
    }
}

TEST(KeyPath, WithinComparesWholeNamesIgnoringAsciiCaseOnly) {
    const struct {
        const char *path, *ancestor;
        bool within;
    } cases[] = {
        // clang-format off
        {"SOFTWARE\\QUILLON\\TAVRIN", "Software\\Quillon", true},
        {"Software\\Quillon", "software\\quillon", true},  // a key is within itself
        {"Software", "", true}, {"", "", true},            // everything is within the root
        {"", "Software", false}, {"Software", "Software\\Quillon", false},
        // A name that only starts like the ancestor's is another key.
        {"Software\\QuillonX", "Software\\Quillon", false}, {"Software\\Quill", "Software\\Quillon", false},
        {"\\Software\\\\Quillon\\Tavrin\\", "Software\\Quillon\\", true},
        // Case folding stops at ASCII: Ä (0xC4) and ä (0xE4) in Latin-1 are different names.
        {"M\xc4nchen\\x", "M\xe4nchen", false}, {"M\xc4nchen\\x", "m\xc4NCHEN", true},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(isKeyPathWithin(c.path, c.ancestor), c.within) << c.path << " within " << c.ancestor;
    EXPECT_TRUE(sameKeyPath("Software\\Quillon", "\\SOFTWARE\\\\quillon\\"));
    EXPECT_TRUE(sameKeyPath("", "\\"));
    // The same key is no deeper and no shallower.
    EXPECT_FALSE(sameKeyPath("Software\\Quillon", "Software"));
    EXPECT_FALSE(sameKeyPath("Software", "Software\\Quillon"));
    EXPECT_FALSE(sameKeyPath("Software\\Quillon", "Software\\Quillon2"));
}

TEST(KeyPath, JoinGivesOneNormalisedPathKeepingCase) {
    // clang-format off
    const std::array<const char*, 3> cases[] = {
        {"", "", ""}, {"", "Software", "Software"}, {"Software", "", "Software"},
        {"Software\\", "\\Quillon", "Software\\Quillon"}, {"SOFTWARE", "quillon", "SOFTWARE\\quillon"},
        {"\\Software\\\\Quillon\\", "Tavrin\\\\Zones\\", "Software\\Quillon\\Tavrin\\Zones"}};
    // clang-format on
    for (const auto& [parent, child, joined] : cases)
        EXPECT_EQ(joinKeyPath(parent, child), joined) << parent << " + " << child;
}

TEST(KeyPath, NamesRefuseControlBytesAndKeep8BitText) {
    // The default value's name is empty.
    for (const std::string name : {"", "DateFormat", "Europe/Berlin", "M\xfcnchen", "\xff"})
        EXPECT_TRUE(isValidName(name)) << name;
    for (const std::string& name : {std::string("a\0b", 3), std::string("a\tb"), std::string("line\n"),
                                    std::string("\r"), std::string("\x1f"), std::string("del\x7f")})
        EXPECT_FALSE(isValidName(name)) << testing::PrintToString(name);
}

}  // namespace
}  // namespace tavrin
