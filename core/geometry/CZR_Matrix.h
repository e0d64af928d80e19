#pragma once

#include "geometry/CZR_FloatRect.h"
#include "geometry/ZRGeometryTemplates.h"
#include "geometry/ZR_RECT.h"

// A 2-D affine matrix: (x, y) maps to (a x + c y + e, b x + d y + f). A prepended transformation
// acts before the matrix, one not prepended after it. Integer results are rounded halves away
// from zero and held within the int range, NaN giving 0.
class CZR_Matrix
{
public:
    CZR_Matrix() : a(1), b(0), c(0), d(1), e(0), f(0) {}
    CZR_Matrix(float a1, float b1, float c1, float d1, float e1, float f1) : a(a1), b(b1), c(c1), d(d1), e(e1), f(f1) {}

    void Set(float a1, float b1, float c1, float d1, float e1, float f1);
    void Set(const float* six);
    // This becomes the inverse of m (which may be this matrix); unchanged when m's determinant is 0.
    void SetReverse(const CZR_Matrix& m);
    void Concat(float a1, float b1, float c1, float d1, float e1, float f1, bool prepended = false);
    void Concat(const CZR_Matrix& m, bool prepended = false);
    void ConcatInverse(const CZR_Matrix& m, bool prepended = false);
    bool IsInvertible() const;
    bool Is90Rotated() const;
    bool IsScaled() const;
    void Translate(float x, float y, bool prepended = false);
    void Scale(float sx, float sy, bool prepended = false);
    void Rotate(float angle, bool prepended = false);
    void RotateAt(float angle, float x, float y, bool prepended = false);
    void Shear(float alpha, float beta, bool prepended = false);
    // The matrix that maps src onto dest; an axis of src thinner than 0.001 keeps a scale of 1.
    void MatchRect(const CZR_FloatRect& dest, const CZR_FloatRect& src);

    float GetXUnit() const;
    float GetYUnit() const;
    float GetUnitArea() const;
    CZR_FloatRect GetUnitRect() const;
    void GetUnitRect(CZR_RTemplate<float>& rect) const;
    void GetUnitParallelogram(CZR_PRLTemplate<float>& parallelogram) const;

    void TransformPoint(float& x, float& y) const;
    void TransformPoint(int& x, int& y) const;
    void TransformPoints(CZR_PSVTemplate<float>* points, int n) const;
    void TransformPoints(CZR_PSVTemplate<int>* points, int n) const;
    void TransformVector(CZR_VTemplate<float>& v) const;
    void TransformVector(CZR_VTemplate<int>& v) const;
    float TransformXDistance(float dx) const;
    float TransformYDistance(float dy) const;
    float TransformDistance(float dx, float dy) const;
    int TransformXDistance(int dx) const;
    int TransformYDistance(int dy) const;
    int TransformDistance(int dx, int dy) const;
    // A length in no particular direction: the mean of the two unit lengths times distance.
    float TransformDistance(float distance) const;
    // The bounding box of the mapped corners: left, right the x extremes, top the largest and
    // bottom the smallest y.
    void TransformRect(float& left, float& right, float& top, float& bottom) const;
    void TransformRect(CZR_RTemplate<float>& rect) const;
    void TransformRect(CZR_RTemplate<int>& rect) const;
    void TransformRect(ZR_RECT& rect) const;
    void TransformRoundRect(CZR_RRTemplate<float>& rect) const;
    void TransformRoundRect(CZR_RRTemplate<int>& rect) const;
    void TransformParallelogram(CZR_PRLTemplate<float>& parallelogram) const;
    void TransformParallelogram(CZR_PRLTemplate<int>& parallelogram) const;

    float a;
    float b;
    float c;
    float d;
    float e;
    float f;
};
