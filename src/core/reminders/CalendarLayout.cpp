#include "core/reminders/CalendarLayout.h"

#include <cmath>

namespace tavrin {

CellPlace calendarCellPlace(int k, CellPlace first, int width, int height) {
    static constexpr int kRowPush[] = {0, 10, 21, 32, 43};
    const int row = k / 7;
    const int column = k % 7;
    const int step = static_cast<int>(std::lround(1.28 * width));
    return CellPlace{first.left + column * step, first.top + row * height + kRowPush[row % 5]};
}

}  // namespace tavrin
