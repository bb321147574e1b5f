#include "core/clock/LineStyle.h"

#include <cmath>
#include <string>

#include "core/base/Text.h"

namespace tavrin {

double pointSize(std::string_view sizeText) {
    const double size = leadingNumber(sizeText);
    if (!(size > 0) || size > 2048 || !std::isfinite(size)) return 8;
    return size;
}

LineStyle timeStyle(const Settings& s) {
    return LineStyle{s.TForeColor, s.TimeFont, s.TimeSize, leadingNumber(s.TimeBold) != 0};
}

LineStyle dateStyle(const Settings& s) {
    return LineStyle{s.DForeColor, s.DateFont, s.DateSize, leadingNumber(s.DateBold) != 0};
}

LineStyle initialSurfaceStyle() {
    return LineStyle{"0", "", "8", false};
}

}  // namespace tavrin
