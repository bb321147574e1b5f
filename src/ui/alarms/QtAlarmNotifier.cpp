#include "ui/alarms/QtAlarmNotifier.h"

#include "ui/notify/QtBalloonPlacement.h"

namespace tavrin {

void QtAlarmNotifier::showAlarm(AlarmKind kind, const std::string& title, const std::string& message) {
    const SnoozeHook snooze = snooze_;
    auto showBalloon = [this, kind, title, message, snooze] {
        std::array<std::string, kBalloonLineSlots> lines;
        lines[0] = message;
        // No line handler: clicking the message closes the balloon like any other click on it.
        lastBalloon_ = showBalloonAboveClock(clockRect_ ? clockRect_() : ClockPlace{}, title, lines, "i");
        if (snooze) lastBalloon_->setButton("Snooze", [snooze, kind] { snooze(kind); });
        return lastBalloon_->isVisible();
    };
    announce(
        notificationChoice(settings_.Notifications), desktop_, alarmNotice(title, message),
        [snooze, kind](const std::string& key) {
            if (key == kSnoozeAction && snooze) snooze(kind);
        },
        showBalloon);
}

}  // namespace tavrin
