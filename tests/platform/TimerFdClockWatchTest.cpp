// The wall-clock watch over the kernel's timers. That a set clock cancels the timer is the kernel's
// promise (TFD_TIMER_CANCEL_ON_SET); a test may not set the machine's clock to see it.
#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "platform/TimerFdClockWatch.h"
#include "support/TempDir.h"

using tavrin::TimerFdClockWatch;
using tavrin::WallClockNews;

namespace {

bool readableWithin(int fd, int millis) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, millis) == 1;
}

std::int64_t unixMillisNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

TEST(TimerFdClockWatch, FiresOnceAtTheMomentArmedLast) {
    auto opened = TimerFdClockWatch::open("");
    ASSERT_TRUE(opened) << opened.message();
    auto& watch = *opened;
    EXPECT_FALSE(watch->watchesZone());
    const int fd = watch->eventDescriptor();

    // Arming again replaces the earlier moment, sooner or later.
    ASSERT_TRUE(watch->armAt(unixMillisNow() + 60'000));
    ASSERT_TRUE(watch->armAt(unixMillisNow() + 40));
    EXPECT_FALSE(readableWithin(fd, 0));
    ASSERT_TRUE(readableWithin(fd, 5000));
    const WallClockNews news = watch->takeNews();
    EXPECT_TRUE(news.due);
    EXPECT_FALSE(news.clockSet || news.zoneChanged);
    EXPECT_FALSE(readableWithin(fd, 100));  // once, not again
    EXPECT_FALSE(watch->takeNews().any());

    ASSERT_TRUE(watch->armAt(unixMillisNow() + 40));
    ASSERT_TRUE(watch->armAt(unixMillisNow() + 60'000));
    EXPECT_FALSE(readableWithin(fd, 150));

    ASSERT_TRUE(watch->armAt(unixMillisNow() - 5000));  // a moment already past fires at once
    ASSERT_TRUE(readableWithin(fd, 1000));
    EXPECT_TRUE(watch->takeNews().due);
}

TEST(TimerFdClockWatch, TheZoneFilesAreNewsOtherFilesBesideThemAreNot) {
    tavrin::test::TempDir etc("tavrin-etc");
    auto opened = TimerFdClockWatch::open(etc.path());
    ASSERT_TRUE(opened) << opened.message();
    auto& watch = *opened;
    ASSERT_TRUE(watch->watchesZone());
    const int fd = watch->eventDescriptor();

    std::ofstream(etc.file("hostname")) << "somewhere\n";
    ASSERT_TRUE(readableWithin(fd, 1000));
    EXPECT_FALSE(watch->takeNews().any());

    // As zone tools replace the link: a new one beside it, renamed over it.
    ASSERT_EQ(::symlink("/usr/share/zoneinfo/Asia/Tokyo", etc.file(".localtime-new").c_str()), 0);
    ASSERT_EQ(::rename(etc.file(".localtime-new").c_str(), etc.file("localtime").c_str()), 0);
    ASSERT_TRUE(readableWithin(fd, 1000));
    EXPECT_TRUE(watch->takeNews().zoneChanged);
    EXPECT_FALSE(readableWithin(fd, 0));

    std::ofstream(etc.file("timezone")) << "Asia/Tokyo\n";
    ASSERT_TRUE(readableWithin(fd, 1000));
    const WallClockNews news = watch->takeNews();
    EXPECT_TRUE(news.zoneChanged);
    EXPECT_FALSE(news.due || news.clockSet);
}
