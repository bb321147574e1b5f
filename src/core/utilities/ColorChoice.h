#pragma once
// What the colour dialog returns.
#include <cstdint>

namespace tavrin {

struct ColorChoice {
    std::uint32_t colour = 0;  // blue * 65536 + green * 256 + red; 0 when cancelled
    bool cancelled = true;
};

}  // namespace tavrin
