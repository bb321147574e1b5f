#pragma once
// Where a balloon goes above the tray clock on the screen that shows the clock.
#include <QRect>

#include "core/notify/BalloonLayout.h"

namespace tavrin {

BalloonRect balloonAboveClock(const QRect& clock, int lineCount);

}  // namespace tavrin
