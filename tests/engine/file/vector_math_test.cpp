#include "engine/file/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

TEST(VectorMath, PointLengthsUseWrappingIntegers) {
    EXPECT_EQ(pointLengthSq(3, 4), 25.0f);
    EXPECT_EQ(pointLength(3, 4), 5.0f);
    EXPECT_EQ(pointLength(-3, -4), 5.0f);
    // 46341^2 passes 2^31 - 1 and wraps negative, as 32-bit arithmetic does.
    EXPECT_EQ(pointLengthSq(46341, 0), -2147479015.0f);
    EXPECT_TRUE(std::isnan(pointLength(0, 46341)));
    EXPECT_EQ(pointLengthSq(65536, 0), 0.0f);
}

TEST(VectorMath, HermiteMeetsItsEndPoints) {
    struct Case {
        float p1, t1, p2, t2;
    };
    const Case cases[] = {{0, 0, 10, 0}, {-3.5f, 100, 7.25f, -40}, {1e6f, 3, -2, 1e3f}};
    for (const Case& c : cases) {
        EXPECT_EQ(hermite(c.p1, c.t1, c.p2, c.t2, 0.0f), c.p1);
        EXPECT_EQ(hermite(c.p1, c.t1, c.p2, c.t2, 1.0f), c.p2);
    }
    const HermiteWeights half = hermiteWeights(0.5f);
    EXPECT_EQ(half.h1, 0.5f);
    EXPECT_EQ(half.h2, 0.5f);
    EXPECT_EQ(half.h3, 0.125f);
    EXPECT_EQ(half.h4, -0.125f);
    EXPECT_EQ(hermite(0, 8, 10, 0, 0.5f), 6.0f);
}

TEST(VectorMath, ThreeComponentVectors) {
    const Vector3 d = subtract({5, 7, 9}, {1, 2, 3});
    EXPECT_EQ(d.x, 4);
    EXPECT_EQ(d.y, 5);
    EXPECT_EQ(d.z, 6);
    const Vector3 z = cross({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(z.x, 0);
    EXPECT_EQ(z.y, 0);
    EXPECT_EQ(z.z, 1);
    const Vector3 n = normalizedCross({2, 0, 0}, {0, 0, 3});
    EXPECT_EQ(n.y, -1);
    const Vector3 u = normalize({3, 0, 4});
    EXPECT_FLOAT_EQ(u.x, 0.6f);
    EXPECT_FLOAT_EQ(u.z, 0.8f);
    EXPECT_FALSE(std::isfinite(normalize({0, 0, 0}).x));
}

}  // namespace
}  // namespace qel
