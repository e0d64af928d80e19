#pragma once

#include <cstdint>

namespace AUILib {

// A colour in Qt's QRgb layout, 0xAARRGGBB.
using RGBColor = std::uint32_t;

} // namespace AUILib
