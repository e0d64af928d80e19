#include "geometry/CZR_Matrix.h"

#include "system/ZRSYS_Runtime.h"

#include <algorithm>
#include <cmath>

namespace {

// first then second, in the row-vector sense.
CZR_Matrix product(const CZR_Matrix& first, const CZR_Matrix& second)
{
    const CZR_Matrix& m = first;
    const CZR_Matrix& n = second;
    return CZR_Matrix(m.a * n.a + m.b * n.c, m.a * n.b + m.b * n.d, m.c * n.a + m.d * n.c, m.c * n.b + m.d * n.d,
                      m.e * n.a + m.f * n.c + n.e, m.e * n.b + m.f * n.d + n.f);
}

float length(float x, float y) { return std::sqrt(x * x + y * y); }

struct Bounds
{
    float minX, maxX, minY, maxY;
};

// The extremes of the four mapped corners of [x1, x2] x [y1, y2].
Bounds mappedCorners(const CZR_Matrix& m, float x1, float x2, float y1, float y2)
{
    float xs[4] = {x1, x1, x2, x2};
    float ys[4] = {y1, y2, y1, y2};
    for (int i = 0; i < 4; ++i)
        m.TransformPoint(xs[i], ys[i]);
    return Bounds{*std::min_element(xs, xs + 4), *std::max_element(xs, xs + 4), *std::min_element(ys, ys + 4),
                  *std::max_element(ys, ys + 4)};
}

template <class T> void mapPoints(const CZR_Matrix& m, CZR_PSVTemplate<T>* points, int n)
{
    for (int i = 0; points && i < n; ++i)
        m.TransformPoint(points[i].x, points[i].y);
}

// The origin maps as a point, the sides as vectors.
template <class T> void mapParallelogram(const CZR_Matrix& m, CZR_PRLTemplate<T>& p)
{
    CZR_VTemplate<T> first{p.x1, p.y1};
    CZR_VTemplate<T> second{p.x2, p.y2};
    m.TransformPoint(p.x, p.y);
    m.TransformVector(first);
    m.TransformVector(second);
    p = CZR_PRLTemplate<T>{p.x, p.y, first.x, first.y, second.x, second.y};
}

}

void CZR_Matrix::Set(float a1, float b1, float c1, float d1, float e1, float f1)
{
    *this = CZR_Matrix(a1, b1, c1, d1, e1, f1);
}

void CZR_Matrix::Set(const float* six) { Set(six[0], six[1], six[2], six[3], six[4], six[5]); }

void CZR_Matrix::SetReverse(const CZR_Matrix& m)
{
    float det = m.a * m.d - m.b * m.c;
    if (det == 0)
        return;
    *this = CZR_Matrix(m.d / det, -m.b / det, -m.c / det, m.a / det, (m.c * m.f - m.d * m.e) / det,
                       -(m.a * m.f - m.b * m.e) / det);
}

void CZR_Matrix::Concat(float a1, float b1, float c1, float d1, float e1, float f1, bool prepended)
{
    Concat(CZR_Matrix(a1, b1, c1, d1, e1, f1), prepended);
}

void CZR_Matrix::Concat(const CZR_Matrix& m, bool prepended)
{
    *this = prepended ? product(m, *this) : product(*this, m);
}

void CZR_Matrix::ConcatInverse(const CZR_Matrix& m, bool prepended)
{
    CZR_Matrix inverse;
    inverse.SetReverse(m);
    Concat(inverse, prepended);
}

bool CZR_Matrix::IsInvertible() const { return std::fabs(a * d - b * c) >= 0.0001f; }

bool CZR_Matrix::Is90Rotated() const
{
    return std::fabs(b) > std::fabs(1000 * a) && std::fabs(c) > std::fabs(1000 * d);
}

bool CZR_Matrix::IsScaled() const
{
    return std::fabs(a) > std::fabs(1000 * b) && std::fabs(d) > std::fabs(1000 * c);
}

