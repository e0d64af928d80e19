#pragma once

#include <cstdint>

// An integer rectangle, y growing downwards: normalised when left <= right and top <= bottom.
struct ZR_RECT
{
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    void Normalize();
    // Normalises itself first; no overlap leaves all four edges 0, while rectangles that only
    // touch leave an empty one on the shared edge.
    void Intersect(const ZR_RECT& o);
    void Union(const ZR_RECT& o);
    // Whether the width and height can be computed without overflow.
    bool Valid() const;
};
