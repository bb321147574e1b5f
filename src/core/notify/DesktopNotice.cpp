#include "core/notify/DesktopNotice.h"

namespace tavrin {

NotificationChoice notificationChoice(int setting) {
    if (setting == 1) return NotificationChoice::BalloonAndDesktop;
    if (setting == 2) return NotificationChoice::DesktopOnly;
    return NotificationChoice::BalloonOnly;
}

bool wantsDesktop(NotificationChoice choice) {
    return choice != NotificationChoice::BalloonOnly;
}

bool wantsBalloon(NotificationChoice choice, bool desktopTookIt) {
    return choice != NotificationChoice::DesktopOnly || !desktopTookIt;
}

DesktopNotice reminderNotice(const std::string& title,
                             const std::array<std::string, kBalloonLineSlots>& lines) {
    DesktopNotice notice{title, {}, {{kOpenDayListAction, "Open day list"}}, NoticeUrgency::Normal};
    for (const std::string& line : lines) {
        if (line.empty()) break;
        if (!notice.body.empty()) notice.body += '\n';
        notice.body += line;
    }
    return notice;
}

DesktopNotice alarmNotice(const std::string& title, const std::string& message) {
    return DesktopNotice{title, message, {{kSnoozeAction, "Snooze"}}, NoticeUrgency::Critical};
}

std::string markedUpBody(std::string_view body) {
    std::string out;
    out.reserve(body.size());
    for (const char c : body) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace tavrin
