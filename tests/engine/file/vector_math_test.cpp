#include "engine/file/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

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
