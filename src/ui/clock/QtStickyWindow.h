#pragma once
// Asks an X11 window manager to show a window on every virtual desktop.
class QWidget;

namespace tavrin {

// Before the window is first mapped: sets _NET_WM_DESKTOP to all desktops and puts
// _NET_WM_STATE_STICKY into _NET_WM_STATE, which the toolkit keeps when it adds its own states.
// After it is mapped: asks the window manager for the sticky state with a client message.
// Does nothing on a display that is not X11.
void makeStickyBeforeMap(QWidget& window);
void makeStickyAfterMap(QWidget& window);

}  // namespace tavrin
