#pragma once
// Where the clock sits on the desktop: on the end of the panel that holds it, at the distance from that
// end the user chose, or in the primary monitor's corner when there is no panel; and where windows
// that open from the clock go, beside the panel rather than over it.
#include <vector>

#include "core/desktop/DesktopLayout.h"
#include "core/desktop/PixelRect.h"

namespace tavrin {

enum class PanelEdge { None, Bottom, Top, Left, Right };

constexpr bool isSidePanel(PanelEdge edge) {
    return edge == PanelEdge::Left || edge == PanelEdge::Right;
}

// The clock's length along a horizontal panel, and along a side panel, where the lines stack.
inline constexpr int kTrayAreaWidth = 80;
inline constexpr int kSideAreaHeight = 64;
// The clock's area in a corner when no panel leaves room for it.
inline constexpr int kCornerAreaHeight = 40;
// A dock thinner than this is an auto-hidden panel's edge or a decoration, not a panel to sit in; one
// thicker than this share of its monitor is a window of its own, not a panel.
inline constexpr int kMinPanelThickness = 16;
inline constexpr int kMaxPanelShare = 3;

struct Panel {
    PanelEdge edge = PanelEdge::None;
    PixelRect rect;
    PixelRect monitor;
    bool primaryMonitor = false;
    bool reservesSpace = false;
    friend bool operator==(const Panel&, const Panel&) = default;
};

// The docks that are panels, best first: those on the primary monitor, then those that keep their
// strip, then by edge (bottom, top, right, left), then the longer; otherwise in the order found.
std::vector<Panel> findPanels(const DesktopLayout& desktop);

struct PanelSpot {
    PanelEdge edge = PanelEdge::None;
    PixelRect monitor;    // the monitor that holds the clock
    PixelRect strip;      // the panel; empty when there is none
    PixelRect area;       // the tray area: the rectangle the clock covers
    PixelRect available;  // the monitor less the panel's strip, where windows that open from the clock go
    int offset = 0;       // the clock's distance from the panel's end, as it fits on this panel
    int maxOffset = 0;    // the farthest the clock can be from the end on this panel
    friend bool operator==(const PanelSpot&, const PanelSpot&) = default;
};

// The clock's place `offsetFromEnd` pixels from the end of the best panel (the right end of a
// horizontal panel, the bottom of a side panel), kept on the panel; with no panel, the bottom-right
// corner of the primary monitor (or the first, when none is primary).
PanelSpot findPanelSpot(const DesktopLayout& desktop, int offsetFromEnd);

// The offset that puts the clock's area `along` pixels further from the panel's end than it is at
// `spot` (a drag towards the panel's start is positive), kept on the panel.
int offsetMovedBy(const PanelSpot& spot, int along);

// A window of `width` x `height` that opens from the clock at `anchor`: beside the panel, `gap` pixels
// off it (above a bottom panel, below a top one, to the right of a left one, to the left of a right
// one), lined up with the clock's far edge, and kept inside the available area, from its top-left
// corner when it is larger.
PixelRect placeBesidePanel(const PanelSpot& spot, const PixelRect& anchor, int width, int height, int gap);

}  // namespace tavrin
