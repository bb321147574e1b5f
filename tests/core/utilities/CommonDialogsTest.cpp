#include <gtest/gtest.h>

#include "core/utilities/DialogCentring.h"
#include "core/utilities/FileSelection.h"

namespace tavrin {
namespace {

TEST(FileSelection, FolderAndNamesInTheirOrderUpTo200NothingChosenIsACancel) {
    const FileSelection one = selectionFromPaths({"/home/ann/pics/sky.bmp"});
    EXPECT_FALSE(one.cancelled);
    EXPECT_EQ(one.directory, "/home/ann/pics/");
    EXPECT_EQ(one.firstPath(), "/home/ann/pics/sky.bmp");
    EXPECT_EQ(selectionFromPaths({"/pics/b.bmp", "/pics/a.bmp"}).names,
              (std::vector<std::string>{"b.bmp", "a.bmp"}));

    std::vector<std::string> many;
    for (int i = 0; i < 250; ++i) many.push_back("/pics/" + std::to_string(i) + ".bmp");
    const FileSelection capped = selectionFromPaths(many);
    EXPECT_EQ(capped.count, 200);
    EXPECT_EQ(capped.names.back(), "199.bmp");

    const FileSelection none = selectionFromPaths({});
    EXPECT_EQ(none.count, 0);
    EXPECT_TRUE(none.cancelled);
    EXPECT_EQ(none.directory + none.firstPath(), "");
}

TEST(DialogCentring, OnTheOwner) {
    EXPECT_EQ(centredOn(100, 50, 800, 600, 400, 300), (DialogPlace{300, 200}));
    // A dialog larger than its owner hangs over both sides evenly.
    EXPECT_EQ(centredOn(0, 0, 100, 100, 300, 200), (DialogPlace{-100, -50}));
}

}  // namespace
}  // namespace tavrin
