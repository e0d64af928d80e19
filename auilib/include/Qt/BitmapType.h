#pragma once

#include <cstdint>

namespace AUILib {

// How a picture given to an item is meant to be drawn; carried along, read by no operation.
enum class BitmapType : std::int32_t {
    Default = 0,
    Normal = 0,
    Transparent = 1,
};

} // namespace AUILib
