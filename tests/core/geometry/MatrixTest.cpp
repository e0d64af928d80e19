#include "geometry/CZR_Matrix.h"
#include "geometry/CZR_Matrix_3by3.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>

namespace {

const float kPi = 3.14159265f;

void expectMatrixNear(const CZR_Matrix& m, const CZR_Matrix& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(m.a, expected.a, tolerance);
    EXPECT_NEAR(m.b, expected.b, tolerance);
    EXPECT_NEAR(m.c, expected.c, tolerance);
    EXPECT_NEAR(m.d, expected.d, tolerance);
    EXPECT_NEAR(m.e, expected.e, tolerance);
    EXPECT_NEAR(m.f, expected.f, tolerance);
}

CZR_Matrix randomInvertible(std::mt19937& random)
{
    std::uniform_real_distribution<float> value(-4, 4);
    for (;;) {
        CZR_Matrix m(value(random), value(random), value(random), value(random), value(random), value(random));
        if (std::fabs(m.a * m.d - m.b * m.c) > 0.5f)
            return m;
    }
}

TEST(Matrix, ConcatenationOrderFollowsPrepending)
{
    std::mt19937 random(5);
    for (int round = 0; round < 50; ++round) {
        CZR_Matrix m = randomInvertible(random), n = randomInvertible(random);
        float x = 1.5f, y = -2.25f;
        float viaM = x, viaMy = y;
        m.TransformPoint(viaM, viaMy);
        n.TransformPoint(viaM, viaMy);

        CZR_Matrix after = m;
        after.Concat(n, false);
        float px = x, py = y;
        after.TransformPoint(px, py);
        EXPECT_NEAR(px, viaM, 1e-3f);
        EXPECT_NEAR(py, viaMy, 1e-3f);

        CZR_Matrix before = n;
        before.Concat(m.a, m.b, m.c, m.d, m.e, m.f, true);
        expectMatrixNear(before, after, 1e-4f);

        CZR_Matrix squared = m;
        squared.Concat(squared);
        CZR_Matrix expected = m;
        expected.Concat(CZR_Matrix(m));
        expectMatrixNear(squared, expected, 0);
    }
}

TEST(Matrix, ProductWithTheInverseIsTheIdentity)
{
    std::mt19937 random(9);
    for (int round = 0; round < 200; ++round) {
        CZR_Matrix m = randomInvertible(random);
        CZR_Matrix inverse;
        inverse.SetReverse(m);
        CZR_Matrix product = m;
        product.Concat(inverse);
        expectMatrixNear(product, CZR_Matrix(), 1e-4f);

        CZR_Matrix self = m;
        self.SetReverse(self);
        expectMatrixNear(self, inverse, 0);
        CZR_Matrix undone = m;
        undone.ConcatInverse(m, true);
        expectMatrixNear(undone, CZR_Matrix(), 1e-4f);
    }
}

TEST(Matrix, SingularAndNearlySingularMatrices)
{
    CZR_Matrix target(1, 2, 3, 4, 5, 6);
    target.SetReverse(CZR_Matrix(2, 1, 4, 2, 7, 7));
    expectMatrixNear(target, CZR_Matrix(1, 2, 3, 4, 5, 6), 0);
    target.ConcatInverse(CZR_Matrix(2, 1, 4, 2, 7, 7));
    expectMatrixNear(target, CZR_Matrix(1, 2, 3, 4, 5, 6), 0);

    EXPECT_FALSE(CZR_Matrix(0.01f, 0, 0, 0.009f, 0, 0).IsInvertible());
    EXPECT_TRUE(CZR_Matrix(0.01f, 0, 0, 0.011f, 0, 0).IsInvertible());
    EXPECT_TRUE(CZR_Matrix(0, 1, -1, 0, 0, 0).Is90Rotated());
    EXPECT_FALSE(CZR_Matrix(0.01f, 1, -1, 0, 0, 0).Is90Rotated());
    EXPECT_TRUE(CZR_Matrix(2, 0.001f, 0, 3, 0, 0).IsScaled());
    EXPECT_FALSE(CZR_Matrix(2, 0.01f, 0, 3, 0, 0).IsScaled());
}

TEST(Matrix, BuildingTransformations)
{
    CZR_Matrix rotated;
    rotated.Rotate(kPi / 2, false);
    expectMatrixNear(rotated, CZR_Matrix(0, 1, -1, 0, 0, 0));

    CZR_Matrix translatedAfter(2, 0, 0, 3, 1, 1);
    translatedAfter.Translate(10, 20, false);
    expectMatrixNear(translatedAfter, CZR_Matrix(2, 0, 0, 3, 11, 21), 0);
    CZR_Matrix translatedBefore(2, 0, 0, 3, 1, 1);
    translatedBefore.Translate(10, 20, true);
    expectMatrixNear(translatedBefore, CZR_Matrix(2, 0, 0, 3, 21, 61), 0);

    CZR_Matrix scaledAfter(1, 2, 3, 4, 5, 6);
    scaledAfter.Scale(2, 10, false);
    expectMatrixNear(scaledAfter, CZR_Matrix(2, 20, 6, 40, 10, 60), 0);
    CZR_Matrix scaledBefore(1, 2, 3, 4, 5, 6);
    scaledBefore.Scale(2, 10, true);
    expectMatrixNear(scaledBefore, CZR_Matrix(2, 4, 30, 40, 5, 6), 0);

    CZR_Matrix aroundPoint;
    aroundPoint.RotateAt(kPi, 5, 5, true);
    float x = 6, y = 5;
    aroundPoint.TransformPoint(x, y);
    EXPECT_NEAR(x, 4, 1e-5f);
    EXPECT_NEAR(y, 5, 1e-5f);

    CZR_Matrix sheared;
    sheared.Shear(kPi / 4, 0, false);
    expectMatrixNear(sheared, CZR_Matrix(1, 1, 0, 1, 0, 0));

    CZR_Matrix matched;
    matched.MatchRect(CZR_FloatRect(10, 30, 0, 5), CZR_FloatRect(0, 10, 0, 10));
    expectMatrixNear(matched, CZR_Matrix(2, 0, 0, 0.5f, 10, 0), 0);
    matched.MatchRect(CZR_FloatRect(10, 30, 0, 5), CZR_FloatRect(3, 3, 0, 10));
    EXPECT_EQ(matched.a, 1) << "a source of zero width keeps the x scale";
    EXPECT_EQ(matched.e, 7);
}

TEST(Matrix, UnitsDistancesAndRectangles)
{
    const CZR_Matrix m(0, 2, -3, 0, 10, 20);  // a quarter turn with scales 2 and 3
    EXPECT_EQ(m.GetXUnit(), 2);
    EXPECT_EQ(m.GetYUnit(), 3);
    EXPECT_EQ(m.GetUnitArea(), 6);
    EXPECT_FLOAT_EQ(CZR_Matrix(3, 4, 0, 1, 0, 0).GetXUnit(), 5);
    EXPECT_EQ(m.TransformXDistance(1.5f), 3);
    EXPECT_EQ(m.TransformYDistance(2), 6);
    EXPECT_EQ(m.TransformDistance(1.0f, 0.0f), 2);
    EXPECT_FLOAT_EQ(m.TransformDistance(4.0f), 10);
    EXPECT_EQ(CZR_Matrix(3, 0, 0, 4, 0, 0).TransformDistance(1, 1), 5);

    CZR_FloatRect unit = m.GetUnitRect();
    EXPECT_EQ(std::make_tuple(unit.left, unit.right, unit.bottom, unit.top),
              std::make_tuple(7.0f, 10.0f, 20.0f, 22.0f));
    CZR_RTemplate<float> unitBox;
    m.GetUnitRect(unitBox);
    EXPECT_EQ(std::make_tuple(unitBox.x, unitBox.y, unitBox.width, unitBox.height),
              std::make_tuple(7.0f, 20.0f, 3.0f, 2.0f));
    CZR_PRLTemplate<float> unitShape;
    m.GetUnitParallelogram(unitShape);
    EXPECT_EQ(std::make_tuple(unitShape.x, unitShape.y, unitShape.x1, unitShape.y1, unitShape.x2, unitShape.y2),
              std::make_tuple(10.0f, 20.0f, 0.0f, 2.0f, -3.0f, 0.0f));

    float left = 0, right = 1, top = 2, bottom = 0;
    m.TransformRect(left, right, top, bottom);
    EXPECT_EQ(std::make_tuple(left, right, top, bottom), std::make_tuple(4.0f, 10.0f, 22.0f, 20.0f));
    ZR_RECT intRect{0, 0, 1, 2};
    m.TransformRect(intRect);
    EXPECT_EQ(std::make_tuple(intRect.left, intRect.top, intRect.right, intRect.bottom),
              std::make_tuple(4, 22, 10, 20));
    CZR_RTemplate<int> box{0, 0, 1, 2};
    m.TransformRect(box);
    EXPECT_EQ(std::make_tuple(box.x, box.y, box.width, box.height), std::make_tuple(4, 20, 6, 2));

    CZR_RRTemplate<float> rounded{0, 0, 1, 2, 1, 1};
    m.TransformRoundRect(rounded);
    EXPECT_EQ(std::make_tuple(rounded.x, rounded.y, rounded.width, rounded.height, rounded.radiusX, rounded.radiusY),
              std::make_tuple(4.0f, 20.0f, 6.0f, 2.0f, 2.0f, 3.0f));
    CZR_RRTemplate<int> roundedInt{0, 0, 1, 2, 1, 1};
    m.TransformRoundRect(roundedInt);
    EXPECT_EQ(std::make_tuple(roundedInt.x, roundedInt.y, roundedInt.width, roundedInt.height, roundedInt.radiusX,
                              roundedInt.radiusY),
              std::make_tuple(4, 20, 6, 2, 2, 3));

    CZR_PRLTemplate<int> shape{1, 1, 1, 0, 0, 1};
    m.TransformParallelogram(shape);
    EXPECT_EQ(std::make_tuple(shape.x, shape.y, shape.x1, shape.y1, shape.x2, shape.y2),
              std::make_tuple(7, 22, 0, 2, -3, 0));
    CZR_VTemplate<float> v{1, 1};
    m.TransformVector(v);
    EXPECT_EQ(std::make_tuple(v.x, v.y), std::make_tuple(-3.0f, 2.0f));
    CZR_PSVTemplate<int> points[2] = {{0, 0}, {1, 1}};
    m.TransformPoints(points, 2);
    EXPECT_EQ(std::make_tuple(points[1].x, points[1].y), std::make_tuple(7, 22));
    m.TransformPoints(points, -1);
    EXPECT_EQ(points[0].x, 10);
}

TEST(Matrix, IntegerResultsRoundHalfAwayAndSaturate)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    int x = 1, y = -1;
    CZR_Matrix(0.5f, 0, 0, 0.5f, 0, 0).TransformPoint(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, -1));

    x = 3, y = -3;
    CZR_Matrix(1e10f, 0, 0, 1e10f, 0, 0).TransformPoint(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(INT_MAX, INT_MIN));
    x = y = 5;
    CZR_Matrix(nan, 0, 0, 1, 0, 0).TransformPoint(x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 5));

    const CZR_Matrix huge(1e10f, 0, 0, 1e10f, 0, 0);
    EXPECT_EQ(huge.TransformXDistance(1), INT_MAX);
    EXPECT_EQ(huge.TransformDistance(1, 1), INT_MAX);
    EXPECT_EQ(CZR_Matrix(nan, 0, 0, 1, 0, 0).TransformXDistance(1), 0);

    ZR_RECT rect{-1, -1, 1, 1};
    huge.TransformRect(rect);
    EXPECT_EQ(std::make_tuple(rect.left, rect.top, rect.right, rect.bottom),
              std::make_tuple(INT_MIN, INT_MAX, INT_MAX, INT_MIN));
    CZR_RTemplate<int> box{INT_MAX, 0, INT_MAX, 1};
    CZR_Matrix().TransformRect(box);
    EXPECT_EQ(std::make_tuple(box.x, box.width), std::make_tuple(INT_MAX, INT_MAX)) << "far edge past the int range";
    CZR_VTemplate<int> v{2, 2};
    huge.TransformVector(v);
    EXPECT_EQ(std::make_pair(v.x, v.y), std::make_pair(INT_MAX, INT_MAX));
}

