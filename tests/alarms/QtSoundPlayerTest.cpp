#include "alarms/QtSoundPlayer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "notify/TestApp.h"

namespace tavrin {
namespace {

TEST(QtSoundPlayer, NothingToPlayRingsTheBell) {
    test::EnsureApp();
    int bells = 0;
    QtSoundPlayer player(nullptr, [&bells] { ++bells; });
    player.play("");
    player.play("/nonexistent/tavrin/ring.wav");
    EXPECT_EQ(bells, 2);
}

TEST(QtSoundPlayer, FileThatIsNoSoundRingsTheBell) {
    test::EnsureApp();
    QTemporaryDir dir;
    const std::string path = dir.filePath("ring.wav").toStdString();
    std::ofstream(path) << "this is not a wave file\n";
    int bells = 0;
    QtSoundPlayer player(nullptr, [&bells] { ++bells; });
    player.play(path);
    for (int i = 0; i < 50 && bells == 0; ++i) test::Wait(100);
    EXPECT_EQ(bells, 1);
}

}  // namespace
}  // namespace tavrin
