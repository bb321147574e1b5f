#include "core/desktop/DesktopLayout.h"

#include <cmath>

namespace tavrin {

DesktopLayout scaledDown(const DesktopLayout& layout, double ratio) {
    if (!(ratio > 0) || ratio == 1) return layout;
    const auto edge = [ratio](int v) { return static_cast<int>(std::lround(v / ratio)); };
    const auto rect = [&](const PixelRect& r) {
        return PixelRect{edge(r.left), edge(r.top), edge(r.right), edge(r.bottom)};
    };
    DesktopLayout out = layout;
    for (Monitor& m : out.monitors) m.rect = rect(m.rect);
    for (DockWindow& d : out.docks) d.rect = rect(d.rect);
    return out;
}

}  // namespace tavrin
