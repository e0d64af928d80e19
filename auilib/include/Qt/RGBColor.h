#pragma once

#include "BitmapType.h"

#include <cstdint>

namespace AUILib {

// A colour in QRgb's layout, 0xAARRGGBB. Its own type, so that an operation can take both a plain
// number and a colour.
struct RGBColor
{
    constexpr RGBColor(std::uint32_t value = 0)
        : value(value)
    {
    }
    constexpr operator std::uint32_t() const { return value; }

    std::uint32_t value;
};

} // namespace AUILib
