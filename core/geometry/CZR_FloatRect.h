#pragma once

#include "geometry/ZRGeometryTemplates.h"
#include "geometry/ZR_RECT.h"

class CZR_Matrix;

// A float rectangle, y growing upwards: normalised when left <= right and bottom <= top.
class CZR_FloatRect
{
public:
    CZR_FloatRect() : left(0), right(0), bottom(0), top(0) {}
    CZR_FloatRect(float l, float r, float b, float t) : left(l), right(r), bottom(b), top(t) {}
    // The integer top goes to the float bottom and the integer bottom to the float top.
    explicit CZR_FloatRect(const ZR_RECT& rect);

    void Normalize();
    // Normalises itself first; no overlap leaves all four edges 0, while rectangles that only
    // touch leave an empty one on the shared edge.
    void Intersect(const CZR_FloatRect& o);
    void Union(const CZR_FloatRect& o);
    void Transform(const CZR_Matrix* matrix);
    // Pieces (up to four, written to out) that together with s cover this rectangle; both are
    // normalised in place. A piece that misses this rectangle is all zero but still counted.
    int Substract4(CZR_FloatRect& s, CZR_FloatRect* out);
    // Integer rectangles (y growing downwards) covering, inside, and closest to this one; edges
    // outside the int range are held at its limits.
    ZR_RECT GetOutterRect() const;
    ZR_RECT GetInnerRect() const;
    ZR_RECT GetClosestRect() const;
    // Edges included; both rectangles taken normalised.
    bool Contains(const CZR_FloatRect& o) const;
    bool Contains(float x, float y) const;
    void UpdateRect(float x, float y);
    // The smallest rectangle holding the n points (all zero for none).
    CZR_FloatRect GetBBox(const CZR_PSVTemplate<float>* points, int n);

    float left;
    float right;
    float bottom;
    float top;
};

// The overlap of [low1, high1] and [low2, high2]; false for intervals that are apart or only touch.
bool GetIntersection(float low1, float high1, float low2, float high2, float& outLow, float& outHigh);

// Whether two proper rectangles sit next to each other: side by side (direction 0) or one above
// the other (direction 1), aligned within alignTolerance and apart by at most distanceTolerance;
// a rectangle inside the other always counts.
bool ZR_IsRectAdjacent(const CZR_FloatRect& r1, const CZR_FloatRect& r2, float alignTolerance,
                       float distanceTolerance, int direction);
