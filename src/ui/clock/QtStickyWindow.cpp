#include "ui/clock/QtStickyWindow.h"

#include <QGuiApplication>
#include <QWidget>

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace tavrin {

namespace {

// The X connection's functions come from the libxcb that the toolkit's own X11 plugin has already
// loaded, so the program needs no link-time dependency on it and runs unchanged on other displays.
struct Xcb {
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_change_property) changeProperty = nullptr;
    decltype(&xcb_send_event) sendEvent = nullptr;
    decltype(&xcb_flush) flush = nullptr;
    decltype(&xcb_get_setup) getSetup = nullptr;
    decltype(&xcb_setup_roots_iterator) rootsIterator = nullptr;

    bool load() {
        // The library the X11 plugin already uses; RTLD_NOLOAD never loads a second copy.
        void* lib = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
        void* scope = lib ? lib : RTLD_DEFAULT;
        const auto find = [scope](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(scope, name));
            return fn != nullptr;
        };
        return find(internAtom, "xcb_intern_atom") && find(internAtomReply, "xcb_intern_atom_reply") &&
               find(changeProperty, "xcb_change_property") && find(sendEvent, "xcb_send_event") &&
               find(flush, "xcb_flush") && find(getSetup, "xcb_get_setup") &&
               find(rootsIterator, "xcb_setup_roots_iterator");
    }

    xcb_atom_t atom(xcb_connection_t* c, const char* name) const {
        xcb_intern_atom_reply_t* reply = internAtomReply(
            c, internAtom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        if (!reply) return XCB_ATOM_NONE;
        const xcb_atom_t a = reply->atom;
        std::free(reply);
        return a;
    }
};

xcb_connection_t* connectionOf(Xcb& xcb) {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !xcb.load()) return nullptr;
    return x11->connection();
}

}  // namespace

void makeStickyDockBeforeMap(QWidget& window) {
    Xcb xcb;
    xcb_connection_t* c = connectionOf(xcb);
    if (!c) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const std::uint32_t allDesktops = 0xFFFFFFFFu;
    xcb.changeProperty(c, XCB_PROP_MODE_REPLACE, id, xcb.atom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1,
                       &allDesktops);
    const xcb_atom_t sticky = xcb.atom(c, "_NET_WM_STATE_STICKY");
    xcb.changeProperty(c, XCB_PROP_MODE_APPEND, id, xcb.atom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1,
                       &sticky);
    const xcb_atom_t dock = xcb.atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb.changeProperty(c, XCB_PROP_MODE_REPLACE, id, xcb.atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1,
                       &dock);
    xcb.flush(c);
}

void makeStickyAfterMap(QWidget& window) {
    Xcb xcb;
    xcb_connection_t* c = connectionOf(xcb);
    if (!c) return;
    xcb_screen_t* screen = xcb.rootsIterator(xcb.getSetup(c)).data;
    if (!screen) return;
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = xcb.atom(c, "_NET_WM_STATE");
    event.data.data32[0] = 1;  // add
    event.data.data32[1] = xcb.atom(c, "_NET_WM_STATE_STICKY");
    event.data.data32[3] = 1;  // from a normal application
    xcb.sendEvent(c, 0, screen->root,
                  XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                  reinterpret_cast<const char*>(&event));
    event.type = xcb.atom(c, "_NET_WM_DESKTOP");
    event.data.data32[0] = 0xFFFFFFFFu;
    event.data.data32[1] = 1;
    xcb.sendEvent(c, 0, screen->root,
                  XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                  reinterpret_cast<const char*>(&event));
    xcb.flush(c);
}

}  // namespace tavrin
