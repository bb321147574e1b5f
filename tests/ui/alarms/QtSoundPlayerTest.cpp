#include "ui/alarms/QtSoundPlayer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"
#include "support/TestApp.h"

namespace tavrin {
namespace {

TEST(QtSoundPlayer, NothingToPlayOrAFileThatIsNoSoundRingsTheBellOnce) {
    test::ensureApp();
    int bells = 0;
    QtSoundPlayer player(nullptr, [&bells] { ++bells; });
    player.play("");
    player.play("/nonexistent/tavrin/ring.wav");
    EXPECT_EQ(bells, 2);

    test::TempDir dir("tavrin-sound");
    std::ofstream(dir.file("ring.wav")) << "this is not a wave file\n";
    player.play(dir.file("ring.wav"));
    for (int i = 0; i < 50 && bells == 2; ++i) test::wait(100);
    test::wait(200);  // a second bell for the same file would come now
    EXPECT_EQ(bells, 3);
}

}  // namespace
}  // namespace tavrin
