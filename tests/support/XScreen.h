#pragma once
// A test's own look at an X server: whether a window manager runs, where a window really is (the X
// server's account, not the toolkit's), and what the screen shows in a rectangle.
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/XSession.h"

namespace tavrin::test {

class XScreen {
  public:
    explicit XScreen(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {}
    ~XScreen() { xcb_disconnect(c_); }
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    bool connected() const { return xcb_connection_has_error(c_) == 0; }

    // Whether a window manager runs on the display (it names its check window on the root).
    bool windowManagerRuns() {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, root(), atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        const bool runs = reply != nullptr && xcb_get_property_value_length(reply) == 4;
        std::free(reply);
        return runs;
    }

    // Where the shown window named `title` is on the screen now, searching `depth` levels below the
    // root (a window manager's frame puts a window one level down); empty when it is not shown.
    Rect windowOnScreen(const std::string& title, int depth = 3) { return find(root(), title, depth); }

    // The screen's pixels in `r`, as 0xRRGGBB, row by row.
    std::vector<std::uint32_t> pixels(const Rect& r) {
        std::vector<std::uint32_t> out;
        if (r.w <= 0 || r.h <= 0) return out;
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            c_,
            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), static_cast<std::int16_t>(r.x),
                          static_cast<std::int16_t>(r.y), static_cast<std::uint16_t>(r.w),
                          static_cast<std::uint16_t>(r.h), ~0u),
            nullptr);
        if (image == nullptr) return out;
        // A 24-bit screen sends 32 bits a pixel.
        const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
        const int count = xcb_get_image_data_length(image) / 4;
        out.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) out.push_back(data[i] & 0xFFFFFFu);
        std::free(image);
        return out;
    }

  private:
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root; }

    Rect find(xcb_window_t window, const std::string& title, int depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, window), nullptr);
        if (tree == nullptr) return {};
        Rect found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = xcb_query_tree_children_length(tree) - 1; i >= 0 && found.w == 0; --i) {
            const xcb_window_t child = children[i];
            xcb_get_property_reply_t* name = xcb_get_property_reply(
                c_, xcb_get_property(c_, 0, child, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 64), nullptr);
            const bool named =
                name != nullptr &&
                std::string(static_cast<const char*>(xcb_get_property_value(name)),
                            static_cast<std::size_t>(xcb_get_property_value_length(name))) == title;
            std::free(name);
            xcb_get_window_attributes_reply_t* attributes =
                xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, child), nullptr);
            const bool viewable = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            xcb_get_geometry_reply_t* geometry =
                xcb_get_geometry_reply(c_, xcb_get_geometry(c_, child), nullptr);
            xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
                c_, xcb_translate_coordinates(c_, child, root(), 0, 0), nullptr);
            if (named && viewable && geometry != nullptr && at != nullptr && geometry->width > 1)
                found = {at->dst_x, at->dst_y, geometry->width, geometry->height};
            std::free(geometry);
            std::free(at);
            if (found.w == 0 && depth > 1) found = find(child, title, depth - 1);
        }
        std::free(tree);
        return found;
    }

    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return a;
    }

    xcb_connection_t* c_;
};

}  // namespace tavrin::test
