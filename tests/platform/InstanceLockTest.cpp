#include <gtest/gtest.h>

#include "platform/InstanceLock.h"
#include "support/TempDir.h"

using tavrin::InstanceLock;

TEST(InstanceLock, TwoInstancesBothHoldTheMarkerAndItGoesWithThem) {
    tavrin::test::TempDir dir("tavrin-lock");
    const std::string path = dir.file("tavrin.lock");
    EXPECT_FALSE(InstanceLock::isHeld(path));
    {
        InstanceLock first, second;
        EXPECT_TRUE(first.acquire(path));
        EXPECT_TRUE(second.acquire(path));  // a second instance is never refused
        EXPECT_TRUE(InstanceLock::isHeld(path));
    }
    EXPECT_FALSE(InstanceLock::isHeld(path));
    InstanceLock nowhere;
    EXPECT_FALSE(nowhere.acquire(dir.file("missing/folder/tavrin.lock")));
}
