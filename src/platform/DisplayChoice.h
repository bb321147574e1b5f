#pragma once
// Which display server the program talks to. The clock places its own window on the panel, which a
// Wayland compositor does not allow ordinary windows to do; under Wayland it therefore runs through
// XWayland when an X display is reachable, and otherwise says why it cannot run.
#include <functional>
#include <string>

namespace tavrin {

struct DisplayChoice {
    std::string platform;  // the Qt platform to ask for; empty: the toolkit's own choice
    std::string refusal;   // when not empty, the program cannot run: tell the user this and stop
};

// `qtPlatform`, `waylandDisplay` and `display` are the values of QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY (nullptr when unset); `reachable` tells whether an X display of that name answers.
DisplayChoice chooseDisplay(const char* qtPlatform, const char* waylandDisplay, const char* display,
                            const std::function<bool(const std::string&)>& reachable);

// Whether the X display `name` accepts a connection now.
bool xDisplayReachable(const std::string& name);

}  // namespace tavrin
