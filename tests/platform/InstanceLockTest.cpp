#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/InstanceLock.h"

using tavrin::InstanceLock;

TEST(InstanceLock, TwoInstancesBothHoldTheMarkerAndItGoesWithThem) {
    char dir[] = "/tmp/tavrin-lock-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/tavrin.lock";
    EXPECT_FALSE(InstanceLock::isHeld(path));
    {
        InstanceLock first, second;
        EXPECT_TRUE(first.acquire(path));
        EXPECT_TRUE(second.acquire(path));  // a second instance is never refused
        EXPECT_TRUE(InstanceLock::isHeld(path));
    }
    EXPECT_FALSE(InstanceLock::isHeld(path));
    InstanceLock nowhere;
    EXPECT_FALSE(nowhere.acquire(std::string(dir) + "/missing/folder/tavrin.lock"));
    std::filesystem::remove_all(dir);
}
