#include "core/clock/ClockFace.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tavrin {

bool endsInAmPm(std::string_view timeFormat) {
    return timeFormat.ends_with("AM/PM");
}

LineStyle fittedStyle(const LineStyle& style, std::string_view text, double width,
                      const TextMetrics& metrics) {
    const double wide = metrics.textWidth(style, text);
    if (wide <= width || wide <= 0) return style;
    // Printed widths grow with the size, so one guess lands close; a few quarter points less make up
    // for the hinting of small sizes.
    const double size = pointSize(style.size);
    double fitted = std::floor(size * std::max(width, 0.0) / wide * 4) / 4;
    LineStyle smaller = style;
    for (int step = 0; step < 8; ++step) {
        fitted = std::max(fitted, kSmallestPointSize);
        std::string sizeText = std::to_string(fitted);
        sizeText.erase(sizeText.find_last_not_of('0') + 1);
        if (sizeText.back() == '.') sizeText.pop_back();
        smaller.size = sizeText;
        if (fitted <= kSmallestPointSize || metrics.textWidth(smaller, text) <= width) break;
        fitted -= 0.25;
    }
    return smaller;
}

int roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5) {
        result = lower + 1;
    } else if (fraction == 0.5) {
        result = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    }
    return static_cast<int>(result);
}

namespace {

// The surface's pen: each printed line leaves it one line height below the line's top.
class Pen {
  public:
    Pen(FaceLayout& out, const TextMetrics& metrics, int width)
        : out_(out), metrics_(metrics), width_(width) {}

    void print(int y, const LineStyle& wanted, const std::string& text) {
        const LineStyle style = fittedStyle(wanted, text, width_ - 2 * kLineMargin, metrics_);
        const double w = metrics_.textWidth(style, text);
        out_.lines.push_back(PlacedLine{(width_ - w) / 2, y, style, text});
        y_ = y + metrics_.lineHeight(style);
        out_.lastStyle = style;
    }
    int y() const { return y_; }

  private:
    FaceLayout& out_;
    const TextMetrics& metrics_;
    int width_;
    int y_ = 0;
};

}  // namespace

FaceLayout layoutFace(const FaceInputs& in, const TextMetrics& metrics) {
    FaceLayout out;
    out.lastStyle = in.measureStyle;
    const int w = in.trayWidth;
    const int h = in.trayHeight;

    if (in.schemeHasImages) {
        const ImageSize& bottom = in.layers[0];
        const ImageSize& top = in.layers[1];
        const ImageSize& centre = in.layers[2];
        out.copies.push_back(ImageCopy{1, 0, kTopLayerTop, top.width, top.height});
        out.copies.push_back(ImageCopy{2, 0, kCentreLayerTop, centre.width, h - bottom.height});
        out.copies.push_back(ImageCopy{0, 0, bottomLayerTop(h), bottom.width, bottom.height});
    }

    const std::string& timeText = in.timeText;

    // Both heights come from whatever font the surface holds before the first line is printed.
    const int th = metrics.lineHeight(in.measureStyle);
    const int dh = th;

    Pen pen(out, metrics, w);
    if (h >= kThreeLineHeight) {
        pen.print(roundHalfEven((h - th) / 2.0 - (dh + 7)), in.timeStyle, timeText);
        if (in.weekdayText) pen.print(pen.y() + 4, in.dateStyle, *in.weekdayText);
        pen.print(pen.y() + 4, in.dateStyle, in.dateText);
    } else {
        pen.print(roundHalfEven((h - th) / 2.0 - (dh / 2.0 + 3)), in.timeStyle, timeText);
        pen.print(pen.y() - 3, in.dateStyle, in.dateText);
    }
    return out;
}

}  // namespace tavrin
