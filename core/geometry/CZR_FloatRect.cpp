#include "geometry/CZR_FloatRect.h"

#include "geometry/CZR_Matrix.h"
#include "geometry/ZRRectEdges.h"
#include "geometry/ZRSaturate.h"

#include <algorithm>
#include <cmath>

CZR_FloatRect::CZR_FloatRect(const ZR_RECT& rect)
    : left(float(rect.left)), right(float(rect.right)), bottom(float(rect.top)), top(float(rect.bottom))
{
}

void CZR_FloatRect::Normalize() { ZR_RectEdges::Normalize(left, bottom, right, top); }

void CZR_FloatRect::Intersect(const CZR_FloatRect& o)
{
    ZR_RectEdges::Intersect(left, bottom, right, top, o.left, o.bottom, o.right, o.top);
}

void CZR_FloatRect::Union(const CZR_FloatRect& o)
{
    ZR_RectEdges::Union(left, bottom, right, top, o.left, o.bottom, o.right, o.top);
}

void CZR_FloatRect::Transform(const CZR_Matrix* matrix)
{
    if (matrix)
        matrix->TransformRect(left, right, top, bottom);
}

int CZR_FloatRect::Substract4(CZR_FloatRect& s, CZR_FloatRect* out)
{
    Normalize();
    s.Normalize();
    const CZR_FloatRect& r = *this;
    int count = 0;
    if (s.left > r.left)
        out[count++] = CZR_FloatRect(r.left, s.left, r.bottom, r.top);
    if (r.right > s.left && r.top > s.top)
        out[count++] = CZR_FloatRect(s.left, r.right, s.top, r.top);
    if (s.top > r.bottom && r.right > s.right)
        out[count++] = CZR_FloatRect(s.right, r.right, r.bottom, s.top);
    if (s.bottom > r.bottom)
        out[count++] = CZR_FloatRect(s.left, s.right, r.bottom, s.bottom);
    for (int i = 0; i < count; ++i)
        out[i].Intersect(r);
    return count;
}

namespace {

ZR_RECT orderedRect(int x1, int x2, int y1, int y2)
{
    return ZR_RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

// The integer interval closest to [low, high] in place and size: its length is high - low rounded
// up, its start whichever of floor(low) and ceil(low) fits better (floor on a tie).
void closestInterval(float low, float high, int& outLow, int& outHigh)
{
    float size = std::ceil(high - low);
    float floorStart = std::floor(low);
    float ceilStart = std::ceil(low);
    auto error = [&](float start) { return std::fabs((high - start) - size) + std::fabs(low - start); };
    float start = error(ceilStart) < error(floorStart) ? ceilStart : floorStart;
    int first = ZR_SaturateToInt(double(start));
    int second = ZR_SaturateToInt(int64_t(first) + ZR_SaturateToInt(double(size)));
    outLow = std::min(first, second);
    outHigh = std::max(first, second);
}

}

ZR_RECT CZR_FloatRect::GetOutterRect() const
{
    return orderedRect(ZR_SaturateToInt(std::floor(double(left))), ZR_SaturateToInt(std::ceil(double(right))),
                       ZR_SaturateToInt(std::floor(double(bottom))), ZR_SaturateToInt(std::ceil(double(top))));
}

ZR_RECT CZR_FloatRect::GetInnerRect() const
{
    return orderedRect(ZR_SaturateToInt(std::ceil(double(left))), ZR_SaturateToInt(std::floor(double(right))),
                       ZR_SaturateToInt(std::ceil(double(bottom))), ZR_SaturateToInt(std::floor(double(top))));
}

ZR_RECT CZR_FloatRect::GetClosestRect() const
{
    ZR_RECT result;
    closestInterval(left, right, result.left, result.right);
    closestInterval(bottom, top, result.top, result.bottom);
    return result;
}

bool CZR_FloatRect::Contains(const CZR_FloatRect& o) const
{
    CZR_FloatRect outer = *this;
    CZR_FloatRect inner = o;
    outer.Normalize();
    inner.Normalize();
    return inner.left >= outer.left && inner.right <= outer.right && inner.bottom >= outer.bottom &&
           inner.top <= outer.top;
}

bool CZR_FloatRect::Contains(float x, float y) const
{
    CZR_FloatRect outer = *this;
    outer.Normalize();
    return x >= outer.left && x <= outer.right && y >= outer.bottom && y <= outer.top;
}

void CZR_FloatRect::UpdateRect(float x, float y)
{
    left = std::min(left, x);
    right = std::max(right, x);
    bottom = std::min(bottom, y);
    top = std::max(top, y);
}

CZR_FloatRect CZR_FloatRect::GetBBox(const CZR_PSVTemplate<float>* points, int n)
{
    *this = CZR_FloatRect();
    if (!points || n < 1)
        return *this;
    *this = CZR_FloatRect(points[0].x, points[0].x, points[0].y, points[0].y);
    for (int i = 1; i < n; ++i)
        UpdateRect(points[i].x, points[i].y);
    return *this;
}

bool GetIntersection(float low1, float high1, float low2, float high2, float& outLow, float& outHigh)
{
    if (low2 >= high1 || low1 >= high2)
        return false;
    outLow = std::max(low1, low2);
    outHigh = std::min(high1, high2);
    return true;
}

namespace {

bool isProper(const CZR_FloatRect& r) { return r.left < r.right && r.bottom < r.top; }

// How far apart two intervals are along one axis: 0 when they overlap or touch.
float gap(float low1, float high1, float low2, float high2)
{
    return low1 >= low2 ? std::max(0.0f, low1 - high2) : std::max(0.0f, low2 - high1);
}

}

bool ZR_IsRectAdjacent(const CZR_FloatRect& r1, const CZR_FloatRect& r2, float alignTolerance,
                       float distanceTolerance, int direction)
{
    if (!isProper(r1) || !isProper(r2) || !(alignTolerance >= 0) || !(distanceTolerance >= 0) ||
        (direction != 0 && direction != 1))
        return false;
    if (r1.Contains(r2) || r2.Contains(r1))
        return true;
    bool sideBySide = direction == 0;
    float center1 = sideBySide ? (r1.bottom + r1.top) / 2 : (r1.left + r1.right) / 2;
    float center2 = sideBySide ? (r2.bottom + r2.top) / 2 : (r2.left + r2.right) / 2;
    float extent1 = sideBySide ? r1.top - r1.bottom : r1.right - r1.left;
    float extent2 = sideBySide ? r2.top - r2.bottom : r2.right - r2.left;
    if (std::fabs(center1 - center2) > alignTolerance || std::fabs(extent1 - extent2) > 2 * alignTolerance)
        return false;
    float apart = sideBySide ? gap(r1.left, r1.right, r2.left, r2.right) : gap(r1.bottom, r1.top, r2.bottom, r2.top);
    return apart <= distanceTolerance;
}
