#pragma once

// A column vector of three floats.
class CZR_Vector_3by1
{
public:
    CZR_Vector_3by1() : x(0), y(0), z(0) {}
    CZR_Vector_3by1(float x1, float y1, float z1) : x(x1), y(y1), z(z1) {}

    float x;
    float y;
    float z;
};

// A 3 x 3 matrix, a to i row by row.
class CZR_Matrix_3by3
{
public:
    CZR_Matrix_3by3() : a(0), b(0), c(0), d(0), e(0), f(0), g(0), h(0), i(0) {}
    CZR_Matrix_3by3(float a1, float b1, float c1, float d1, float e1, float f1, float g1, float h1, float i1)
        : a(a1), b(b1), c(c1), d(d1), e(e1), f(f1), g(g1), h(h1), i(i1)
    {
    }

    // All zero when the determinant is below 1e-7 in magnitude.
    CZR_Matrix_3by3 Inverse() const;
    // This x o.
    CZR_Matrix_3by3 Multiply(const CZR_Matrix_3by3& o) const;
    CZR_Vector_3by1 TransformVector(const CZR_Vector_3by1& v) const;

    float a, b, c;
    float d, e, f;
    float g, h, i;
};
