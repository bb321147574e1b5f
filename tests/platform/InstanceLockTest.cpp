#include <gtest/gtest.h>

#include "platform/InstanceLock.h"
#include "support/TempDir.h"

using tavrin::InstanceLock;
using Claim = InstanceLock::Claim;

TEST(InstanceLock, OneHolderAtATimeAndTheMarkerGoesWithIt) {
    tavrin::test::TempDir dir("tavrin-lock");
    const std::string path = dir.file("tavrin.lock");
    EXPECT_FALSE(InstanceLock::isHeld(path));
    {
        InstanceLock first, second;
        EXPECT_EQ(first.claim(path).valueOr(Claim::Taken), Claim::Ours);
        EXPECT_EQ(first.claim(path).valueOr(Claim::Taken), Claim::Ours);  // asking again changes nothing
        EXPECT_EQ(second.claim(path).valueOr(Claim::Ours), Claim::Taken);
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(InstanceLock::isHeld(path));
    }
    EXPECT_FALSE(InstanceLock::isHeld(path));
    InstanceLock nowhere;
    EXPECT_NE(nowhere.claim(dir.file("missing/folder/tavrin.lock")).message().find("No such file"),
              std::string::npos);
}
