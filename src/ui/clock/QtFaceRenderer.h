#pragma once
// Draws a laid-out clock frame with Qt: the scheme colour, the picture copies, then the text lines.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "core/clock/ClockFace.h"
#include "core/clock/TextMetrics.h"

namespace tavrin {

QFont fontOfStyle(const LineStyle& style);
QColor colourOfText(std::string_view colourText);

// Text measuring in Qt fonts. Fonts and their metrics are kept per style, since a frame uses two or three
// styles and building a font is the costly part.
class QtTextMetrics final : public TextMetrics {
  public:
    int lineHeight(const LineStyle& style) const override;
    double textWidth(const LineStyle& style, std::string_view text) const override;
    const QFont& font(const LineStyle& style) const;
    double ascent(const LineStyle& style) const;

  private:
    struct Entry {
        LineStyle style;
        QFont font;
        std::shared_ptr<QFontMetricsF> metrics;
        int height = 0;
    };
    const Entry& entry(const LineStyle& style) const;
    mutable std::vector<Entry> cache_;
};

// Composes the frame on `surface` (already of the frame's size): clear to the background, copy the
// picture layers, print the lines. Nothing is drawn beyond the surface.
void composeFace(QImage& surface, const QColor& background, const FaceLayout& layout,
                 const std::array<QImage, 3>& layers, const QtTextMetrics& metrics);

}  // namespace tavrin
