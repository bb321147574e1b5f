#pragma once
// Colours between Qt and the settings' colour numbers (red in the low byte).
#include <QColor>

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

std::uint32_t colourNumberOf(const QColor& colour);
QColor qColorOfText(std::string_view colourText);
// The colour text of the desktop's button face: the default scheme colour.
std::string buttonFaceColourText();

}  // namespace tavrin
