#pragma once
// The window system's side of the desktop: what its monitors and panels are now, news of changes
// to wait on, and the one thing the clock asks of it, to be stacked above the panels.
#include <cstdint>

#include "core/desktop/DesktopLayout.h"

namespace tavrin {

struct DesktopNews {
    bool layout = false;    // monitors or panels may have come, gone, moved or grown
    bool stacking = false;  // some window was mapped or restacked
    bool any() const { return layout || stacking; }
};

class DesktopWatch {
  public:
    virtual ~DesktopWatch() = default;
    // Which window is the clock's own: never counted as a panel.
    virtual void setOwnWindow(std::uint64_t window) = 0;
    // A descriptor that becomes readable when news arrives.
    virtual int eventDescriptor() const = 0;
    // The news that arrived since the last call, read without waiting.
    virtual DesktopNews takeNews() = 0;
    // Whether news is already read and waiting, so that the descriptor will not signal it again.
    virtual bool newsWaiting() const = 0;
    virtual DesktopLayout layout() = 0;
    // Whether a panel is stacked above the clock's window, and the request to put the clock above it.
    virtual bool panelAboveOwnWindow() = 0;
    virtual void raiseOwnWindow() = 0;
};

}  // namespace tavrin
