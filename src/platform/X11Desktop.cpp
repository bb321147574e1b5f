#include "platform/X11Desktop.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <xcb/xinerama.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tavrin {
namespace {

// A reply that frees itself.
template <typename T>
struct Reply {
    T* p = nullptr;
    explicit Reply(T* reply) : p(reply) {}
    ~Reply() { std::free(p); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

constexpr std::uint32_t kRootEvents =
    XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
// On each panel's own window: its struts changing, and its size inside a window manager's frame.
constexpr std::uint32_t kPanelEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

std::vector<std::uint32_t> windowsOf(xcb_get_property_reply_t* reply) {
    std::vector<std::uint32_t> out;
    if (reply == nullptr || reply->format != 32) return out;
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    out.assign(data, data + xcb_get_property_value_length(reply) / 4);
    return out;
}

bool anyNonZero(xcb_get_property_reply_t* reply, int count) {
    if (reply == nullptr || reply->format != 32) return false;
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    const int n = std::min(count, xcb_get_property_value_length(reply) / 4);
    return std::any_of(data, data + n, [](std::uint32_t v) { return v != 0; });
}

// Drops monitors that hold another one whole: a server that also lists the whole screen beside the
// monitors it was divided into.
std::vector<Monitor> withoutEnclosing(std::vector<Monitor> monitors) {
    if (monitors.size() < 2) return monitors;
    std::vector<Monitor> kept;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        bool encloses = false;
        for (std::size_t j = 0; j < monitors.size() && !encloses; ++j)
            encloses =
                i != j && monitors[i].rect.contains(monitors[j].rect) && monitors[i].rect != monitors[j].rect;
        if (!encloses) kept.push_back(monitors[i]);
    }
    return kept;
}

}  // namespace

Result<std::unique_ptr<X11Desktop>> X11Desktop::open(const std::string& displayName) {
    xcb_connection_t* c = xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), nullptr);
    // xcb_connect never returns null: a failed connection is an object in an error state.
    if (const int error = xcb_connection_has_error(c); error != 0) {
        xcb_disconnect(c);
        return Failure{"cannot watch the desktop: no X server answers at " +
                       (displayName.empty() ? std::string("$DISPLAY") : displayName) + " (xcb error " +
                       std::to_string(error) + ")"};
    }
    std::unique_ptr<X11Desktop> desktop(new X11Desktop(c));
    desktop->listen();
    return desktop;
}

X11Desktop::X11Desktop(xcb_connection_t* connection) : c_(connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    root_ = screen->root;
}

X11Desktop::~X11Desktop() {
    xcb_disconnect(c_);
}

std::uint32_t X11Desktop::atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

void X11Desktop::listen() {
    windowType_ = atom("_NET_WM_WINDOW_TYPE");
    dockType_ = atom("_NET_WM_WINDOW_TYPE_DOCK");
    strut_ = atom("_NET_WM_STRUT");
    strutPartial_ = atom("_NET_WM_STRUT_PARTIAL");
    clientList_ = atom("_NET_CLIENT_LIST");
    workArea_ = atom("_NET_WORKAREA");

    xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &kRootEvents);

    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(c_, &xcb_randr_id);
    if (randr != nullptr && randr->present) {
        Reply<xcb_randr_query_version_reply_t> version(
            xcb_randr_query_version_reply(c_, xcb_randr_query_version(c_, 1, 5), nullptr));
        if (version) {
            randrEvents_ = randr->first_event;
            randrMonitors_ = version->major_version > 1 || version->minor_version >= 5;
            xcb_randr_select_input(c_, root_,
                                   XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                       XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
        }
    }
    const xcb_query_extension_reply_t* xinerama = xcb_get_extension_data(c_, &xcb_xinerama_id);
    if (xinerama != nullptr && xinerama->present) {
        Reply<xcb_xinerama_is_active_reply_t> active(
            xcb_xinerama_is_active_reply(c_, xcb_xinerama_is_active(c_), nullptr));
        xinerama_ = active && active->state != 0;
    }
    xcb_flush(c_);
}

void X11Desktop::setOwnWindow(std::uint64_t window) {
    own_ = static_cast<std::uint32_t>(window);
}

