#include "core/notify/DesktopNotice.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// Which ways each setting sends an announcement, with the desktop taking it or not; an unknown
// number is the balloon only.
TEST(DesktopNotice, ChannelsOfEachSettingAndTheFallBackToTheBalloon) {
    struct Case {
        int setting;
        bool desktop;
        bool balloonWhenTaken;
        bool balloonWhenRefused;
    };
    const Case cases[] = {{0, false, true, true},
                          {1, true, true, true},
                          {2, true, false, true},
                          {7, false, true, true},
                          {-1, false, true, true}};
    for (const Case& c : cases) {
        const NotificationChoice choice = notificationChoice(c.setting);
        EXPECT_EQ(wantsDesktop(choice), c.desktop) << c.setting;
        EXPECT_EQ(wantsBalloon(choice, true), c.balloonWhenTaken) << c.setting;
        EXPECT_EQ(wantsBalloon(choice, false), c.balloonWhenRefused) << c.setting;
    }
}

TEST(DesktopNotice, RemindersAndAlarmsWithTheirActionsAndUrgency) {
    std::array<std::string, kBalloonLineSlots> lines;
    lines[0] = "9:30 AM - Dentist";
    lines[1] = "9:30 AM - Tom & Jerry <3";
    lines[3] = "not shown: the empty line ends the list";
    EXPECT_EQ(reminderNotice("Tavrin Reminders for: 12/08/26", lines),
              (DesktopNotice{"Tavrin Reminders for: 12/08/26",
                             "9:30 AM - Dentist\n9:30 AM - Tom & Jerry <3",
                             {{"default", "Open day list"}},
                             NoticeUrgency::Normal}));
    EXPECT_EQ(alarmNotice("Tavrin Alarm", "Tea"),
              (DesktopNotice{"Tavrin Alarm", "Tea", {{"snooze", "Snooze"}}, NoticeUrgency::Critical}));
    EXPECT_EQ(markedUpBody("Tom & Jerry <3> &amp;"), "Tom &amp; Jerry &lt;3&gt; &amp;amp;");
}

}  // namespace
}  // namespace tavrin
