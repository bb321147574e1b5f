#include "ui/alarms/QtAlarmNotifier.h"

#include "ui/notify/QtBalloonPlacement.h"

namespace tavrin {

void QtAlarmNotifier::showAlarm(const std::string& title, const std::string& message) {
    std::array<std::string, kBalloonLineSlots> lines;
    lines[0] = message;
    const BalloonRect place = BalloonAboveClock(clockRect_ ? clockRect_() : QRect(), 1);
    // No line handler: clicking the message closes the balloon like any other click on it.
    auto* balloon = new frmBalloon(lines);
    balloon->SetBalloon(title, 0, static_cast<long>(TwipsFromPixels(place.left)),
                        static_cast<long>(TwipsFromPixels(place.top)), "i", true, 0,
                        static_cast<long>(TwipsFromPixels(place.height)),
                        static_cast<long>(TwipsFromPixels(place.width)), 8);
    balloon->show();
    lastBalloon_ = balloon;
}

}  // namespace tavrin
