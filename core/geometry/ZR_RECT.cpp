#include "geometry/ZR_RECT.h"

#include "geometry/ZRRectEdges.h"

#include <climits>

void ZR_RECT::Normalize() { ZR_RectEdges::Normalize(left, top, right, bottom); }

void ZR_RECT::Intersect(const ZR_RECT& o)
{
    ZR_RectEdges::Intersect(left, top, right, bottom, o.left, o.top, o.right, o.bottom);
}

void ZR_RECT::Union(const ZR_RECT& o) { ZR_RectEdges::Union(left, top, right, bottom, o.left, o.top, o.right, o.bottom); }

bool ZR_RECT::Valid() const
{
    auto fits = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    return fits(int64_t(right) - left) && fits(int64_t(bottom) - top);
}
