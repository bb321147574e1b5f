#pragma once
// The balloon's arithmetic: which message lines show, where its parts go, its shape, and where an
// announcement balloon sits above the tray clock. Positions are pixels inside the balloon unless
// said otherwise; callers speak twips (15 to the pixel).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/Twips.h"

namespace tavrin {

inline constexpr int kBalloonLineSlots = 256;

struct BalloonRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }   // one past the last column
    constexpr int bottom() const { return top + height; }  // one past the last row
    friend bool operator==(const BalloonRect&, const BalloonRect&) = default;
};

enum class BalloonIcon {
    None,
    InformationXP,
    ErrorXP,
    WarningXP,
    InformationClassic,
    ErrorClassic,
    WarningClassic
};

// "i", "x", "!" pick the modern icons, "i9", "x9", "!9" the classic ones, in any case; anything else
// is no icon.
BalloonIcon iconFromCode(std::string_view code);

// How many of `lines` a balloon shows: lines 0 to `count`, ending early at the first empty line.
int shownLineCount(const std::array<std::string, kBalloonLineSlots>& lines, int count);

// Message line i: underlined labels 18 high at 14-pixel steps, so neighbours overlap by 4.
constexpr BalloonRect balloonLineRect(int i) {
    return BalloonRect{50, 25 + 14 * i, 400, 18};
}

inline constexpr BalloonRect kBalloonIconRect{8, 8, 16, 16};

// The parts that move with the balloon's inner width `width`.
struct BalloonLayout {
    BalloonRect title;       // the same margin on both sides: 32 after an icon, 8 without
    BalloonRect closeImage;  // the red square
    BalloonRect closeLabel;  // the white cross over it
};
BalloonLayout layoutBalloon(int width, bool hasIcon);

// The button an alarm's balloon offers ("Snooze"): at the lower right, clear of the rounded corner.
constexpr BalloonRect balloonButtonRect(int width, int height) {
    return BalloonRect{width - 92, height - 34, 76, 24};
}

struct RoundedRect {
    BalloonRect rect;
    int cornerWidth = 0;  // of the corner ellipse
    int cornerHeight = 0;
};
// The window's shape reaches one pixel past the inner area; the outline runs just inside it.
RoundedRect balloonShape(int width, int height);
RoundedRect balloonBorder(int width, int height);

// The announcement balloon: 312 x 108, taller when more than five lines must show, its bottom edge
// 2 pixels (30 twips) above the tray clock and its left edge 4000 twips left of the clock's. The
// clock lies at the very edge of a Linux screen, so the balloon is then kept inside `available`
// (the screen less its panels), and goes below the clock when there is no room above it (a panel at
// the top of the screen).
inline constexpr int kAnnouncementWidth = 312;
inline constexpr int kAnnouncementHeight = 108;
int announcementHeight(int lineCount);
BalloonRect announcementRect(const BalloonRect& clock, int lineCount, const BalloonRect& available);

}  // namespace tavrin
