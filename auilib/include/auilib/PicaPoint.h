#pragma once

#include <cstdint>

namespace AUILib {

// A typographic length: whole picas and points, 12 points to a pica.
struct PicaPoint
{
    std::int64_t picas = 0;
    double points = 0.0;
};

} // namespace AUILib
