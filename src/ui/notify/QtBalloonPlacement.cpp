#include "ui/notify/QtBalloonPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace tavrin {

BalloonRect balloonAboveClock(const QRect& clock, int lineCount) {
    QScreen* screen = QGuiApplication::screenAt(clock.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return announcementRect(BalloonRect{clock.left(), clock.top(), clock.width(), clock.height()}, lineCount,
                            BalloonRect{area.left(), area.top(), area.width(), area.height()});
}

}  // namespace tavrin
