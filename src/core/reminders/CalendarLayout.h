#pragma once
// Where the calendar's 35 day cells sit. Each cell is one column step (1.28 cell widths) right of
// the one before; each row starts under the row before, one cell height lower, and rows 1 to 4 are
// pushed down by a further 10, 21, 32 and 43 pixels, leaving room for the reminder markers.
namespace tavrin {

struct CellPlace {
    int left = 0;
    int top = 0;
    friend bool operator==(const CellPlace&, const CellPlace&) = default;
};

// The place of cell `k` (0 to 34) when cell 0 is at `first` and cells are `width` by `height`.
CellPlace calendarCellPlace(int k, CellPlace first, int width, int height);

}  // namespace tavrin
