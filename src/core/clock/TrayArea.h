#pragma once
// The clock window's place in the tray area (the rectangle it covers on the panel, see PanelSpot).
#include "core/desktop/PixelRect.h"

namespace tavrin {

// The clock window's top offset below the tray area's top, in twips, for a platform identifier: 50 on
// the NT family (2), 10 elsewhere.
constexpr int dockTopOffsetTwips(int platformId) {
    return platformId == 2 ? 50 : 10;
}

// The clock window: DockTopOffset below the area's top, flush with its left edge, no larger than the
// drawing surface, and clipped to the area as the panel would clip a child window.
PixelRect dockedWindowRect(const PixelRect& tray, int dockTopPixels, int surfaceWidth, int surfaceHeight);

}  // namespace tavrin
