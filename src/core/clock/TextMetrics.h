#pragma once
// Text measuring as the drawing surface does it, in a given line style.
#include <string_view>

#include "core/clock/LineStyle.h"

namespace tavrin {

class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    // The height of one printed line: how far the pen moves down after it.
    virtual int lineHeight(const LineStyle& style) const = 0;
    // The printed width of the text.
    virtual double textWidth(const LineStyle& style, std::string_view text) const = 0;
};

}  // namespace tavrin
