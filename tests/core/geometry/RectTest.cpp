#include "geometry/CZR_FloatRect.h"
#include "geometry/ZR_RECT.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>

namespace {

auto edges(const ZR_RECT& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); }

auto edges(const CZR_FloatRect& r) { return std::make_tuple(r.left, r.right, r.bottom, r.top); }

TEST(IntRect, IntersectUnionAndValid)
{
    struct Case
    {
        ZR_RECT self, other, intersection, unionRect;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {10, 0, 10, 10}, {0, 0, 20, 10}},   // touching: empty, not zero
        {{0, 0, 10, 10}, {11, 0, 20, 10}, {0, 0, 0, 0}, {0, 0, 20, 10}},      // apart
        {{10, 10, 0, 0}, {15, 5, 5, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}},     // both taken normalised
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}},         // inside
        {{0, 0, 10, 10}, {20, 20, 20, 20}, {0, 0, 0, 0}, {0, 0, 20, 20}},     // an empty rectangle still counts
    };
    for (const Case& c : cases) {
        ZR_RECT intersection = c.self;
        intersection.Intersect(c.other);
        EXPECT_EQ(edges(intersection), edges(c.intersection));
        ZR_RECT unionRect = c.self;
        unionRect.Union(c.other);
        EXPECT_EQ(edges(unionRect), edges(c.unionRect));
    }
    EXPECT_TRUE((ZR_RECT{-5, -5, INT_MAX - 5, INT_MAX - 5}).Valid());
    EXPECT_FALSE((ZR_RECT{INT_MIN, 0, INT_MAX, 0}).Valid());
    EXPECT_FALSE((ZR_RECT{0, INT_MAX, 0, INT_MIN}).Valid());
}