int X11Desktop::eventDescriptor() const {
    return xcb_get_file_descriptor(c_);
}

bool X11Desktop::isPanelWindow(std::uint32_t window) const {
    return std::find(panelTops_.begin(), panelTops_.end(), window) != panelTops_.end() ||
           std::find(panelClients_.begin(), panelClients_.end(), window) != panelClients_.end();
}

void X11Desktop::note(const void* raw) {
    const auto& event = *static_cast<const xcb_generic_event_t*>(raw);
    const std::uint8_t type = event.response_type & 0x7F;
    switch (type) {
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY:
        case XCB_REPARENT_NOTIFY:
            news_.layout = true;
            news_.stacking = true;
            return;
        case XCB_CIRCULATE_NOTIFY:
            news_.stacking = true;
            return;
        case XCB_CONFIGURE_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
            // The screen itself resized, or a panel moved or grew; any other window may only have been
            // restacked over or under the clock.
            if (e.window == root_ || isPanelWindow(e.window)) news_.layout = true;
            if (e.event == root_) news_.stacking = true;
            return;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (e.window == root_ ? (e.atom == clientList_ || e.atom == workArea_)
                                  : (e.atom == strut_ || e.atom == strutPartial_ || e.atom == windowType_))
                news_.layout = true;
            return;
        }
        default:
            break;
    }
    if (randrEvents_ != 0 &&
        (type == randrEvents_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY || type == randrEvents_ + XCB_RANDR_NOTIFY))
        news_.layout = true;
}

void X11Desktop::noteQueuedEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(c_)) {
        note(event);
        std::free(event);
    }
}

DesktopNews X11Desktop::takeNews() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
        note(event);
        std::free(event);
    }
    const DesktopNews news = news_;
    news_ = {};
    return news;
}

bool X11Desktop::newsWaiting() const {
    return news_.any();
}

std::vector<Monitor> X11Desktop::monitors() {
    std::vector<Monitor> found;
    if (randrMonitors_) {
        Reply<xcb_randr_get_monitors_reply_t> reply(
            xcb_randr_get_monitors_reply(c_, xcb_randr_get_monitors(c_, root_, 1), nullptr));
        if (reply) {
            for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.p); it.rem > 0;
                 xcb_randr_monitor_info_next(&it)) {
                const xcb_randr_monitor_info_t* m = it.data;
                found.push_back(
                    Monitor{PixelRect{m->x, m->y, m->x + m->width, m->y + m->height}, m->primary != 0});
            }
        }
        found = withoutEnclosing(std::move(found));
    }
    // A server that shows its heads only through Xinerama (a nested server, say) lists one monitor
    // through RandR for all of them.
    if (found.size() < 2 && xinerama_) {
        Reply<xcb_xinerama_query_screens_reply_t> reply(
            xcb_xinerama_query_screens_reply(c_, xcb_xinerama_query_screens(c_), nullptr));
        if (reply && xcb_xinerama_query_screens_screen_info_length(reply.p) > 1) {
            found.clear();
            const xcb_xinerama_screen_info_t* heads = xcb_xinerama_query_screens_screen_info(reply.p);
            for (int i = 0; i < xcb_xinerama_query_screens_screen_info_length(reply.p); ++i)
                found.push_back(
                    Monitor{PixelRect{heads[i].x_org, heads[i].y_org, heads[i].x_org + heads[i].width,
                                      heads[i].y_org + heads[i].height},
                            i == 0});
        }
    }
    if (found.empty()) {
        Reply<xcb_get_geometry_reply_t> root(
            xcb_get_geometry_reply(c_, xcb_get_geometry(c_, root_), nullptr));
        if (root) found.push_back(Monitor{PixelRect{0, 0, root->width, root->height}, true});
    }
    return found;
}

std::uint32_t X11Desktop::topLevelOf(std::uint32_t window) {
    // Up the tree until the parent is the root: a window manager's frame, or the window itself.
    for (int depth = 0; depth < 16 && window != XCB_WINDOW_NONE; ++depth) {
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr));
        if (!tree) return XCB_WINDOW_NONE;
        if (tree->parent == root_ || tree->parent == XCB_WINDOW_NONE) return window;
        window = tree->parent;
    }
    return XCB_WINDOW_NONE;
}

