#pragma once
// Colours as the settings hold them: hexadecimal digits of a 24-bit number with red in the low byte,
// green in the middle and blue in the high byte ("FF" is pure red, "0" is black).
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour number of a colour text, read as hexadecimal up to the first character that is no hex
// digit; text that starts with none reads as 0 (black). Only the low 24 bits count.
std::uint32_t colourNumber(std::string_view text);
Rgb colourFromText(std::string_view text);
Rgb colourFromNumber(std::uint32_t number);
std::uint32_t colourNumberOf(Rgb rgb);

// The colour text of a number: uppercase hexadecimal, no prefix, no leading zeros.
std::string colourText(std::uint32_t number);
// The text a picked colour is stored as: like colourText, but a colour whose text would be exactly
// "FFFF" is stored as "FFFFF".
std::string pickedColourText(std::uint32_t number);
// The load-time fix-up: "FFFF" followed by a NUL reads as "FFFFF"; every other text is kept.
std::string fixLoadedColour(const std::string& stored);

}  // namespace tavrin
