#include "core/desktop/PanelSpot.h"

#include <algorithm>
#include <cstdint>

namespace tavrin {
namespace {

std::int64_t areaOf(const PixelRect& r) {
    return static_cast<std::int64_t>(r.width()) * r.height();
}

int edgeRank(PanelEdge edge) {
    switch (edge) {
        case PanelEdge::Bottom:
            return 0;
        case PanelEdge::Top:
            return 1;
        case PanelEdge::Right:
            return 2;
        case PanelEdge::Left:
            return 3;
        case PanelEdge::None:
            break;
    }
    return 4;
}

// The monitor that shows most of `r`, or none.
const Monitor* monitorOf(const DesktopLayout& desktop, const PixelRect& r) {
    const Monitor* best = nullptr;
    std::int64_t bestArea = 0;
    for (const Monitor& m : desktop.monitors) {
        const std::int64_t shared = areaOf(m.rect.intersected(r));
        if (shared > bestArea) {
            best = &m;
            bestArea = shared;
        }
    }
    return best;
}

// `dock` as a panel along one edge of its monitor, or a panel with no edge when it is none.
Panel panelOf(const DesktopLayout& desktop, const DockWindow& dock) {
    Panel panel;
    const Monitor* monitor = monitorOf(desktop, dock.rect);
    if (!monitor) return panel;
    const PixelRect m = monitor->rect;
    const PixelRect strip = dock.rect.intersected(m);
    const bool horizontal = strip.width() >= strip.height();
    const int thickness = horizontal ? strip.height() : strip.width();
    const int across = horizontal ? m.height() : m.width();
    if (thickness < kMinPanelThickness || thickness * kMaxPanelShare > across) return panel;
    int gap = 0;
    if (horizontal) {
        const int above = strip.top - m.top;
        const int below = m.bottom - strip.bottom;
        panel.edge = below <= above ? PanelEdge::Bottom : PanelEdge::Top;
        gap = std::min(above, below);
    } else {
        const int before = strip.left - m.left;
        const int after = m.right - strip.right;
        panel.edge = after <= before ? PanelEdge::Right : PanelEdge::Left;
        gap = std::min(before, after);
    }
    // A dock floating away from every edge is a window of its own.
    if (gap > thickness) {
        panel.edge = PanelEdge::None;
        return panel;
    }
    panel.rect = strip;
    panel.monitor = m;
    panel.primaryMonitor = monitor->primary;
    panel.reservesSpace = dock.reservesSpace;
    return panel;
}

int lengthOf(const Panel& p) {
    return isSidePanel(p.edge) ? p.rect.height() : p.rect.width();
}

// The monitor less the panel's strip, on the panel's side.
PixelRect besideStrip(const PixelRect& monitor, const PixelRect& strip, PanelEdge edge) {
    PixelRect r = monitor;
    switch (edge) {
        case PanelEdge::Bottom:
            r.bottom = std::max(r.top, strip.top);
            break;
        case PanelEdge::Top:
            r.top = std::min(r.bottom, strip.bottom);
            break;
        case PanelEdge::Left:
            r.left = std::min(r.right, strip.right);
            break;
        case PanelEdge::Right:
            r.right = std::max(r.left, strip.left);
            break;
        case PanelEdge::None:
            break;
    }
    return r;
}

}  // namespace

std::vector<Panel> findPanels(const DesktopLayout& desktop) {
    std::vector<Panel> panels;
    for (const DockWindow& dock : desktop.docks) {
        const Panel panel = panelOf(desktop, dock);
        if (panel.edge != PanelEdge::None) panels.push_back(panel);
    }
    std::stable_sort(panels.begin(), panels.end(), [](const Panel& a, const Panel& b) {
        if (a.primaryMonitor != b.primaryMonitor) return a.primaryMonitor;
        if (a.reservesSpace != b.reservesSpace) return a.reservesSpace;
        if (edgeRank(a.edge) != edgeRank(b.edge)) return edgeRank(a.edge) < edgeRank(b.edge);
        return lengthOf(a) > lengthOf(b);
    });
    return panels;
}

PanelSpot findPanelSpot(const DesktopLayout& desktop, int offsetFromEnd) {
    PanelSpot spot;
    const std::vector<Panel> panels = findPanels(desktop);
    if (panels.empty()) {
        const auto primary = std::find_if(desktop.monitors.begin(), desktop.monitors.end(),
                                          [](const Monitor& m) { return m.primary; });
        if (primary != desktop.monitors.end()) {
            spot.monitor = primary->rect;
        } else if (!desktop.monitors.empty()) {
            spot.monitor = desktop.monitors.front().rect;
        }
        const PixelRect& m = spot.monitor;
        spot.area = PixelRect{std::max(m.left, m.right - kTrayAreaWidth),
                              std::max(m.top, m.bottom - kCornerAreaHeight), m.right, m.bottom};
        spot.available = m;
        return spot;
    }
    const Panel& panel = panels.front();
    const PixelRect& s = panel.rect;
    spot.edge = panel.edge;
    spot.monitor = panel.monitor;
    spot.strip = s;
    spot.available = besideStrip(panel.monitor, s, panel.edge);
    if (isSidePanel(panel.edge)) {
        const int length = std::min(kSideAreaHeight, s.height());
        spot.maxOffset = s.height() - length;
        spot.offset = std::clamp(offsetFromEnd, 0, spot.maxOffset);
        spot.area = PixelRect{s.left, s.bottom - spot.offset - length, s.right, s.bottom - spot.offset};
    } else {
        const int length = std::min(kTrayAreaWidth, s.width());
        spot.maxOffset = s.width() - length;
        spot.offset = std::clamp(offsetFromEnd, 0, spot.maxOffset);
        spot.area = PixelRect{s.right - spot.offset - length, s.top, s.right - spot.offset, s.bottom};
    }
    return spot;
}

int offsetMovedBy(const PanelSpot& spot, int along) {
    return std::clamp(spot.offset + along, 0, spot.maxOffset);
}

PixelRect placeBesidePanel(const PanelSpot& spot, const PixelRect& anchor, int width, int height, int gap) {
    const bool panel = !spot.strip.empty();
    int left = anchor.right - width;
    int top = 0;
    switch (spot.edge) {
        case PanelEdge::Top:
            top = std::max(anchor.bottom, spot.strip.bottom) + gap;
            break;
        case PanelEdge::Left:
            left = std::max(anchor.right, spot.strip.right) + gap;
            top = anchor.bottom - height;
            break;
        case PanelEdge::Right:
            left = std::min(anchor.left, spot.strip.left) - gap - width;
            top = anchor.bottom - height;
            break;
        case PanelEdge::Bottom:
        case PanelEdge::None:
            top = std::min(anchor.top, panel ? spot.strip.top : spot.area.top) - gap - height;
            break;
    }
    const PixelRect& a = spot.available.empty() ? spot.monitor : spot.available;
    left = std::max(a.left, std::min(left, a.right - width));
    top = std::max(a.top, std::min(top, a.bottom - height));
    return PixelRect{left, top, left + width, top + height};
}

}  // namespace tavrin
