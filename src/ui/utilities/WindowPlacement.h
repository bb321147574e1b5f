#pragma once
// Where a window shows: in the middle of the primary screen's free area, and in front of the others.
#include <QWidget>

namespace tavrin {

// Centres `window` on the primary screen's free area at the window's present size.
void centreOnScreen(QWidget& window);
// Shows `window` and brings it to the front as it is, already open or not.
void bringUp(QWidget& window);

}  // namespace tavrin
