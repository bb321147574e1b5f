#include "ui/alarms/QtAlarmNotifier.h"

#include "ui/notify/QtBalloonPlacement.h"

namespace tavrin {

void QtAlarmNotifier::showAlarm(const std::string& title, const std::string& message) {
    std::array<std::string, kBalloonLineSlots> lines;
    lines[0] = message;
    const BalloonRect place = balloonAboveClock(clockRect_ ? clockRect_() : QRect(), 1);
    // No line handler: clicking the message closes the balloon like any other click on it.
    auto* balloon = new frmBalloon(lines);
    balloon->SetBalloon(title, 0, static_cast<long>(twipsFromPixels(place.left)),
                        static_cast<long>(twipsFromPixels(place.top)), "i", true, 0,
                        static_cast<long>(twipsFromPixels(place.height)),
                        static_cast<long>(twipsFromPixels(place.width)), 8);
    balloon->show();
    lastBalloon_ = balloon;
}

}  // namespace tavrin
