#pragma once
// What the window system tells about the desktop: its monitors and the windows of its panels.
#include <vector>

#include "core/desktop/PixelRect.h"

namespace tavrin {

struct Monitor {
    PixelRect rect;
    bool primary = false;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

// A panel's (or any dock's) window on the screen, and whether it keeps its strip of the screen free
// of other windows. Auto-hidden panels and small docks usually keep none.
struct DockWindow {
    PixelRect rect;
    bool reservesSpace = false;
    friend bool operator==(const DockWindow&, const DockWindow&) = default;
};

struct DesktopLayout {
    std::vector<Monitor> monitors;  // in the window system's order
    std::vector<DockWindow> docks;  // the clock's own window is not among them
    friend bool operator==(const DesktopLayout&, const DesktopLayout&) = default;
};

// The layout in pixels `ratio` times as large as the window system's: the window system counts the
// screen's own pixels, windows that are scaled up count fewer, larger ones. Each edge is rounded.
DesktopLayout scaledDown(const DesktopLayout& layout, double ratio);

}  // namespace tavrin
