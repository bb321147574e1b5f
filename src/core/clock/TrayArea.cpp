#include "core/clock/TrayArea.h"

#include <algorithm>

namespace tavrin {

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
