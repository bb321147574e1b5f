#include "ui/alarms/QtAlarmNotifier.h"

#include "ui/notify/QtBalloonPlacement.h"

namespace tavrin {

void QtAlarmNotifier::showAlarm(const std::string& title, const std::string& message) {
    std::array<std::string, kBalloonLineSlots> lines;
    lines[0] = message;
    // No line handler: clicking the message closes the balloon like any other click on it.
    lastBalloon_ = showBalloonAboveClock(clockRect_ ? clockRect_() : ClockPlace{}, title, lines, "i");
}

}  // namespace tavrin
