#include "core/settings/ColourScheme.h"

#include "core/settings/ColourText.h"

namespace tavrin {

PictureScheme schemeOfColour(std::string_view colScheme) {
    const std::uint32_t colour = colourNumber(colScheme);
    if (colour == colourNumber(kOliveGreenScheme)) return PictureScheme::OliveGreen;
    if (colour == colourNumber(kSilverScheme)) return PictureScheme::Silver;
    if (colour == colourNumber(kBlueScheme)) return PictureScheme::Blue;
    return PictureScheme::None;
}

std::optional<std::array<std::string, 3>> schemePicturePaths(PictureScheme scheme,
                                                             const std::string& appDir) {
    const char* set = nullptr;
    switch (scheme) {
        case PictureScheme::OliveGreen:
            set = "olive_green";
            break;
        case PictureScheme::Silver:
            set = "silver";
            break;
        case PictureScheme::Blue:
            set = "def_blue";
            break;
        case PictureScheme::None:
            return std::nullopt;
    }
    const std::string base = appDir + "/Images/" + set;
    return std::array<std::string, 3>{base + ".gif", base + "_top.gif", base + "_center.gif"};
}

bool loadSchemePictures(std::string_view colScheme, const std::string& appDir,
                        const std::function<bool(int slot, const std::string& path)>& loadSlot) {
    const auto paths = schemePicturePaths(schemeOfColour(colScheme), appDir);
    if (!paths) return false;
    for (int slot = 0; slot < 3; ++slot) {
        if (!loadSlot(slot, (*paths)[slot])) return false;
    }
    return true;
}

}  // namespace tavrin
