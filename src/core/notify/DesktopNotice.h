#pragma once
// Announcements through the desktop's notification server: which ways an announcement goes to the
// user, and what the server is sent for a reminder, the alarm or the warning.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/notify/BalloonLayout.h"

namespace tavrin {

// The "Notifications" setting: 0 the balloon only, 1 the balloon and the desktop's notifications,
// 2 the desktop's only. Any other number is taken as 0, so a typing slip never silences anything.
enum class NotificationChoice { BalloonOnly = 0, BalloonAndDesktop = 1, DesktopOnly = 2 };
NotificationChoice notificationChoice(int setting);

// Whether the desktop's server is asked to show an announcement.
bool wantsDesktop(NotificationChoice choice);
// Whether the balloon shows it: when chosen, and whenever the desktop was chosen alone but did not
// take it (no session bus, no server, an error reply), so nothing announced goes unseen.
bool wantsBalloon(NotificationChoice choice, bool desktopTookIt);

// The urgency hint: the desktop's do-not-disturb mode holds back normal notifications, never
// critical ones.
enum class NoticeUrgency : std::uint8_t { Low = 0, Normal = 1, Critical = 2 };

struct NoticeAction {
    std::string key;  // "default" is the notification's own click
    std::string label;
    friend bool operator==(const NoticeAction&, const NoticeAction&) = default;
};

inline constexpr const char* kOpenDayListAction = "default";
inline constexpr const char* kSnoozeAction = "snooze";

struct DesktopNotice {
    std::string summary;
    std::string body;  // plain text; markedUpBody gives what a server that reads markup is sent
    std::vector<NoticeAction> actions;
    NoticeUrgency urgency = NoticeUrgency::Normal;
    friend bool operator==(const DesktopNotice&, const DesktopNotice&) = default;
};

// A reminder announcement: the balloon's title, its lines (up to the first empty one) one to a
// line, and the action that opens the day list.
DesktopNotice reminderNotice(const std::string& title,
                             const std::array<std::string, kBalloonLineSlots>& lines);
// The alarm or the warning: its title and message, critical, with "Snooze".
DesktopNotice alarmNotice(const std::string& title, const std::string& message);

// The body for a server that reads markup in it: "&", "<" and ">" as entities, so a reminder titled
// "Tom & Jerry <3" shows as typed instead of breaking the markup.
std::string markedUpBody(std::string_view body);

}  // namespace tavrin
