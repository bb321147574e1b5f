#pragma once
// Where a balloon goes above the tray clock on the screen that shows the clock, and the one way
// announcements show a balloon there.
#include <QRect>
#include <array>
#include <string>

#include "core/notify/BalloonLayout.h"
#include "ui/notify/frmBalloon.h"

namespace tavrin {

BalloonRect balloonAboveClock(const QRect& clock, int lineCount);

// Shows a new balloon above `clock` with its close button, open until the user closes it: `title`,
// the icon of `iconCode` ("" for none, "i" for information) and `lines` up to the first empty one,
// the balloon growing past its five-line height when it must. It deletes itself when closed.
frmBalloon* showBalloonAboveClock(const QRect& clock, const std::string& title,
                                  const std::array<std::string, kBalloonLineSlots>& lines,
                                  const std::string& iconCode, frmBalloon::LineHandler onLineClicked = {});

}  // namespace tavrin