void CZR_Matrix::Translate(float x, float y, bool prepended)
{
    if (prepended) {
        e += a * x + c * y;
        f += b * x + d * y;
    } else {
        e += x;
        f += y;
    }
}

void CZR_Matrix::Scale(float sx, float sy, bool prepended)
{
    if (prepended) {
        a *= sx;
        b *= sx;
        c *= sy;
        d *= sy;
    } else {
        a *= sx;
        c *= sx;
        e *= sx;
        b *= sy;
        d *= sy;
        f *= sy;
    }
}

void CZR_Matrix::Rotate(float angle, bool prepended)
{
    float cosine = std::cos(angle);
    float sine = std::sin(angle);
    Concat(cosine, sine, -sine, cosine, 0, 0, prepended);
}

void CZR_Matrix::RotateAt(float angle, float x, float y, bool prepended)
{
    Translate(x, y, prepended);
    Rotate(angle, prepended);
    Translate(-x, -y, prepended);
}

void CZR_Matrix::Shear(float alpha, float beta, bool prepended)
{
    Concat(1, ZRSYS_tan(alpha), ZRSYS_tan(beta), 1, 0, 0, prepended);
}

void CZR_Matrix::MatchRect(const CZR_FloatRect& dest, const CZR_FloatRect& src)
{
    float srcWidth = src.left - src.right;
    float srcHeight = src.bottom - src.top;
    a = std::fabs(srcWidth) < 0.001f ? 1 : (dest.left - dest.right) / srcWidth;
    d = std::fabs(srcHeight) < 0.001f ? 1 : (dest.bottom - dest.top) / srcHeight;
    b = c = 0;
    e = dest.left - src.left * a;
    f = dest.bottom - src.bottom * d;
}

float CZR_Matrix::GetXUnit() const
{
    if (b == 0)
        return std::fabs(a);
    return a == 0 ? std::fabs(b) : length(a, b);
}

float CZR_Matrix::GetYUnit() const
{
    if (c == 0)
        return std::fabs(d);
    return d == 0 ? std::fabs(c) : length(c, d);
}

float CZR_Matrix::GetUnitArea() const { return std::fabs(a * d - b * c); }

CZR_FloatRect CZR_Matrix::GetUnitRect() const
{
    CZR_FloatRect rect(0, 1, 0, 1);
    rect.Transform(this);
    return rect;
}

void CZR_Matrix::GetUnitRect(CZR_RTemplate<float>& rect) const
{
    CZR_FloatRect unit = GetUnitRect();
    rect = CZR_RTemplate<float>{unit.left, unit.bottom, unit.right - unit.left, unit.top - unit.bottom};
}

void CZR_Matrix::GetUnitParallelogram(CZR_PRLTemplate<float>& parallelogram) const
{
    parallelogram = CZR_PRLTemplate<float>{e, f, a, b, c, d};
}

void CZR_Matrix::TransformPoint(float& x, float& y) const
{
    float mappedX = a * x + c * y + e;
    float mappedY = b * x + d * y + f;
    x = mappedX;
    y = mappedY;
}

void CZR_Matrix::TransformPoint(int& x, int& y) const
{
    float fx = float(x);
    float fy = float(y);
    TransformPoint(fx, fy);
    x = ZRSYS_round(fx);
    y = ZRSYS_round(fy);
}

void CZR_Matrix::TransformPoints(CZR_PSVTemplate<float>* points, int n) const { mapPoints(*this, points, n); }

void CZR_Matrix::TransformPoints(CZR_PSVTemplate<int>* points, int n) const { mapPoints(*this, points, n); }

void CZR_Matrix::TransformVector(CZR_VTemplate<float>& v) const
{
    float x = a * v.x + c * v.y;
    float y = b * v.x + d * v.y;
    v.x = x;
    v.y = y;
}

