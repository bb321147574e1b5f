#pragma once
// A rectangle of the screen in pixels, as the window system reports monitors, panels and windows.
#include <algorithm>

namespace tavrin {

// Right and bottom are one past the last pixel.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool contains(const PixelRect& r) const {
        return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
    constexpr PixelRect intersected(const PixelRect& r) const {
        PixelRect out{std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                      std::min(bottom, r.bottom)};
        return out.empty() ? PixelRect{} : out;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace tavrin
