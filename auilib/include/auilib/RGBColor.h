#pragma once

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

// How a picture given to a control is meant to be kept; passed along, read by no control.
enum class BitmapType : std::int32_t {
    Default = 0,
};

} // namespace AUILib
