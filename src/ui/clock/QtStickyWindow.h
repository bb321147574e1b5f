#pragma once
// Asks an X11 window manager to show a window on every virtual desktop, as a part of the panel.
class QWidget;

namespace tavrin {

// Before the window is first mapped: sets _NET_WM_DESKTOP to all desktops and puts
// _NET_WM_STATE_STICKY into _NET_WM_STATE, which the toolkit keeps when it adds its own states; and
// makes it a dock window (_NET_WM_WINDOW_TYPE_DOCK), as panels and their applets are, so that the
// window manager leaves it where it placed itself on the panel's strip instead of pushing it into
// the work area beside the panel.
// After it is mapped: asks the window manager for the sticky state with a client message.
// Does nothing on a display that is not X11.
void makeStickyDockBeforeMap(QWidget& window);
void makeStickyAfterMap(QWidget& window);

}  // namespace tavrin
