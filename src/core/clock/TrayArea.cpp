#include "core/clock/TrayArea.h"

#include <algorithm>

namespace tavrin {

PixelRect TrayAreaRect(const PixelRect& screen, const PixelRect& available) {
    const int bottomStrip = screen.bottom - available.bottom;
    if (bottomStrip >= kMinPanelThickness) {
        const int left = std::max(screen.left, screen.right - kTrayAreaWidth);
        return PixelRect{left, available.bottom, screen.right, screen.bottom};
    }
    const int rightStrip = screen.right - available.right;
    if (rightStrip >= kMinPanelThickness) {
        const int top = std::max(screen.top, screen.bottom - kCornerAreaHeight);
        return PixelRect{available.right, top, screen.right, screen.bottom};
    }
    return PixelRect{std::max(screen.left, screen.right - kTrayAreaWidth),
                     std::max(screen.top, screen.bottom - kCornerAreaHeight), screen.right, screen.bottom};
}

PixelRect DockedWindowRect(const PixelRect& tray, int dockTopPixels, int surfaceWidth, int surfaceHeight) {
    PixelRect r{tray.left, tray.top + dockTopPixels, tray.left + surfaceWidth,
                tray.top + dockTopPixels + surfaceHeight};
    r.right = std::min(r.right, tray.right);
    r.bottom = std::min(r.bottom, tray.bottom);
    r.bottom = std::max(r.bottom, r.top);
    r.right = std::max(r.right, r.left);
    return r;
}

}  // namespace tavrin
