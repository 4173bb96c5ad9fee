// A 4 by 4 single-precision matrix in rows, for the row-vector convention:
// a point p transforms as p * M, so translation sits in the fourth row.
//
// A default Matrix is the identity, the one transform that is always safe to
// apply. m[r][c] is row r, column c (both from 0).
#pragma once

#include <cstddef>

#include "engine/core/core.h"

namespace qel {

struct Matrix {
    float m[4][4] = {{1.0f, 0.0f, 0.0f, 0.0f},
                     {0.0f, 1.0f, 0.0f, 0.0f},
                     {0.0f, 0.0f, 1.0f, 0.0f},
                     {0.0f, 0.0f, 0.0f, 1.0f}};

    constexpr Matrix() = default;
    constexpr Matrix(float m11, float m12, float m13, float m14, float m21, float m22, float m23,
                     float m24, float m31, float m32, float m33, float m34, float m41, float m42,
                     float m43, float m44)
        : m{{m11, m12, m13, m14},
            {m21, m22, m23, m24},
            {m31, m32, m33, m34},
            {m41, m42, m43, m44}} {}

    static constexpr Matrix zero() {
        return Matrix(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    static constexpr Matrix translation(float x, float y, float z) {
        Matrix r;
        r.m[3][0] = x;
        r.m[3][1] = y;
        r.m[3][2] = z;
        return r;
    }
    static constexpr Matrix scaling(float x, float y, float z) {
        Matrix r;
        r.m[0][0] = x;
        r.m[1][1] = y;
        r.m[2][2] = z;
        return r;
    }

    constexpr float& operator()(int row, int col) { return m[row][col]; }
    constexpr float operator()(int row, int col) const { return m[row][col]; }

    // Element (r, c) of a * b is the sum over k of a(r, k) * b(k, c).
    constexpr Matrix operator*(const Matrix& b) const {
        Matrix r = zero();
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                float s = 0.0f;
                for (int k = 0; k < 4; ++k) s += m[i][k] * b.m[k][j];
                r.m[i][j] = s;
            }
        }
        return r;
    }
    constexpr Matrix& operator*=(const Matrix& b) { return *this = *this * b; }

    constexpr bool operator==(const Matrix&) const = default;

    static const Matrix IDENTITY;

    QEL_POOLED(qel::Pool::General);
};

inline constexpr Matrix Matrix::IDENTITY{};

}  // namespace qel
