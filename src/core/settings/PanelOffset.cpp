#include "core/settings/PanelOffset.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/base/Text.h"
#include "core/store/KeyNames.h"

namespace tavrin {

int panelOffsetFromText(std::string_view text) {
    const double value = leadingNumber(text);
    if (!(value > 0)) return 0;
    return static_cast<int>(std::min<double>(std::floor(value), kMaxPanelOffset));
}

Result<> storePanelOffset(Store& store, Settings& settings, int offset) {
    offset = std::clamp(offset, 0, kMaxPanelOffset);
    KeyHandle key;
    Status st = store.OpenKey(KeyHandle::rootKey(settings.SettingsRoot), kSettingsKey, kAllAccess, key);
    if (st == status::kSuccess) {
        st = store.SetValue(key, "PanelOffset", ValueType::String, std::to_string(offset));
        if (st == status::kSuccess) st = store.FlushKey(key);
        store.CloseKey(key);
    }
    if (st != status::kSuccess) {
        const std::string detail = store.lastFailure();
        return Result<>::failure("The clock's place on the panel could not be kept" +
                                 (detail.empty()
                                      ? " (the settings answered with error " + std::to_string(st) + ")"
                                      : ": " + detail) +
                                 ". It stays there until Tavrin ends.");
    }
    settings.PanelOffset = offset;
    return Result<>::success();
}

}  // namespace tavrin
