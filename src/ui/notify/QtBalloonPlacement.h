#pragma once
// Where a balloon goes next to the tray clock, beside its panel, and the one way announcements show
// a balloon there.
#include <QRect>
#include <array>
#include <string>

#include "core/notify/BalloonLayout.h"
#include "ui/notify/frmBalloon.h"

namespace tavrin {

// The clock's rectangle on the screen and the room beside its panel, in pixels. An empty room means
// the free area of the screen that shows the clock.
struct ClockPlace {
    QRect clock;
    QRect available;
};

BalloonRect balloonAboveClock(const ClockPlace& place, int lineCount);

// Shows a new balloon above the clock at `place` with its close button, open until the user closes it:
// `title`, the icon of `iconCode` ("" for none, "i" for information) and `lines` up to the first empty one,
// the balloon growing past its five-line height when it must. It deletes itself when closed.
frmBalloon* showBalloonAboveClock(const ClockPlace& place, const std::string& title,
                                  const std::array<std::string, kBalloonLineSlots>& lines,
                                  const std::string& iconCode, frmBalloon::LineHandler onLineClicked = {});

}  // namespace tavrin