CZR_Matrix_3by3 random3by3(std::mt19937& random)
{
    std::uniform_real_distribution<float> value(-3, 3);
    for (;;) {
        CZR_Matrix_3by3 m(value(random), value(random), value(random), value(random), value(random), value(random),
                          value(random), value(random), value(random));
        float det = m.a * (m.e * m.i - m.f * m.h) - m.b * (m.d * m.i - m.f * m.g) + m.c * (m.d * m.h - m.e * m.g);
        if (std::fabs(det) > 0.5f)
            return m;
    }
}

TEST(Matrix3by3, InverseMultiplyAndVectors)
{
    std::mt19937 random(13);
    for (int round = 0; round < 200; ++round) {
        CZR_Matrix_3by3 m = random3by3(random);
        CZR_Matrix_3by3 p = m.Multiply(m.Inverse());
        const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        const float got[9] = {p.a, p.b, p.c, p.d, p.e, p.f, p.g, p.h, p.i};
        for (int k = 0; k < 9; ++k)
            ASSERT_NEAR(got[k], identity[k], 1e-3f) << "element " << k << " of round " << round;
    }

    CZR_Matrix_3by3 nearlySingular(1e-4f, 0, 0, 0, 1e-4f, 0, 0, 0, 1);
    CZR_Matrix_3by3 zero = nearlySingular.Inverse();
    EXPECT_EQ(std::make_tuple(zero.a, zero.e, zero.i), std::make_tuple(0.0f, 0.0f, 0.0f));

    CZR_Matrix_3by3 m(1, 2, 3, 4, 5, 6, 7, 8, 10);
    CZR_Matrix_3by3 shifted = m.Multiply(CZR_Matrix_3by3(0, 1, 0, 0, 0, 1, 1, 0, 0));
    EXPECT_EQ(std::make_tuple(shifted.a, shifted.b, shifted.c, shifted.g), std::make_tuple(3.0f, 1.0f, 2.0f, 10.0f));
    CZR_Vector_3by1 v = m.TransformVector(CZR_Vector_3by1(1, 0, -1));
    EXPECT_EQ(std::make_tuple(v.x, v.y, v.z), std::make_tuple(-2.0f, -2.0f, -3.0f));
}

}
