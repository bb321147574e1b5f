#pragma once
// Where the pop-up menu's parts go and where the menu sits, in twips: the lines one under another,
// the separator and the row of six picture buttons under them, the menu above the tray area.
#include <array>
#include <vector>

namespace tavrin {

inline constexpr int kMenuWidthTwips = 3615;
inline constexpr int kMenuLineStepTwips = 220;
inline constexpr int kMenuLineHeightTwips = 240;
inline constexpr int kMenuLineLeftTwips = 50;
inline constexpr int kMenuButtonCount = 6;
// The buttons' pictures are 24 pixels square.
inline constexpr int kMenuButtonTwips = 360;

// A rectangle in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct MenuLayout {
    std::vector<int> lineTops;  // line 1 first
    int separatorTop = 0;       // the separator line and the shape under it
    std::array<TwipsRect, kMenuButtonCount> buttons{};
    int height = 0;
};

// The inside of the menu for `lineCount` lines: lines every 220 twips from the top, the buttons 40
// below the last step, the separator 10 above it, and 75 under the buttons.
MenuLayout layoutMenu(int lineCount);

// The menu's place on the screen, in twips. `screen` is the screen's rectangle, `clock` the tray clock
// window's, `tray` the tray area's (empty while not yet known).
//
// Right-aligned with the screen, unless the clock sits higher than a bottom panel would put it (more
// than 885 twips, 59 pixels, above the screen's bottom: a panel at the side), then 1000 twips left of
// the clock; a clock in the screen's left half (a panel on the left) has the menu start at its left
// edge. 90 twips above the tray area, or below it where there is no room above (a panel at the top);
// 500 twips from the screen's top while the area is unknown. Whatever that gives, the menu is kept on
// the screen.
TwipsRect placeMenu(const TwipsRect& screen, const TwipsRect& clock, const TwipsRect& tray, int menuHeight);

}  // namespace tavrin
