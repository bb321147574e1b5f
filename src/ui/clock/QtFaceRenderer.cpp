#include "ui/clock/QtFaceRenderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <memory>

#include "core/settings/ColourText.h"
#include "ui/utilities/QtColour.h"

namespace tavrin {

QFont fontOfStyle(const LineStyle& style) {
    QFont font;
    if (!style.face.empty()) font.setFamily(QString::fromStdString(style.face));
    font.setPointSizeF(pointSize(style.size));
    font.setBold(style.bold);
    return font;
}

QColor colourOfText(std::string_view colourText) {
    return qColorOfText(colourText);
}

const QtTextMetrics::Entry& QtTextMetrics::entry(const LineStyle& style) const {
    for (const Entry& e : cache_) {
        if (e.style == style) return e;
    }
    // A handful of styles are ever in use; drop the lot when settings churn rather than grow forever.
    if (cache_.size() >= 8) cache_.clear();
    Entry e;
    e.style = style;
    e.font = fontOfStyle(style);
    e.metrics = std::make_shared<QFontMetricsF>(e.font);
    e.height = QFontMetrics(e.font).height();
    cache_.push_back(std::move(e));
    return cache_.back();
}

int QtTextMetrics::lineHeight(const LineStyle& style) const {
    return entry(style).height;
}

double QtTextMetrics::textWidth(const LineStyle& style, std::string_view text) const {
    return entry(style).metrics->horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

const QFont& QtTextMetrics::font(const LineStyle& style) const {
    return entry(style).font;
}

double QtTextMetrics::ascent(const LineStyle& style) const {
    return entry(style).metrics->ascent();
}

void composeFace(QImage& surface, const QColor& background, const FaceLayout& layout,
                 const std::array<QImage, 3>& layers, const QtTextMetrics& metrics) {
    surface.fill(background);
    QPainter p(&surface);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const ImageCopy& c : layout.copies) {
        const QImage& layer = layers[static_cast<std::size_t>(c.layer)];
        // A copy never reads beyond its picture: what it does not cover keeps the colour below.
        const int w = std::min(c.width, layer.width());
        const int h = std::min(c.height, layer.height());
        if (w > 0 && h > 0) p.drawImage(QPoint(c.x, c.y), layer, QRect(0, 0, w, h));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PlacedLine& line : layout.lines) {
        p.setFont(metrics.font(line.style));
        p.setPen(colourOfText(line.style.colour));
        p.drawText(QPointF(line.x, line.y + metrics.ascent(line.style)), QString::fromStdString(line.text));
    }
}

}  // namespace tavrin
