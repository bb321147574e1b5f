#include <gtest/gtest.h>

#include "support/TestApp.h"
#include "ui/utilities/QtCommonDialogs.h"

using namespace tavrin;

// Several files come back in the order the dialog lists them, not in the order they were clicked.
TEST(CommonDialogs, ChosenFilesComeInTheDialogsListedOrder) {
    test::ensureApp();
    // By name, case aside, as the dialog's view sorts (whether numbers go by value depends on the
    // collation the toolkit was built with, so the names here hold none).
    const QStringList picked = {"/pics/sky.bmp", "/pics/Autumn.bmp", "/pics/beach.bmp", "/pics/Sea.bmp"};
    EXPECT_EQ(listedOrder(picked),
              (QStringList{"/pics/Autumn.bmp", "/pics/beach.bmp", "/pics/Sea.bmp", "/pics/sky.bmp"}));
    EXPECT_EQ(listedOrder({}), QStringList{});
}
