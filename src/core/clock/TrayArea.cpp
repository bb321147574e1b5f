#include "core/clock/TrayArea.h"

#include <algorithm>

namespace tavrin {

PixelRect trayAreaRect(const PixelRect& screen, const PixelRect& available) {
    // A horizontal panel's tray is its right end, a vertical panel's its bottom end. The bottom comes
    // first, as the place people look for a clock; then the top, the right and the left.
    const int areaLeft = std::max(screen.left, screen.right - kTrayAreaWidth);
    const int areaTop = std::max(screen.top, screen.bottom - kCornerAreaHeight);
    if (screen.bottom - available.bottom >= kMinPanelThickness)
        return PixelRect{areaLeft, available.bottom, screen.right, screen.bottom};
    if (available.top - screen.top >= kMinPanelThickness)
        return PixelRect{areaLeft, screen.top, screen.right, available.top};
    if (screen.right - available.right >= kMinPanelThickness)
        return PixelRect{available.right, areaTop, screen.right, screen.bottom};
    if (available.left - screen.left >= kMinPanelThickness)
        return PixelRect{screen.left, areaTop, available.left, screen.bottom};
    return PixelRect{areaLeft, areaTop, screen.right, screen.bottom};
}

PixelRect dockedWindowRect(const PixelRect& tray, int dockTopPixels, int surfaceWidth, int surfaceHeight) {
    PixelRect r{tray.left, tray.top + dockTopPixels, tray.left + surfaceWidth,
                tray.top + dockTopPixels + surfaceHeight};
    r.right = std::min(r.right, tray.right);
    r.bottom = std::min(r.bottom, tray.bottom);
    r.bottom = std::max(r.bottom, r.top);
    r.right = std::max(r.right, r.left);
    return r;
}

}  // namespace tavrin