DesktopLayout X11Desktop::layout() {
    DesktopLayout desktop;
    desktop.monitors = monitors();

    // The window manager's clients, and the screen's top-level windows for panels that no window
    // manager looks after.
    std::vector<std::uint32_t> candidates;
    {
        Reply<xcb_get_property_reply_t> clients(xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, root_, clientList_, XCB_ATOM_WINDOW, 0, 4096), nullptr));
        candidates = windowsOf(clients.p);
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr));
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree.p);
            candidates.insert(candidates.end(), children, children + xcb_query_tree_children_length(tree.p));
        }
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        candidates.erase(std::remove(candidates.begin(), candidates.end(), own_), candidates.end());
    }
    // Every type asked at once, then every answer read.
    std::vector<xcb_get_property_cookie_t> types;
    types.reserve(candidates.size());
    for (std::uint32_t w : candidates)
        types.push_back(xcb_get_property(c_, 0, w, windowType_, XCB_ATOM_ATOM, 0, 32));
    std::vector<std::uint32_t> docks;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        Reply<xcb_get_property_reply_t> type(xcb_get_property_reply(c_, types[i], nullptr));
        const std::vector<std::uint32_t> atoms = windowsOf(type.p);
        if (std::find(atoms.begin(), atoms.end(), dockType_) != atoms.end()) docks.push_back(candidates[i]);
    }

    const std::uint32_t ownTop = own_ != 0 ? topLevelOf(own_) : std::uint32_t{XCB_WINDOW_NONE};
    panelClients_.clear();
    panelTops_.clear();
    for (std::uint32_t w : docks) {
        const std::uint32_t top = topLevelOf(w);
        if (top == XCB_WINDOW_NONE || top == ownTop) continue;
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, top), nullptr));
        Reply<xcb_get_window_attributes_reply_t> own(
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr));
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr));
        Reply<xcb_translate_coordinates_reply_t> at(
            xcb_translate_coordinates_reply(c_, xcb_translate_coordinates(c_, w, root_, 0, 0), nullptr));
        Reply<xcb_get_property_reply_t> partial(xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, strutPartial_, XCB_ATOM_CARDINAL, 0, 12), nullptr));
        Reply<xcb_get_property_reply_t> strut(
            xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, strut_, XCB_ATOM_CARDINAL, 0, 4), nullptr));
        // Heard from whether shown or not, so that one shown later is seen.
        xcb_change_window_attributes(c_, w, XCB_CW_EVENT_MASK, &kPanelEvents);
        panelClients_.push_back(w);
        const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && own &&
                           own->map_state == XCB_MAP_STATE_VIEWABLE;
        if (!shown || !geometry || !at) continue;
        panelTops_.push_back(top);
        desktop.docks.push_back(DockWindow{
            PixelRect{at->dst_x, at->dst_y, at->dst_x + geometry->width, at->dst_y + geometry->height},
            anyNonZero(partial.p, 4) || anyNonZero(strut.p, 4)});
    }
    xcb_flush(c_);
    noteQueuedEvents();
    return desktop;
}

bool X11Desktop::panelAboveOwnWindow() {
    if (own_ == 0 || panelTops_.empty()) return false;
    const std::uint32_t ownTop = topLevelOf(own_);
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr));
    noteQueuedEvents();
    if (!tree || ownTop == XCB_WINDOW_NONE) return false;
    // The root's children come bottom first.
    const xcb_window_t* children = xcb_query_tree_children(tree.p);
    const int count = xcb_query_tree_children_length(tree.p);
    int ownIndex = -1;
    int highestPanel = -1;
    for (int i = 0; i < count; ++i) {
        if (children[i] == ownTop) ownIndex = i;
        if (std::find(panelTops_.begin(), panelTops_.end(), children[i]) != panelTops_.end())
            highestPanel = i;
    }
    return ownIndex >= 0 && highestPanel > ownIndex;
}

void X11Desktop::raiseOwnWindow() {
    if (own_ == 0) return;
    // A window manager receives this as a request for its frame and honours it; without one, the
    // server restacks the window itself.
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c_, own_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(c_);
}

}  // namespace tavrin
