#include "core/clock/LineStyle.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace tavrin {

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t j = i;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    bool digits = false;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j, digits = true;
    if (j < text.size() && text[j] == '.') {
        ++j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j, digits = true;
    }
    if (!digits) return 0;
    return std::strtod(std::string(text.substr(i, j - i)).c_str(), nullptr);
}

double PointSize(std::string_view sizeText) {
    const double size = LeadingNumber(sizeText);
    if (!(size > 0) || size > 2048 || !std::isfinite(size)) return 8;
    return size;
}

LineStyle TimeStyle(const Settings& s) {
    return LineStyle{s.TForeColor, s.TimeFont, s.TimeSize, LeadingNumber(s.TimeBold) != 0};
}

LineStyle DateStyle(const Settings& s) {
    return LineStyle{s.DForeColor, s.DateFont, s.DateSize, LeadingNumber(s.DateBold) != 0};
}

LineStyle InitialSurfaceStyle() {
    return LineStyle{"0", "", "8", false};
}

}  // namespace tavrin
