#include "core/clock/MenuLayout.h"

#include <algorithm>

namespace tavrin {
namespace {

constexpr int kButtonsBelowLines = 40;
constexpr int kSeparatorAboveButtons = 50;
constexpr int kMarginUnderButtons = 75;

}  // namespace

MenuLayout layoutMenu(int lineCount, int width, bool header) {
    MenuLayout layout;
    int y = 0;
    if (header) {
        layout.headerTop = 0;
        y += kMenuLineStepTwips;
    }
    for (int i = 0; i < lineCount; ++i) {
        layout.lineTops.push_back(y);
        y += kMenuLineStepTwips;
    }
    const int buttonsTop = y + kButtonsBelowLines;
    layout.separatorTop = buttonsTop - kSeparatorAboveButtons;
    // Six equal cells across the menu, a picture centred in each.
    const int cell = width / kMenuButtonCount;
    for (int i = 0; i < kMenuButtonCount; ++i)
        layout.buttons[static_cast<std::size_t>(i)] = TwipsRect{
            i * cell + (cell - kMenuButtonTwips) / 2, buttonsTop, kMenuButtonTwips, kMenuButtonTwips};
    layout.height = layout.buttons[2].bottom() + kMarginUnderButtons;
    return layout;
}

int menuWidthFor(int widestLine, int room) {
    return std::min(std::max(kMenuWidthTwips, widestLine + 2 * kMenuLineLeftTwips), room);
}

}  // namespace tavrin
