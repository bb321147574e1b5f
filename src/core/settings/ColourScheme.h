#pragma once
// Colour schemes: the three schemes that bring pictures are recognised by their colour alone.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

enum class PictureScheme { None, OliveGreen, Silver, Blue };

// The colour texts of the picture schemes, as stored.
inline constexpr const char* kOliveGreenScheme = "B2E2EA";
inline constexpr const char* kSilverScheme = "E5DBDA";
inline constexpr const char* kBlueScheme = "E99012";

// The picture scheme a "ColScheme" text selects, compared as colour numbers (so case does not
// matter, and an empty text is black, which has no pictures).
PictureScheme schemeOfColour(std::string_view colScheme);

// The scheme's three picture files in slot order (bottom, top, centre), under the application
// directory; nothing for a scheme without pictures.
std::optional<std::array<std::string, 3>> schemePicturePaths(PictureScheme scheme, const std::string& appDir);

// Loads the pictures a "ColScheme" text selects. `loadSlot` loads one file into a slot and says whether
// it could; the files are tried in slot order and the first failure stops. Returns the new value of
// SchemeHasImages: true only when every picture of a picture scheme loaded, so a missing file leaves
// the plain colour rather than a mix of old and new pictures.
bool loadSchemePictures(std::string_view colScheme, const std::string& appDir,
                        const std::function<bool(int slot, const std::string& path)>& loadSlot);

}  // namespace tavrin
