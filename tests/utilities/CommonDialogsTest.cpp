#include <gtest/gtest.h>

#include "utilities/DialogCentring.h"
#include "utilities/FileSelection.h"

namespace tavrin {
namespace {

TEST(FileSelection, OneFile) {
    const FileSelection s = SelectionFromPaths({"/home/ann/pics/sky.bmp"});
    EXPECT_EQ(s.count, 1);
    EXPECT_FALSE(s.cancelled);
    EXPECT_EQ(s.directory, "/home/ann/pics/");
    ASSERT_EQ(s.names.size(), 1u);
    EXPECT_EQ(s.names[0], "sky.bmp");
    EXPECT_EQ(s.firstPath(), "/home/ann/pics/sky.bmp");
}

TEST(FileSelection, SeveralFilesKeepTheirOrderUpTo200) {
    const FileSelection two = SelectionFromPaths({"/pics/b.bmp", "/pics/a.bmp"});
    EXPECT_EQ(two.count, 2);
    EXPECT_EQ(two.names, (std::vector<std::string>{"b.bmp", "a.bmp"}));
    std::vector<std::string> many;
    for (int i = 0; i < 250; ++i) many.push_back("/pics/" + std::to_string(i) + ".bmp");
    const FileSelection capped = SelectionFromPaths(many);
    EXPECT_EQ(capped.count, 200);
    EXPECT_EQ(capped.names.back(), "199.bmp");
}

TEST(FileSelection, NothingChosenIsACancel) {
    const FileSelection s = SelectionFromPaths({});
    EXPECT_EQ(s.count, 0);
    EXPECT_TRUE(s.cancelled);
    EXPECT_EQ(s.directory, "");
    EXPECT_EQ(s.firstPath(), "");
}

TEST(DialogCentring, OnTheOwner) {
    EXPECT_EQ(CentredOn(100, 50, 800, 600, 400, 300), (DialogPlace{300, 200}));
    // A dialog larger than its owner hangs over both sides evenly.
    EXPECT_EQ(CentredOn(0, 0, 100, 100, 300, 200), (DialogPlace{-100, -50}));
}

}  // namespace
}  // namespace tavrin
