#include "core/clock/ClockFace.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>

namespace tavrin {

bool endsInAmPm(std::string_view timeFormat) {
    return timeFormat.ends_with("AM/PM");
}

namespace {

std::string sizeText(double points) {
    std::string text = std::to_string(points);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

LineStyle scaledStyle(const LineStyle& style, double factor) {
    if (factor >= 1) return style;
    LineStyle smaller = style;
    smaller.size = sizeText(std::max(kSmallestPointSize, std::floor(pointSize(style.size) * factor * 4) / 4));
    return smaller;
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
        smaller.size = sizeText(fitted);
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

    // Both heights come from whatever font the surface holds before the first line is printed.
    const int th = metrics.lineHeight(in.measureStyle);
    const int dh = th;

    const auto printLines = [&](double factor) {
        FaceLayout lines;
        lines.lastStyle = in.measureStyle;
        const LineStyle timeStyle = scaledStyle(in.timeStyle, factor);
        const LineStyle dateStyle = scaledStyle(in.dateStyle, factor);
        Pen pen(lines, metrics, w);
        if (h >= kThreeLineHeight) {
            pen.print(roundHalfEven((h - th) / 2.0 - (dh + 7)), timeStyle, in.timeText);
            if (in.weekdayText) pen.print(pen.y() + 4, dateStyle, *in.weekdayText);
            pen.print(pen.y() + 4, dateStyle, in.dateText);
        } else {
            pen.print(roundHalfEven((h - th) / 2.0 - (dh / 2.0 + 3)), timeStyle, in.timeText);
            pen.print(pen.y() - 3, dateStyle, in.dateText);
        }
        return std::pair{std::move(lines), pen.y()};
    };
    // Named pieces rather than a structured binding: the lambda below captures them, which not every
    // compiler takes from a binding.
    auto printed = printLines(1);
    auto& lines = printed.first;
    auto& bottom = printed.second;
    // A thin panel: every line a little smaller until all of them fit in what the window shows, and
    // then moved down or up as little as it takes to show them whole.
    const auto top = [&] { return lines.lines.empty() ? 0 : lines.lines.front().y; };
    const int shown = in.shownHeight;
    for (double factor = 0.9; shown > 0 && bottom - top() > shown && factor > 0.3; factor -= 0.1)
        std::tie(lines, bottom) = printLines(factor);
    if (shown > 0 && bottom - top() <= shown) {
        const int shift = top() < 0 ? -top() : std::min(0, shown - bottom);
        for (PlacedLine& line : lines.lines) line.y += shift;
    }
    out.lines = std::move(lines.lines);
    out.lastStyle = lines.lastStyle;
    return out;
}

}  // namespace tavrin
