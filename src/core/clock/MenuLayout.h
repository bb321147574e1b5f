#pragma once
// Where the pop-up menu's parts go, in twips: the lines one under another, the separator and the row
// of six picture buttons under them. Where the menu itself goes is the panel's business (PanelSpot).
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
    int headerTop = -1;         // the line that says how far the lines' time is from now; -1 for none
    std::vector<int> lineTops;  // line 1 first
    int separatorTop = 0;       // the separator line and the shape under it
    std::array<TwipsRect, kMenuButtonCount> buttons{};
    int height = 0;
};

// The menu's gap to the panel (or to the clock where there is no panel).
inline constexpr int kMenuGapTwips = 90;

// The inside of a menu `width` twips wide for `lineCount` lines: lines every 220 twips from the top,
// the buttons 40 below the last step in six equal cells across the menu, the separator 10 above them,
// and 75 under the buttons. With `header`, a line above the others says how far their time is from now.
MenuLayout layoutMenu(int lineCount, int width = kMenuWidthTwips, bool header = false);

// The menu's width for lines whose widest is `widestLine` twips: the usual width, or wider so that
// every line shows whole after its left margin with as much room at its end, but no wider than `room`.
int menuWidthFor(int widestLine, int room);

}  // namespace tavrin
