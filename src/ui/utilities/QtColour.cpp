#include "ui/utilities/QtColour.h"

#include <QApplication>
#include <QPalette>

#include "core/settings/ColourText.h"

namespace tavrin {

std::uint32_t colourNumberOf(const QColor& colour) {
    return colourNumberOf(Rgb{static_cast<std::uint8_t>(colour.red()),
                              static_cast<std::uint8_t>(colour.green()),
                              static_cast<std::uint8_t>(colour.blue())});
}

QColor qColorOfText(std::string_view colourText) {
    const Rgb rgb = colourFromText(colourText);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

std::string buttonFaceColourText() {
    return colourText(colourNumberOf(QApplication::palette().color(QPalette::Button)));
}

}  // namespace tavrin
