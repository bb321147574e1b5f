#pragma once
// Where the clock sits: the tray area at the bottom-right of the primary screen, worked out from the
// screen's full and available rectangles, and the clock window's place in it.
namespace tavrin {

// A screen rectangle in pixels; right and bottom are one past the last pixel.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The area's width in a panel strip, and its size where no panel leaves room.
inline constexpr int kTrayAreaWidth = 80;
inline constexpr int kCornerAreaHeight = 40;
// A reserved strip thinner than this is an auto-hidden or decorative edge, not a panel to sit in.
inline constexpr int kMinPanelThickness = 16;

// The right end of a bottom panel strip (the rows between the available area's bottom and the
// screen's); else the right end of a top panel strip; else the bottom end of a right-hand, then of a
// left-hand panel strip; else a fixed area in the screen's bottom-right corner.
PixelRect trayAreaRect(const PixelRect& screen, const PixelRect& available);

// The clock window's top offset below the tray area's top, in twips, for a platform identifier: 50 on
// the NT family (2), 10 elsewhere.
constexpr int dockTopOffsetTwips(int platformId) {
    return platformId == 2 ? 50 : 10;
}

// The clock window: DockTopOffset below the area's top, flush with its left edge, no larger than the
// drawing surface, and clipped to the area as the panel would clip a child window.
PixelRect dockedWindowRect(const PixelRect& tray, int dockTopPixels, int surfaceWidth, int surfaceHeight);

}  // namespace tavrin
