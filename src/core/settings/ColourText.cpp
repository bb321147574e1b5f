#include "core/settings/ColourText.h"

#include "core/base/Text.h"

namespace tavrin {

std::uint32_t colourNumber(std::string_view text) {
    std::uint64_t value = 0;
    for (char c : text) {
        const std::optional<int> digit = hexDigit(c);
        if (!digit) break;  // the number ends at the first character that is no hex digit
        value = (value << 4 | static_cast<std::uint64_t>(*digit)) & 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value & 0xFFFFFF);
}

Rgb colourFromNumber(std::uint32_t number) {
    return Rgb{static_cast<std::uint8_t>(number & 0xFF), static_cast<std::uint8_t>((number >> 8) & 0xFF),
               static_cast<std::uint8_t>((number >> 16) & 0xFF)};
}

Rgb colourFromText(std::string_view text) {
    return colourFromNumber(colourNumber(text));
}

std::uint32_t colourNumberOf(Rgb rgb) {
    return static_cast<std::uint32_t>(rgb.red) | static_cast<std::uint32_t>(rgb.green) << 8 |
           static_cast<std::uint32_t>(rgb.blue) << 16;
}

std::string colourText(std::uint32_t number) {
    static const char digits[] = "0123456789ABCDEF";
    number &= 0xFFFFFF;
    if (number == 0) return "0";
    std::string out;
    while (number != 0) {
        out.insert(out.begin(), digits[number & 0xF]);
        number >>= 4;
    }
    return out;
}

std::string pickedColourText(std::uint32_t number) {
    std::string text = colourText(number);
    return text == "FFFF" ? std::string("FFFFF") : text;
}

std::string fixLoadedColour(const std::string& stored) {
    return stored == std::string("FFFF\0", 5) ? std::string("FFFFF") : stored;
}

}  // namespace tavrin
