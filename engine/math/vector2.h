// A single-precision vector (x, y) for drawing positions and animation
// targets; u and v are second names of x and y.
//
// Every stored result is a float; a compound expression is formed in double
// and rounded once when stored, so the scripts see the same last bits on
// every build. A zero vector is not special-cased by normalize: its
// components become NaN, as the scripts have always seen. A default Vector2
// is (0, 0). Vectors that scripts create live in the general pool.
#pragma once

#include <cmath>
#include <cstddef>

#include "engine/core/core.h"
#include "engine/math/matrix.h"

namespace qel {

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vector2() = default;
    constexpr Vector2(float x_, float y_) : x(x_), y(y_) {}

    constexpr float& u() { return x; }
    constexpr float& v() { return y; }
    constexpr float u() const { return x; }
    constexpr float v() const { return y; }

    constexpr Vector2 operator+() const { return *this; }
    constexpr Vector2 operator-() const { return {-x, -y}; }
    constexpr Vector2 operator+(const Vector2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vector2 operator-(const Vector2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vector2 operator*(float f) const { return {x * f, y * f}; }
    constexpr Vector2 operator/(float f) const { return {x / f, y / f}; }
    constexpr Vector2& operator+=(const Vector2& o) { return *this = *this + o; }
    constexpr Vector2& operator-=(const Vector2& o) { return *this = *this - o; }
    constexpr Vector2& operator*=(float f) { return *this = *this * f; }
    constexpr Vector2& operator/=(float f) { return *this = *this / f; }
    Vector2 operator*(const Matrix& m) const { return transformCoord(m); }

    constexpr bool operator==(const Vector2&) const = default;

    float lengthSq() const {
        return static_cast<float>(static_cast<double>(x) * x + static_cast<double>(y) * y);
    }
    float length() const { return static_cast<float>(std::sqrt(static_cast<double>(lengthSq()))); }

    void normalize() {
        const float r = static_cast<float>(1.0 / static_cast<double>(length()));
        x *= r;
        y *= r;
    }
    static Vector2 Normalize(const Vector2& v) {
        Vector2 r = v;
        r.normalize();
        return r;
    }

    // (x, y, 0, 1) times m as a row vector, then divided by the result's w.
    Vector2 transformCoord(const Matrix& m) const {
        const double dx = x, dy = y;
        const float tx = static_cast<float>(dx * m.m[0][0] + dy * m.m[1][0] + m.m[3][0]);
        const float ty = static_cast<float>(dx * m.m[0][1] + dy * m.m[1][1] + m.m[3][1]);
        const float tw = static_cast<float>(dx * m.m[0][3] + dy * m.m[1][3] + m.m[3][3]);
        const float r = static_cast<float>(1.0 / static_cast<double>(tw));
        return {tx * r, ty * r};
    }

    static float Dot(const Vector2& a, const Vector2& b) {
        return static_cast<float>(static_cast<double>(b.y) * a.y + static_cast<double>(b.x) * a.x);
    }

    // a + s (b - a); s is not clamped, so it extrapolates outside 0..1.
    static Vector2 Lerp(const Vector2& a, const Vector2& b, float s) {
        return {static_cast<float>((static_cast<double>(b.x) - a.x) * s + a.x),
                static_cast<float>(a.y + s * (static_cast<double>(b.y) - a.y))};
    }

    // Cubic Hermite spline between p1 and p2 with tangents t1 and t2; each
    // weight is rounded to float before use.
    static Vector2 Hermite(const Vector2& p1, const Vector2& t1, const Vector2& p2,
                           const Vector2& t2, float s) {
        const double ds = s;
        const float s2 = static_cast<float>(ds * ds);
        const float s3 = static_cast<float>(ds * s2);
        const double d2 = s2, d3 = s3;
        const float h1 = static_cast<float>(2.0 * d3 - 3.0 * d2 + 1.0);
        const float h2 = static_cast<float>(3.0 * d2 - 2.0 * d3);
        const float h3 = static_cast<float>(ds + (d3 - 2.0 * d2));
        const float h4 = static_cast<float>(d3 - d2);
        auto blend = [&](float a, float b, float c, float d) {
            return static_cast<float>(static_cast<double>(a) * h1 + static_cast<double>(b) * h2 +
                                      static_cast<double>(c) * h3 + static_cast<double>(d) * h4);
        };
        return {blend(p1.x, p2.x, t1.x, t2.x), blend(p1.y, p2.y, t1.y, t2.y)};
    }

    // Program-wide values; the scripts read them by address, so they are
    // objects rather than constexpr temporaries.
    static const Vector2 ZERO;
    static const Vector2 ONE;
    static const Vector2 X_ONE;
    static const Vector2 Y_ONE;

    QEL_POOLED(qel::Pool::General);
};

inline constexpr Vector2 Vector2::ZERO{0.0f, 0.0f};
inline constexpr Vector2 Vector2::ONE{1.0f, 1.0f};
inline constexpr Vector2 Vector2::X_ONE{1.0f, 0.0f};
inline constexpr Vector2 Vector2::Y_ONE{0.0f, 1.0f};

}  // namespace qel