TEST(FloatRect, ConversionAndEdgeOperations)
{
    CZR_FloatRect converted(ZR_RECT{1, 2, 3, 4});
    EXPECT_EQ(edges(converted), std::make_tuple(1.0f, 3.0f, 2.0f, 4.0f)) << "integer top lands in the float bottom";

    CZR_FloatRect touching(0, 10, 0, 10);
    touching.Intersect(CZR_FloatRect(10, 20, 0, 10));
    EXPECT_EQ(edges(touching), std::make_tuple(10.0f, 10.0f, 0.0f, 10.0f));
    CZR_FloatRect apart(0, 10, 0, 10);
    apart.Intersect(CZR_FloatRect(0, 10, 10.5f, 20));
    EXPECT_EQ(edges(apart), std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
    CZR_FloatRect joined(10, 0, 10, 0);
    joined.Union(CZR_FloatRect(-1, 2, 20, 15));
    EXPECT_EQ(edges(joined), std::make_tuple(-1.0f, 10.0f, 0.0f, 20.0f));

    CZR_FloatRect reversed(10, 0, 10, 0);
    EXPECT_TRUE(reversed.Contains(CZR_FloatRect(0, 10, 10, 0)));
    EXPECT_TRUE(reversed.Contains(10, 0));
    EXPECT_FALSE(reversed.Contains(10.001f, 5));
    EXPECT_FALSE(reversed.Contains(CZR_FloatRect(-1, 5, 1, 2)));
    reversed.UpdateRect(-3, 12);
    EXPECT_EQ(edges(reversed), std::make_tuple(-3.0f, 0.0f, 10.0f, 12.0f)) << "grows without normalising";
}

TEST(FloatRect, BoundingBoxOfPoints)
{
    const CZR_PSVTemplate<float> points[] = {{1, 5}, {-2, 3}, {4, -1}};
    CZR_FloatRect box(7, 7, 7, 7);
    EXPECT_EQ(edges(box.GetBBox(points, 0)), std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(edges(box), std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(edges(box.GetBBox(points, 1)), std::make_tuple(1.0f, 1.0f, 5.0f, 5.0f));
    EXPECT_EQ(edges(box.GetBBox(points, 3)), std::make_tuple(-2.0f, 4.0f, -1.0f, 5.0f));
    EXPECT_EQ(edges(box.GetBBox(points, -1)), std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
}

TEST(FloatRect, IntegerRectanglesRoundOutwardInwardAndClosest)
{
    struct Case
    {
        CZR_FloatRect rect;
        ZR_RECT outer, inner, closest;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {{0.5f, 2.5f, 0.5f, 2.5f}, {0, 0, 3, 3}, {1, 1, 2, 2}, {0, 0, 2, 2}},
        {{0.7f, 2.7f, 0.4f, 2.6f}, {0, 0, 3, 3}, {1, 1, 2, 2}, {1, 0, 3, 3}},
        // Reversed edges are rounded as given, then ordered.
        {{2.5f, 0.5f, -1.2f, -3.5f}, {1, -3, 2, -2}, {0, -4, 3, -1}, {0, -3, 2, -1}},
        {{0.2f, 0.8f, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}},
        // Past the int range and NaN: held at the limits and 0.
        {{-3e9f, 3e9f, nan, 2147483648.0f}, {INT_MIN, 0, INT_MAX, INT_MAX}, {INT_MIN, 0, INT_MAX, INT_MAX},
         {INT_MIN, 0, -1, 0}},
        {{2e9f, 3e9f, -3e9f, -2.5e9f}, {2000000000, INT_MIN, INT_MAX, INT_MIN},
         {2000000000, INT_MIN, INT_MAX, INT_MIN}, {2000000000, INT_MIN, INT_MAX, -1647483648}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(edges(c.rect)));
        EXPECT_EQ(edges(c.rect.GetOutterRect()), edges(c.outer));
        EXPECT_EQ(edges(c.rect.GetInnerRect()), edges(c.inner));
        EXPECT_EQ(edges(c.rect.GetClosestRect()), edges(c.closest));
    }
}

TEST(FloatRect, SubtractionPiecesAndTheHoleCoverTheRectangle)
{
    CZR_FloatRect pieces[4];
    CZR_FloatRect whole(0, 10, 0, 10);
    CZR_FloatRect covering(-1, 11, 11, -1);
    EXPECT_EQ(whole.Substract4(covering, pieces), 0);
    EXPECT_EQ(edges(covering), std::make_tuple(-1.0f, 11.0f, -1.0f, 11.0f)) << "normalised in place";
    CZR_FloatRect hole(4, 6, 4, 6);
    EXPECT_EQ(whole.Substract4(hole, pieces), 4);

    std::mt19937 random(3);
    std::uniform_real_distribution<float> coordinate(-20, 20);
    for (int round = 0; round < 300; ++round) {
        CZR_FloatRect r(coordinate(random), coordinate(random), coordinate(random), coordinate(random));
        CZR_FloatRect s(coordinate(random), coordinate(random), coordinate(random), coordinate(random));
        int count = r.Substract4(s, pieces);
        ASSERT_GE(count, 0);
        ASSERT_LE(count, 4);
        for (int i = 0; i < count; ++i) {
            bool zero = edges(pieces[i]) == std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f);
            EXPECT_TRUE(zero || r.Contains(pieces[i]));
        }
        std::uniform_real_distribution<float> x(r.left, r.right), y(r.bottom, r.top);
        for (int sample = 0; sample < 200; ++sample) {
            float px = x(random), py = y(random);
            bool covered = s.Contains(px, py);
            for (int i = 0; i < count && !covered; ++i)
                covered = pieces[i].Contains(px, py);
            ASSERT_TRUE(covered) << "point " << px << "," << py << " of round " << round;
        }
    }
}

TEST(FloatRect, IntervalsAndAdjacency)
{
    float low = -1, high = -1;
    EXPECT_FALSE(GetIntersection(0, 1, 1, 2, low, high)) << "touching intervals do not intersect";
    EXPECT_EQ(low, -1);
    EXPECT_TRUE(GetIntersection(0, 2, 1, 3, low, high));
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(1.0f, 2.0f));

    struct Case
    {
        const char* name;
        CZR_FloatRect r1, r2;
        float align, distance;
        int direction;
        bool adjacent;
    };
    const CZR_FloatRect box(0, 10, 0, 10);
    const Case cases[] = {
        {"side by side, gap within", box, {11, 21, 0.5f, 10.5f}, 1, 1, 0, true},
        {"side by side, gap too wide", box, {12, 22, 0, 10}, 1, 1, 0, false},
        {"right one given first", {11, 21, 0, 10}, box, 0, 1, 0, true},
        {"overlapping counts as no gap", box, {5, 15, 0, 10}, 0, 0, 0, true},
        {"misaligned centres", box, {10, 20, 2, 12}, 1, 5, 0, false},
        {"heights differ too much", box, {10, 20, 2, 7}, 2, 5, 0, false},
        {"above, within", box, {0, 10, 10.5f, 20}, 0, 1, 1, true},
        {"above but asked side by side", box, {0, 10, 10.5f, 20}, 0, 1, 0, false},
        {"inside always", box, {2, 3, 2, 3}, 0, 0, 1, true},
        {"unknown direction", box, {10, 20, 0, 10}, 1, 1, 2, false},
        {"negative tolerance", box, {10, 20, 0, 10}, -1, 1, 0, false},
        {"degenerate rectangle", box, {10, 10, 0, 10}, 1, 1, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZR_IsRectAdjacent(c.r1, c.r2, c.align, c.distance, c.direction), c.adjacent) << c.name;
}

}
