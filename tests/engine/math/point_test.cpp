#include "engine/math/point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace qel {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(Point, IntegerArithmeticWrapsAt32Bits) {
    struct Case {
        const char* name;
        Point got;
        Point want;
    };
    const Case cases[] = {
        {"sum", Point(3, -4) + Point(10, 20), Point(13, 16)},
        {"difference", Point(3, -4) - Point(10, 20), Point(-7, -24)},
        {"negation", -Point(3, -4), Point(-3, 4)},
        {"unary plus copies", +Point(3, -4), Point(3, -4)},
        {"sum wraps", Point(kMax, kMin) + Point(1, -1), Point(kMin, kMax)},
        {"difference wraps", Point(kMin, kMax) - Point(1, -1), Point(kMax, kMin)},
        {"negating the minimum wraps to itself", -Point(kMin, 0), Point(kMin, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got, c.want) << c.name;
    }
}

TEST(Point, ScalingTruncatesTowardZero) {
    struct Case {
        const char* name;
        Point got;
        Point want;
    };
    const Case cases[] = {
        {"(7, -7) * 0.5", Point(7, -7) * 0.5f, Point(3, -3)},
        {"(5, -5) * 0.5", Point(5, -5) * 0.5f, Point(2, -2)},
        {"(7, -7) / 2", Point(7, -7) / 2.0f, Point(3, -3)},
        {"(7, 7) / 2", Point(7, 7) / 2.0f, Point(3, 3)},
        {"pixels of a cell", Point(49, 29) * 16.0f, Point(784, 464)},
        // 0.1f is slightly above 0.1: the float factor, not the decimal, is used.
        {"float factor", Point(10, -10) * 0.1f, Point(1, -1)},
        // 2^24 + 1 has no float form: the product must be formed in double.
        {"large coordinates keep every bit", Point(16777217, -16777217) * 1.0f,
         Point(16777217, -16777217)},
        {"large quotient keeps every bit", Point(16777217, 3) / 1.0f, Point(16777217, 3)},
        {"large product saturates", Point(kMax, kMin) * 4.0f, Point(kMax, kMin)},
        {"division by zero saturates", Point(5, -5) / 0.0f, Point(kMax, kMin)},
        {"zero over zero is zero", Point(0, 0) / 0.0f, Point(0, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got, c.want) << c.name;
    }
}

TEST(Point, LengthUsesWrappingIntegerSquares) {
    EXPECT_FLOAT_EQ(Point(3, 4).length(), 5.0f);
    EXPECT_FLOAT_EQ(Point(3, 4).lengthSq(), 25.0f);
    EXPECT_FLOAT_EQ(Point(-3, -4).length(), 5.0f);
    // 65536^2 wraps to 0 in 32 bits.
    EXPECT_FLOAT_EQ(Point(65536, 0).lengthSq(), 0.0f);
    // 46341^2 passes 2^31 - 1 and wraps negative; its root is not a number.
    EXPECT_EQ(Point(46341, 0).lengthSq(), -2147479015.0f);
    EXPECT_TRUE(std::isnan(Point(0, 46341).length()));
}

TEST(Point, DefaultsToOriginAndComparesByValue) {
    Point cells[3];
    for (const Point& p : cells) EXPECT_EQ(p, Point(0, 0));
    Point p;
    p.set(7, 1);
    EXPECT_EQ(p, Point(7, 1));
    EXPECT_NE(p, Point(1, 7));
}

}  // namespace
}  // namespace qel
