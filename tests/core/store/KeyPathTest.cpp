// Key paths as the store compares them: names between backslashes, ASCII case ignored, 8-bit bytes
// compared as they are.
#include "core/store/KeyPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

std::vector<std::string> names(std::string_view path) {
    std::vector<std::string> out;
    for (std::string_view n : splitKeyPath(path)) out.emplace_back(n);
    return out;
}

TEST(KeyPath, SplitSkipsEmptyNamesFromStrayBackslashes) {
    const struct {
        const char* path;
        std::vector<std::string> names;
    } cases[] = {
        {"", {}},
        {"\\", {}},
        {"\\\\\\", {}},
        {"Software", {"Software"}},
        {"Software\\Quillon\\Tavrin", {"Software", "Quillon", "Tavrin"}},
        {"\\Software\\\\Quillon\\", {"Software", "Quillon"}},
        // Only the backslash divides: a slash is part of a zone's name.
        {"Time Zones\\Europe/Berlin", {"Time Zones", "Europe/Berlin"}},
        {" a \\ b ", {" a ", " b "}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(c.path), c.names) << c.path;
}

TEST(KeyPath, WithinComparesWholeNamesIgnoringAsciiCaseOnly) {
    const struct {
        const char* path;
        const char* ancestor;
        bool within;
    } cases[] = {
        {"SOFTWARE\\QUILLON\\TAVRIN", "Software\\Quillon", true},
        {"Software\\Quillon", "software\\quillon", true},  // a key is within itself
        {"Software", "", true},                            // everything is within the root
        {"", "", true},
        {"", "Software", false},
        {"Software", "Software\\Quillon", false},
        // A name that only starts like the ancestor's is another key.
        {"Software\\QuillonX", "Software\\Quillon", false},
        {"Software\\Quill", "Software\\Quillon", false},
        {"\\Software\\\\Quillon\\Tavrin\\", "Software\\Quillon\\", true},
        // Case folding stops at ASCII: Ä (0xC4) and ä (0xE4) in Latin-1 are different names.
        {"M\xc4nchen\\x", "M\xe4nchen", false},
        {"M\xc4nchen\\x", "m\xc4NCHEN", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isKeyPathWithin(c.path, c.ancestor), c.within) << c.path << " within " << c.ancestor;
}

TEST(KeyPath, SameKeyIgnoresCaseAndStrayBackslashesButNotDepth) {
    EXPECT_TRUE(sameKeyPath("Software\\Quillon", "\\SOFTWARE\\\\quillon\\"));
    EXPECT_TRUE(sameKeyPath("", "\\"));
    EXPECT_FALSE(sameKeyPath("Software\\Quillon", "Software"));
    EXPECT_FALSE(sameKeyPath("Software", "Software\\Quillon"));
    EXPECT_FALSE(sameKeyPath("Software\\Quillon", "Software\\Quillon2"));
}

TEST(KeyPath, JoinGivesOneNormalisedPathKeepingCase) {
    const struct {
        const char* parent;
        const char* child;
        const char* joined;
    } cases[] = {
        {"", "", ""},
        {"", "Software", "Software"},
        {"Software", "", "Software"},
        {"Software\\", "\\Quillon", "Software\\Quillon"},
        {"\\Software\\\\Quillon\\", "Tavrin\\\\Zones\\", "Software\\Quillon\\Tavrin\\Zones"},
        {"SOFTWARE", "quillon", "SOFTWARE\\quillon"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(joinKeyPath(c.parent, c.child), c.joined) << c.parent << " + " << c.child;
}

TEST(KeyPath, NamesRefuseControlBytesAndKeep8BitText) {
    const struct {
        std::string name;
        bool valid;
    } cases[] = {
        {"", true},  // the default value's name
        {"DateFormat", true},
        {"Europe/Berlin", true},
        {"M\xfcnchen", true},
        {"\xff", true},
        {std::string("a\0b", 3), false},
        {"a\tb", false},
        {"line\n", false},
        {"\r", false},
        {"\x1f", false},
        {"del\x7f", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isValidName(c.name), c.valid) << testing::PrintToString(c.name);
}

}  // namespace
}  // namespace tavrin
