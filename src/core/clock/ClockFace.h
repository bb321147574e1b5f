#pragma once
// The layout of one clock frame: which scheme pictures are copied where, and which text lines are
// printed where in which style. The window only draws the list this returns, so every placement rule
// can be checked without a window.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Twips.h"
#include "core/clock/LineStyle.h"
#include "core/clock/TextMetrics.h"

namespace tavrin {

struct ImageSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// Everything that shapes a frame. Two equal inputs give the same frame, which is what lets the window
// skip composing when nothing changed.
struct FaceInputs {
    int trayWidth = 0;
    int trayHeight = 0;
    // How much of the frame's height the window shows (it sits a little below the tray's top); 0
    // when it is not known, and then lines are not made to fit it.
    int shownHeight = 0;
    std::string timeText;  // as refreshed this tick
    std::string dateText;
    std::string timeFormat;
    // The weekday line, or nothing when the date text cannot be read back as a date.
    std::optional<std::string> weekdayText;
    LineStyle timeStyle;
    LineStyle dateStyle;
    // The font the drawing surface holds before this frame: the last line of the previous frame, or
    // the surface's own font for the very first one. Both heights the layout needs are measured in it.
    LineStyle measureStyle;
    bool schemeHasImages = false;
    std::array<ImageSize, 3> layers{};  // bottom, top and centre pictures
    friend bool operator==(const FaceInputs&, const FaceInputs&) = default;
};

// A plain copy of a whole or partial picture layer, from the layer's (0, 0) to (x, y) of the frame.
struct ImageCopy {
    int layer = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ImageCopy&, const ImageCopy&) = default;
};

// One printed line: its glyphs' top at y, its left edge at x (centred, not rounded).
struct PlacedLine {
    double x = 0;
    int y = 0;
    LineStyle style;
    std::string text;
};

struct FaceLayout {
    std::vector<ImageCopy> copies;  // in drawing order; later copies overwrite earlier ones
    std::vector<PlacedLine> lines;  // in drawing order
    LineStyle lastStyle;            // the font the surface holds after the frame
};

// The drawing surface has a fixed size: nothing is drawn beyond it however large the tray area is.
inline constexpr int kSurfaceWidth = 2775 / kTwipsPerPixel;
inline constexpr int kSurfaceHeight = 5535 / kTwipsPerPixel;
// Trays at least this tall show the weekday between time and date.
inline constexpr int kThreeLineHeight = 60;
// A line is printed smaller until it fits the tray's width less this margin on each side, but never
// below the smallest size; a 12-hour time keeps its AM/PM on the narrowest panel. Lines that reach
// below the shown part of a thin panel are all printed smaller, by one factor, until they fit.
inline constexpr int kLineMargin = 1;
inline constexpr double kSmallestPointSize = 4;

FaceLayout layoutFace(const FaceInputs& in, const TextMetrics& metrics);

// Whether the time pattern ends in exactly "AM/PM" (case matters): only then is the time refreshed
// on every tick.
bool endsInAmPm(std::string_view timeFormat);
// `style` at `factor` times its size, in quarter points, never below the smallest size.
LineStyle scaledStyle(const LineStyle& style, double factor);
// `style` at the largest size, in quarter points, at which `text` fits `width`: the style itself when
// it fits, else smaller, down to the smallest size.
LineStyle fittedStyle(const LineStyle& style, std::string_view text, double width,
                      const TextMetrics& metrics);
// Rounds to the nearest whole number, halves to the even neighbour.
int roundHalfEven(double value);
// The bottom picture's top edge for a tray of the given height.
constexpr int bottomLayerTop(int trayHeight) {
    return trayHeight - 10;
}
inline constexpr int kTopLayerTop = -2;
inline constexpr int kCentreLayerTop = 7;

}  // namespace tavrin
