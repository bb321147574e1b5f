#include "core/clock/MenuLayout.h"

#include <algorithm>

namespace tavrin {
namespace {

constexpr int kButtonsBelowLines = 40;
constexpr int kSeparatorAboveButtons = 50;
constexpr int kMarginUnderButtons = 75;
// A clock more than this above the screen's bottom is not in a bottom panel.
constexpr int kBottomPanelReach = 885;
constexpr int kLeftOfSideClock = 1000;
constexpr int kAboveTray = 90;
constexpr int kTopWhileTrayUnknown = 500;

}  // namespace

MenuLayout layoutMenu(int lineCount) {
    MenuLayout layout;
    int y = 0;
    for (int i = 0; i < lineCount; ++i) {
        layout.lineTops.push_back(y);
        y += kMenuLineStepTwips;
    }
    const int buttonsTop = y + kButtonsBelowLines;
    layout.separatorTop = buttonsTop - kSeparatorAboveButtons;
    // Six equal cells across the menu, a picture centred in each.
    const int cell = kMenuWidthTwips / kMenuButtonCount;
    for (int i = 0; i < kMenuButtonCount; ++i)
        layout.buttons[static_cast<std::size_t>(i)] = TwipsRect{
            i * cell + (cell - kMenuButtonTwips) / 2, buttonsTop, kMenuButtonTwips, kMenuButtonTwips};
    layout.height = layout.buttons[2].bottom() + kMarginUnderButtons;
    return layout;
}

TwipsRect placeMenu(const TwipsRect& screen, const TwipsRect& clock, const TwipsRect& tray, int menuHeight) {
    TwipsRect menu{0, 0, kMenuWidthTwips, menuHeight};
    menu.left = screen.right() - kMenuWidthTwips;
    if (clock.top <= screen.bottom() - kBottomPanelReach)
        menu.left = screen.right() - clock.width - kLeftOfSideClock;
    if (clock.left + clock.width / 2 < screen.left + screen.width / 2) menu.left = clock.left;
    if (tray.height <= 0) {
        menu.top = screen.top + kTopWhileTrayUnknown;
    } else {
        menu.top = tray.top - menuHeight - kAboveTray;
        if (menu.top < screen.top) menu.top = tray.bottom() + kAboveTray;
    }
    // A menu that does not fit is shown from its top-left corner.
    menu.left = std::max(screen.left, std::min(menu.left, screen.right() - menu.width));
    menu.top = std::max(screen.top, std::min(menu.top, screen.bottom() - menu.height));
    return menu;
}

}  // namespace tavrin
