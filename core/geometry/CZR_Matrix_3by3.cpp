#include "geometry/CZR_Matrix_3by3.h"

#include <cmath>

CZR_Matrix_3by3 CZR_Matrix_3by3::Inverse() const
{
    float cofactorA = e * i - f * h;
    float cofactorB = f * g - d * i;
    float cofactorC = d * h - e * g;
    float det = a * cofactorA + b * cofactorB + c * cofactorC;
    if (std::fabs(double(det)) < 1e-7)
        return CZR_Matrix_3by3();
    return CZR_Matrix_3by3(cofactorA / det, (c * h - b * i) / det, (b * f - c * e) / det, cofactorB / det,
                           (a * i - c * g) / det, (c * d - a * f) / det, cofactorC / det, (b * g - a * h) / det,
                           (a * e - b * d) / det);
}

CZR_Matrix_3by3 CZR_Matrix_3by3::Multiply(const CZR_Matrix_3by3& o) const
{
    return CZR_Matrix_3by3(a * o.a + b * o.d + c * o.g, a * o.b + b * o.e + c * o.h, a * o.c + b * o.f + c * o.i,
                           d * o.a + e * o.d + f * o.g, d * o.b + e * o.e + f * o.h, d * o.c + e * o.f + f * o.i,
                           g * o.a + h * o.d + i * o.g, g * o.b + h * o.e + i * o.h, g * o.c + h * o.f + i * o.i);
}

CZR_Vector_3by1 CZR_Matrix_3by3::TransformVector(const CZR_Vector_3by1& v) const
{
    return CZR_Vector_3by1(a * v.x + b * v.y + c * v.z, d * v.x + e * v.y + f * v.z, g * v.x + h * v.y + i * v.z);
}
