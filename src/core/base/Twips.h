#pragma once
// Twips (1/1440 inch) are the unit window positions are given in; the screen has 15 to the pixel.
#include <cstdint>

namespace tavrin {

inline constexpr int kTwipsPerPixel = 15;

// Twips to whole pixels, rounded to the nearest pixel (50 twips give 3).
constexpr int pixelsFromTwips(std::int64_t twips) {
    constexpr std::int64_t half = kTwipsPerPixel / 2;
    return static_cast<int>(twips >= 0 ? (twips + half) / kTwipsPerPixel
                                       : -((-twips + half) / kTwipsPerPixel));
}
constexpr std::int64_t twipsFromPixels(int pixels) {
    return static_cast<std::int64_t>(pixels) * kTwipsPerPixel;
}

}  // namespace tavrin
