#include "ui/utilities/QtColour.h"

#include <QApplication>
#include <QPalette>

#include "core/settings/ColourText.h"

namespace tavrin {

std::uint32_t ColourNumberOf(const QColor& colour) {
    return ColourNumberOf(Rgb{static_cast<std::uint8_t>(colour.red()),
                              static_cast<std::uint8_t>(colour.green()),
                              static_cast<std::uint8_t>(colour.blue())});
}

QColor QColorOfText(std::string_view colourText) {
    const Rgb rgb = ColourFromText(colourText);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

std::string ButtonFaceColourText() {
    return ColourText(ColourNumberOf(QApplication::palette().color(QPalette::Button)));
}

}  // namespace tavrin