void CZR_Matrix::TransformVector(CZR_VTemplate<int>& v) const
{
    CZR_VTemplate<float> mapped{float(v.x), float(v.y)};
    TransformVector(mapped);
    v.x = ZRSYS_round(mapped.x);
    v.y = ZRSYS_round(mapped.y);
}

float CZR_Matrix::TransformXDistance(float dx) const { return length(a * dx, b * dx); }

float CZR_Matrix::TransformYDistance(float dy) const { return length(c * dy, d * dy); }

float CZR_Matrix::TransformDistance(float dx, float dy) const { return length(a * dx + c * dy, b * dx + d * dy); }

int CZR_Matrix::TransformXDistance(int dx) const { return ZRSYS_round(TransformXDistance(float(dx))); }

int CZR_Matrix::TransformYDistance(int dy) const { return ZRSYS_round(TransformYDistance(float(dy))); }

int CZR_Matrix::TransformDistance(int dx, int dy) const { return ZRSYS_round(TransformDistance(float(dx), float(dy))); }

float CZR_Matrix::TransformDistance(float distance) const { return (GetXUnit() + GetYUnit()) * distance * 0.5f; }

void CZR_Matrix::TransformRect(float& left, float& right, float& top, float& bottom) const
{
    Bounds bounds = mappedCorners(*this, left, right, top, bottom);
    left = bounds.minX;
    right = bounds.maxX;
    top = bounds.maxY;
    bottom = bounds.minY;
}

void CZR_Matrix::TransformRect(CZR_RTemplate<float>& rect) const
{
    Bounds bounds = mappedCorners(*this, rect.x, rect.x + rect.width, rect.y, rect.y + rect.height);
    rect = CZR_RTemplate<float>{bounds.minX, bounds.minY, bounds.maxX - bounds.minX, bounds.maxY - bounds.minY};
}

void CZR_Matrix::TransformRect(CZR_RTemplate<int>& rect) const
{
    // The far edges in 64 bits: x + width may pass the int range.
    Bounds bounds = mappedCorners(*this, float(rect.x), float(int64_t(rect.x) + rect.width), float(rect.y),
                                  float(int64_t(rect.y) + rect.height));
    rect = CZR_RTemplate<int>{ZRSYS_round(bounds.minX), ZRSYS_round(bounds.minY),
                              ZRSYS_round(bounds.maxX - bounds.minX), ZRSYS_round(bounds.maxY - bounds.minY)};
}

void CZR_Matrix::TransformRect(ZR_RECT& rect) const
{
    Bounds bounds = mappedCorners(*this, float(rect.left), float(rect.right), float(rect.top), float(rect.bottom));
    rect = ZR_RECT{ZRSYS_round(bounds.minX), ZRSYS_round(bounds.maxY), ZRSYS_round(bounds.maxX),
                   ZRSYS_round(bounds.minY)};
}

void CZR_Matrix::TransformRoundRect(CZR_RRTemplate<float>& rect) const
{
    CZR_RTemplate<float> box{rect.x, rect.y, rect.width, rect.height};
    TransformRect(box);
    rect = CZR_RRTemplate<float>{box.x, box.y, box.width, box.height, TransformXDistance(rect.radiusX),
                                 TransformYDistance(rect.radiusY)};
}

void CZR_Matrix::TransformRoundRect(CZR_RRTemplate<int>& rect) const
{
    CZR_RTemplate<int> box{rect.x, rect.y, rect.width, rect.height};
    TransformRect(box);
    rect = CZR_RRTemplate<int>{box.x, box.y, box.width, box.height, TransformXDistance(rect.radiusX),
                               TransformYDistance(rect.radiusY)};
}

void CZR_Matrix::TransformParallelogram(CZR_PRLTemplate<float>& parallelogram) const
{
    mapParallelogram(*this, parallelogram);
}

void CZR_Matrix::TransformParallelogram(CZR_PRLTemplate<int>& parallelogram) const
{
    mapParallelogram(*this, parallelogram);
}
