#include "platform/DisplayChoice.h"

#include <xcb/xcb.h>

namespace tavrin {
namespace {

bool set(const char* value) {
    return value != nullptr && *value != '\0';
}

}  // namespace

Result<std::string> chooseDisplay(const char* qtPlatform, const char* waylandDisplay, const char* display,
                                  const std::function<bool(const std::string&)>& reachable) {
    // A platform named on purpose (a test's offscreen one, say) is the user's to choose.
    if (set(qtPlatform)) return std::string();
    const bool x = set(display) && reachable && reachable(display);
    if (set(waylandDisplay)) {
        if (x) return std::string("xcb");
        return Failure{
            "Tavrin places its clock on the panel itself, which Wayland does not allow; it needs "
            "XWayland, and no X display is reachable in this session" +
            std::string(set(display) ? " (DISPLAY=" + std::string(display) + " does not answer)" : "") +
            ". Enable XWayland or log in to an X session, then start Tavrin again."};
    }
    if (x) return std::string();
    if (set(display))
        return Failure{"Tavrin cannot reach the display " + std::string(display) +
                       ": is the X server running?"};
    return Failure{"Tavrin needs a graphical desktop: neither DISPLAY nor WAYLAND_DISPLAY is set."};
}

XDisplayProbe::~XDisplayProbe() {
    release();
}

bool XDisplayProbe::reachable(const std::string& name) {
    release();
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    // xcb_connect never returns null: a failed connection is an object in an error state.
    if (connection == nullptr) return false;
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    connection_ = connection;
    return true;
}

void XDisplayProbe::release() {
    if (connection_ != nullptr) xcb_disconnect(static_cast<xcb_connection_t*>(connection_));
    connection_ = nullptr;
}

}  // namespace tavrin
