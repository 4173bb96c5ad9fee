// A map cell or pixel position: two signed 32-bit integers, x then y.
//
// Map cells run x 0..49, y 0..29; pixel positions use 16 pixels to a cell.
// All arithmetic wraps at 32 bits like the machine integers the scripts were
// written against, and scaling by a float converts through double and
// truncates toward zero (see value_arith.h for the edges). A default Point is
// (0, 0). Points that scripts create live in the general pool.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"
#include "engine/math/value_arith.h"

namespace qel {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    constexpr Point() = default;
    constexpr Point(std::int32_t x_, std::int32_t y_) : x(x_), y(y_) {}

    constexpr void set(std::int32_t x_, std::int32_t y_) {
        x = x_;
        y = y_;
    }

    constexpr Point operator+() const { return *this; }
    constexpr Point operator-() const { return {value_arith::wrapNeg(x), value_arith::wrapNeg(y)}; }
    constexpr Point operator+(const Point& o) const {
        return {value_arith::wrapAdd(x, o.x), value_arith::wrapAdd(y, o.y)};
    }
    constexpr Point operator-(const Point& o) const {
        return {value_arith::wrapSub(x, o.x), value_arith::wrapSub(y, o.y)};
    }
    constexpr Point& operator+=(const Point& o) { return *this = *this + o; }
    constexpr Point& operator-=(const Point& o) { return *this = *this - o; }

    // The factor is a float (scripts' numbers are rounded to it first); the
    // product is formed in double and truncated toward zero.
    Point operator*(float f) const {
        return {value_arith::truncToInt32(static_cast<double>(x) * f),
                value_arith::truncToInt32(static_cast<double>(y) * f)};
    }
    // Division by zero is not refused: the quotient saturates (or is 0 for 0 / 0).
    Point operator/(float f) const {
        return {value_arith::truncToInt32(static_cast<double>(x) / f),
                value_arith::truncToInt32(static_cast<double>(y) / f)};
    }

    constexpr bool operator==(const Point&) const = default;

    // x*x + y*y in wrapping 32-bit arithmetic, as a float.
    float lengthSq() const {
        return static_cast<float>(
            value_arith::wrapAdd(value_arith::wrapMul(x, x), value_arith::wrapMul(y, y)));
    }
    float length() const { return static_cast<float>(std::sqrt(static_cast<double>(lengthSq()))); }

    QEL_POOLED(qel::Pool::General);
};

}  // namespace qel
