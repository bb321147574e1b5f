#pragma once
// The first-run setup's rules: its three lists (Windows family, XP schemes, '9x schemes), which
// scheme list is enabled, the custom colour, and "Finish!" writing the first settings.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"

namespace tavrin {

enum class SetupList { Windows = 0, XpSchemes = 1, NinexSchemes = 2 };
enum class SetupUsers { MeOnly, Everyone };

struct SetupListState {
    std::string text;  // what the list shows: its placeholder until something is chosen or typed
    int index = -1;    // the chosen item, -1 for none
    bool enabled = true;
};

class InitialSetup {
  public:
    InitialSetup();

    static const std::vector<std::string>& items(SetupList list);
    static const char* placeholder(SetupList list);

    const SetupListState& list(SetupList which) const { return lists_[static_cast<std::size_t>(which)]; }

    // The user chose item `index` of a list. Returns true when a custom scheme item is now chosen
    // in either scheme list, so the colour must be picked (again).
    bool choose(SetupList which, int index);
    // Text typed into the Windows list, which is editable; it selects nothing and leaves the scheme
    // lists as they were.
    void type(std::string text);

    // The colour the colour dialog returned. A cancelled dialog does not call this: it keeps the
    // colour picked before, so that a change of mind never turns the clock black.
    void setCustomColour(std::uint32_t colour);
    const std::string& customSchemeColour() const { return customColour_; }

    // "Finish!" first fills in lists the user left untouched.
    void fillUntouched();

    // The "ColScheme" text the lists choose (the XP list first, even while disabled, then the '9x
    // list, then a custom item); empty when none is chosen or a custom colour was never picked.
    std::string schemeColour(std::uint32_t buttonFaceColour) const;

  private:
    SetupListState& at(SetupList which) { return lists_[static_cast<std::size_t>(which)]; }
    bool showsPlaceholder(SetupList which) const { return list(which).text == placeholder(which); }
    void select(SetupList which, int index);
    // Enables the scheme list of the chosen Windows family; true when a custom item is chosen.
    bool listsChanged();

    std::array<SetupListState, 3> lists_;
    std::string customColour_;
};

// How "Finish!" went: two things to tell, each on its own.
struct SetupResult {
    Result<> stored;        // whether the settings could be created, and why not
    bool noScheme = false;  // "No Color Scheme Set!": "ColScheme" was not written
};

// "Finish!": fills in the lists, chooses the root (deleting the settings under the other root and
// under the chosen one), creates the maker and settings keys, writes "ColScheme" and "BGPicture".
// Writes `SettingsRoot` and `CustomSchemeColour` into `settings` and reads its `BGPicture`. Stops at
// the first store call that fails and says why; what was done before stays done.
SetupResult finishSetup(Store& store, Settings& settings, InitialSetup& setup, SetupUsers users,
                        std::uint32_t buttonFaceColour);

}  // namespace tavrin
