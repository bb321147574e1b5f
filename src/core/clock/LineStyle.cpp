#include "core/clock/LineStyle.h"

#include <cmath>
#include <string>

#include "core/base/Text.h"

namespace tavrin {

double PointSize(std::string_view sizeText) {
    const double size = leadingNumber(sizeText);
    if (!(size > 0) || size > 2048 || !std::isfinite(size)) return 8;
    return size;
}

LineStyle TimeStyle(const Settings& s) {
    return LineStyle{s.TForeColor, s.TimeFont, s.TimeSize, leadingNumber(s.TimeBold) != 0};
}

LineStyle DateStyle(const Settings& s) {
    return LineStyle{s.DForeColor, s.DateFont, s.DateSize, leadingNumber(s.DateBold) != 0};
}

LineStyle InitialSurfaceStyle() {
    return LineStyle{"0", "", "8", false};
}

}  // namespace tavrin
