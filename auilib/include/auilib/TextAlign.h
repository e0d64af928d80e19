#pragma once

#include <cstdint>

namespace AUILib {

// Horizontal text alignment of a control; any value above Center reads as Right.
enum class TextAlign : std::int32_t {
    Left = 0,
    Center = 1,
    Right = 2,
};

} // namespace AUILib
