#pragma once
// The clock's distance from the panel's end, which the user sets by dragging the clock along the
// panel or in the preferences; kept in the settings as "PanelOffset", in pixels.
#include <string_view>

#include "core/base/Result.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"

namespace tavrin {

// The largest offset kept: more than any panel is long, and far from the number's limits.
inline constexpr int kMaxPanelOffset = 100000;

// A stored offset as the program holds it: its leading whole number, at least 0 and at most the
// largest kept; text that starts with no number is 0.
int panelOffsetFromText(std::string_view text);

// Writes `offset` to the settings and, once it is stored, into `settings`. A refusal of the store
// leaves the settings as they were and says why.
Result<> storePanelOffset(Store& store, Settings& settings, int offset);

}  // namespace tavrin
