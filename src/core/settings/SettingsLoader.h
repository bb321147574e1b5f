#pragma once
// Loads the settings model from the settings key, writing the default of every missing value.
#include <optional>
#include <string>

#include "core/base/Result.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

inline constexpr const char* kVersionText = "v1.0.4";

// Fills `settings` and `zones` from `store` under settings.SettingsRoot. `buttonFaceColour` is the
// colour text of the desktop's button face, the default of "ColScheme". Keys are created when
// missing; a key that cannot be created stops the load where it is, as the rest would fail too. A value
// that cannot be read, or whose default cannot be kept, loads as empty text and the load goes on; the
// first such failure is the answer.
Result<> loadSettings(Store& store, Settings& settings, ZoneState& zones,
                      const std::string& buttonFaceColour);

// The settings root to use, chosen the way start-up chooses it: the machine-wide settings key when
// it opens with write access, else the per-user one; nothing when neither exists (first start).
// Opens nothing for longer than the test and changes nothing.
std::optional<Root> chooseSettingsRoot(Store& store);

}  // namespace tavrin
