#pragma once
// How one text line of the clock is printed: colour text, font face, size text and bold flag, as the
// settings hold them.
#include <string>
#include <string_view>

#include "core/settings/Settings.h"

namespace tavrin {

struct LineStyle {
    std::string colour;
    std::string face;
    std::string size;
    bool bold = false;
    friend bool operator==(const LineStyle&, const LineStyle&) = default;
};

// The time line's style: "TForeColor", "TimeFont", "TimeSize", bold when "TimeBold" reads as a
// number other than 0.
LineStyle timeStyle(const Settings& s);
// The weekday and date lines' style: "DForeColor", "DateFont", "DateSize", "DateBold".
LineStyle dateStyle(const Settings& s);
// The style of a drawing surface that has printed nothing yet: black, the toolkit's own face, 8 points.
LineStyle initialSurfaceStyle();

// The point size a size text names; a size that is not a positive number of sensible size gives 8.
double pointSize(std::string_view sizeText);

}  // namespace tavrin
