#include "ui/notify/QtBalloonPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "core/base/Twips.h"

namespace tavrin {

BalloonRect balloonAboveClock(const ClockPlace& place, int lineCount) {
    const QRect& clock = place.clock;
    QRect area = place.available;
    if (area.isEmpty()) {
        QScreen* screen = QGuiApplication::screenAt(clock.center());
        if (!screen) screen = QGuiApplication::primaryScreen();
        area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    return announcementRect(BalloonRect{clock.left(), clock.top(), clock.width(), clock.height()}, lineCount,
                            BalloonRect{area.left(), area.top(), area.width(), area.height()});
}

frmBalloon* showBalloonAboveClock(const ClockPlace& clock, const std::string& title,
                                  const std::array<std::string, kBalloonLineSlots>& lines,
                                  const std::string& iconCode, frmBalloon::LineHandler onLineClicked) {
    const int lineCount = std::max(1, shownLineCount(lines, kBalloonLineSlots - 1));
    const BalloonRect place = balloonAboveClock(clock, lineCount);
    auto* balloon = new frmBalloon(lines, std::move(onLineClicked));
    balloon->setBalloon(title, lineCount - 1, static_cast<long>(twipsFromPixels(place.left)),
                        static_cast<long>(twipsFromPixels(place.top)), iconCode, true, 0,
                        static_cast<long>(twipsFromPixels(place.height)),
                        static_cast<long>(twipsFromPixels(place.width)), 8);
    balloon->show();
    return balloon;
}

}  // namespace tavrin
