#include "core/settings/InitialSetup.h"

#include <utility>

#include "core/settings/ColourText.h"
#include "core/store/StoreAccess.h"

namespace tavrin {

namespace {

constexpr int kBlue = 0, kSilver = 1, kOliveGreen = 2, kClassic = 3, kXpCustom = 4;
constexpr int kSystemDefault = 0, kNinexCustom = 1;

// The XP list's preset colours, in the order of its items.
constexpr const char* kXpColours[] = {"E99012", "E5DBDA", "B2E2EA", "C8D0D4"};

}  // namespace

InitialSetup::InitialSetup() {
    for (SetupList which : {SetupList::Windows, SetupList::XpSchemes, SetupList::NinexSchemes}) {
        at(which).text = placeholder(which);
    }
    at(SetupList::XpSchemes).enabled = false;
    at(SetupList::NinexSchemes).enabled = false;
}

const std::vector<std::string>& InitialSetup::items(SetupList list) {
    static const std::vector<std::string> windows{"Windows '95/98/98SE/ME/2k/NT", "Windows XP Home/Pro",
                                                  "Windows 2003"};
    static const std::vector<std::string> xp{"Blue (Default)", "Silver", "Olive Green", "Classic Style",
                                             "Custom"};
    static const std::vector<std::string> ninex{"System Default", "Custom..."};
    switch (list) {
        case SetupList::Windows:
            return windows;
        case SetupList::XpSchemes:
            return xp;
        case SetupList::NinexSchemes:
            break;
    }
    return ninex;
}

const char* InitialSetup::placeholder(SetupList list) {
    switch (list) {
        case SetupList::Windows:
            return "Windows Version";
        case SetupList::XpSchemes:
            return "XP Color Schemes";
        case SetupList::NinexSchemes:
            break;
    }
    return "'9x Color Schemes";
}

void InitialSetup::select(SetupList which, int index) {
    const auto& names = items(which);
    if (index < 0 || index >= static_cast<int>(names.size())) return;
    at(which).index = index;
    at(which).text = names[static_cast<std::size_t>(index)];
}

bool InitialSetup::choose(SetupList which, int index) {
    select(which, index);
    return listsChanged();
}

void InitialSetup::type(std::string text) {
    // Typed text selects nothing and fires no click, so the scheme lists stay as they were.
    at(SetupList::Windows).index = -1;
    at(SetupList::Windows).text = std::move(text);
}

bool InitialSetup::listsChanged() {
    at(SetupList::XpSchemes).enabled = false;
    at(SetupList::NinexSchemes).enabled = false;
    const int family = list(SetupList::Windows).index;
    if (family == 0) at(SetupList::NinexSchemes).enabled = true;
    if (family == 1 || family == 2) at(SetupList::XpSchemes).enabled = true;
    return list(SetupList::XpSchemes).index == kXpCustom ||
           list(SetupList::NinexSchemes).index == kNinexCustom;
}

void InitialSetup::setCustomColour(std::uint32_t colour) {
    customColour_ = pickedColourText(colour);
}

void InitialSetup::fillUntouched() {
    // The custom colour is not asked for again here: whichever list this fills, its first item is
    // a preset that is tested before any custom item.
    // A scheme list still showing its placeholder gets its first item when it is the one in use, or
    // when no Windows version was chosen at all.
    for (SetupList scheme : {SetupList::XpSchemes, SetupList::NinexSchemes}) {
        if ((list(scheme).enabled || showsPlaceholder(SetupList::Windows)) && showsPlaceholder(scheme)) {
            select(scheme, 0);
            listsChanged();
        }
    }
    if (showsPlaceholder(SetupList::Windows)) {
        select(SetupList::Windows, 0);
        listsChanged();
    }
}

std::string InitialSetup::schemeColour(std::uint32_t buttonFaceColour) const {
    const int xp = list(SetupList::XpSchemes).index;
    const int ninex = list(SetupList::NinexSchemes).index;
    for (int preset : {kBlue, kSilver, kOliveGreen, kClassic}) {
        if (xp == preset) return kXpColours[preset];
    }
    if (ninex == kSystemDefault) return colourText(buttonFaceColour);
    if (xp == kXpCustom || ninex == kNinexCustom) return customColour_;
    return {};
}

SetupResult finishSetup(Store& store, Settings& settings, InitialSetup& setup, SetupUsers users,
                        std::uint32_t buttonFaceColour) {
    SetupResult result;
    setup.fillUntouched();

    // Settings for one user leave no machine-wide settings behind, and the other way round; the
    // chosen root starts empty too.
    const Root other = users == SetupUsers::MeOnly ? Root::LocalMachine : Root::CurrentUser;
    settings.SettingsRoot = users == SetupUsers::MeOnly ? Root::CurrentUser : Root::LocalMachine;
    for (Root root : {other, settings.SettingsRoot}) {
        const Result<> deleted = deleteKey(store, root, kSettingsKey);
        (void)deleted;  // nothing there, or no right to: what is left is written over below
    }

    const Result<KeyHandle> key = makeSettingsKey(store, settings.SettingsRoot);
    if (!key) {
        result.stored = key.why();
        return result;
    }
    settings.CustomSchemeColour = setup.customSchemeColour();
    const std::string scheme = setup.schemeColour(buttonFaceColour);
    if (scheme.empty()) {
        result.noScheme = true;
    } else if (Result<> written = writeText(store, *key, "ColScheme", scheme); !written) {
        result.stored = std::move(written);
        return result;
    }
    if (!settings.BGPicture.empty()) result.stored = writeText(store, *key, "BGPicture", settings.BGPicture);
    return result;
}

}  // namespace tavrin
