#include "engine/math/vector2.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qel {
namespace {

void expectVec(const Vector2& got, const Vector2& want, const char* name) {
    EXPECT_FLOAT_EQ(got.x, want.x) << name;
    EXPECT_FLOAT_EQ(got.y, want.y) << name;
}

TEST(Vector2, ComponentwiseArithmetic) {
    const Vector2 a(1.5f, -2.0f), b(0.25f, 4.0f);
    struct Case {
        const char* name;
        Vector2 got;
        Vector2 want;
    };
    const Case cases[] = {
        {"sum", a + b, Vector2(1.75f, 2.0f)},
        {"difference", a - b, Vector2(1.25f, -6.0f)},
        {"negation", -a, Vector2(-1.5f, 2.0f)},
        {"copy", +a, a},
        {"times", a * 2.0f, Vector2(3.0f, -4.0f)},
        {"over", a / 4.0f, Vector2(0.375f, -0.5f)},
        {"lerp 0 gives a", Vector2::Lerp(a, b, 0.0f), a},
        {"lerp 1 gives b", Vector2::Lerp(a, b, 1.0f), b},
        {"lerp 2 extrapolates to 2b - a", Vector2::Lerp(a, b, 2.0f), b * 2.0f - a},
        {"lerp half", Vector2::Lerp(Vector2(0, 0), Vector2(10, -10), 0.5f), Vector2(5, -5)},
    };
    for (const Case& c : cases) expectVec(c.got, c.want, c.name);
    EXPECT_FLOAT_EQ(Vector2::Dot(a, b), 1.5f * 0.25f - 8.0f);
}

TEST(Vector2, LengthAndNormalize) {
    const Vector2 v(3.0f, 4.0f);
    EXPECT_FLOAT_EQ(v.length(), 5.0f);
    EXPECT_FLOAT_EQ(v.lengthSq(), 25.0f);

    const Vector2 n = Vector2::Normalize(v);
    expectVec(v, Vector2(3.0f, 4.0f), "Normalize leaves its argument alone");
    expectVec(n, Vector2(0.6f, 0.8f), "unit vector");
    EXPECT_NEAR(n.length(), 1.0f, 1e-6f);

    Vector2 zero;
    zero.normalize();
    EXPECT_TRUE(std::isnan(zero.x));
    EXPECT_TRUE(std::isnan(zero.y));
}

TEST(Vector2, HermiteHitsItsEndPointsWhateverTheTangents) {
    const Vector2 p1(1, 2), t1(50, -30), p2(-4, 8), t2(-7, 99);
    expectVec(Vector2::Hermite(p1, t1, p2, t2, 0.0f), p1, "s = 0");
    expectVec(Vector2::Hermite(p1, t1, p2, t2, 1.0f), p2, "s = 1");
    // Zero tangents make the midpoint the plain average.
    expectVec(Vector2::Hermite(Vector2(0, 0), Vector2(), Vector2(4, 8), Vector2(), 0.5f),
              Vector2(2, 4), "s = 0.5, flat tangents");
}

TEST(Vector2, MatrixProductIsRowVectorThenDivideByW) {
    expectVec(Vector2(3, -2) * Matrix::IDENTITY, Vector2(3, -2), "identity");
    expectVec(Vector2(3, -2) * Matrix::translation(10, 20, 30), Vector2(13, 18), "translation");
    expectVec(Vector2(3, -2) * (Matrix::scaling(2, 3, 1) * Matrix::translation(1, 1, 0)),
              Vector2(7, -5), "scale, then translate");
    // w = x*m03 + y*m13 + m33 = 3*0.5 + 2 = 3.5; x, y divided by it.
    Matrix m;
    m(0, 3) = 0.5f;
    m(3, 3) = 2.0f;
    expectVec(Vector2(3, 7) * m, Vector2(3 / 3.5f, 7 / 3.5f), "projective divide");
}

TEST(Vector2, ProgramWideValuesAndSecondNames) {
    expectVec(Vector2::ZERO, Vector2(0, 0), "ZERO");
    expectVec(Vector2::ONE, Vector2(1, 1), "ONE");
    EXPECT_FLOAT_EQ(Vector2::X_ONE.u(), 1.0f);
    EXPECT_FLOAT_EQ(Vector2::X_ONE.v(), 0.0f);
    EXPECT_FLOAT_EQ(Vector2::Y_ONE.v(), 1.0f);
    Vector2 w(1, 2);
    w.u() = 5.0f;
    w.v() = 6.0f;
    EXPECT_EQ(w, Vector2(5, 6));
}

}  // namespace
}  // namespace qel
