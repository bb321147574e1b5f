#include "core/settings/PanelOffset.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/base/Text.h"
#include "core/store/KeyNames.h"
#include "core/store/StoreAccess.h"

namespace tavrin {

int panelOffsetFromText(std::string_view text) {
    const double value = leadingNumber(text);
    if (!(value > 0)) return 0;
    return static_cast<int>(std::min<double>(std::floor(value), kMaxPanelOffset));
}

Result<> storePanelOffset(Store& store, Settings& settings, int offset) {
    offset = std::clamp(offset, 0, kMaxPanelOffset);
    const Result<KeyHandle> key = openKey(store, settings.SettingsRoot, kSettingsKey, kAllAccess);
    const Result<> kept = key ? writeText(store, *key, "PanelOffset", std::to_string(offset)) : key.why();
    if (!kept)
        return Result<>::failure("The clock's place on the panel could not be kept: " + kept.message() +
                                 ". It stays there until Tavrin ends.");
    settings.PanelOffset = offset;
    return Result<>::success();
}

}  // namespace tavrin
