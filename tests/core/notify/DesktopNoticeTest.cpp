#include "core/notify/DesktopNotice.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// Which ways each setting sends an announcement, as {desktop asked, balloon when the desktop took it,
// balloon when it did not}; an unknown number is the balloon only. What the server receives is the
// desktop test's, through a real server.
TEST(DesktopNotice, ChannelsOfEachSettingAndTheFallBackToTheBalloon) {
    const std::pair<int, std::array<bool, 3>> cases[] = {{0, {false, true, true}},
                                                         {1, {true, true, true}},
                                                         {2, {true, false, true}},
                                                         {7, {false, true, true}}};
    for (const auto& [setting, ways] : cases) {
        const NotificationChoice choice = notificationChoice(setting);
        EXPECT_EQ((std::array{wantsDesktop(choice), wantsBalloon(choice, true), wantsBalloon(choice, false)}),
                  ways)
            << setting;
    }
    EXPECT_EQ(markedUpBody("Tom & Jerry <3> &amp;"), "Tom &amp; Jerry &lt;3&gt; &amp;amp;");
}

}  // namespace
}  // namespace tavrin
