#pragma once
// Which display server the program talks to. The clock places its own window on the panel, which a
// Wayland compositor does not allow ordinary windows to do; under Wayland it therefore runs through
// XWayland when an X display is reachable, and otherwise says why it cannot run.
#include <functional>
#include <string>

#include "core/base/Result.h"

namespace tavrin {

// The Qt platform to ask for (empty: the toolkit's own choice), or why the program cannot run: tell
// the user and stop. `qtPlatform`, `waylandDisplay` and `display` are the values of QT_QPA_PLATFORM,
// WAYLAND_DISPLAY and DISPLAY (nullptr when unset); `reachable` tells whether an X display of that name
// answers.
Result<std::string> chooseDisplay(const char* qtPlatform, const char* waylandDisplay, const char* display,
                                  const std::function<bool(const std::string&)>& reachable);

// Asks whether an X display accepts a connection, and keeps the connection it made until it is
// destroyed or released. An X server with no other client resets when its last client leaves (a bare
// Xvfb does); closing the probe's connection before the toolkit opens its own could meet the server
// in the middle of that reset.
class XDisplayProbe {
  public:
    XDisplayProbe() = default;
    ~XDisplayProbe();
    XDisplayProbe(const XDisplayProbe&) = delete;
    XDisplayProbe& operator=(const XDisplayProbe&) = delete;

    // Whether the X display `name` accepts a connection now; a connection that answers is kept.
    bool reachable(const std::string& name);
    void release();

  private:
    void* connection_ = nullptr;  // xcb_connection_t, not named here so that callers need no X headers
};

}  // namespace tavrin
