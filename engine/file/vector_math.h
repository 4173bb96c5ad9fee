// Small vector arithmetic with the exact rounding the scripts see: integer
// point lengths, the single-precision Hermite curve, and the
// three-component vectors of camera work.
#pragma once

#include <cstdint>

namespace qel {

// x*x + y*y in 32-bit integers (wrapping), converted to float.
float pointLengthSq(std::int32_t x, std::int32_t y);
// Square root of pointLengthSq in double precision, rounded to float.
float pointLength(std::int32_t x, std::int32_t y);

// The four cubic Hermite weights at s, each rounded to single precision in
// the order s2 = s*s, s3 = s*s2, then h1..h4.
struct HermiteWeights {
    float h1;  // p1: 2s^3 - 3s^2 + 1
    float h2;  // p2: 3s^2 - 2s^3
    float h3;  // t1: s + (s^3 - 2s^2)
    float h4;  // t2: s^3 - s^2
};
HermiteWeights hermiteWeights(float s);
// One coordinate of the curve from p1 to p2 with tangents t1 and t2.
float hermite(float p1, float t1, float p2, float t2, float s);

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

Vector3 subtract(const Vector3& a, const Vector3& b);
// Each component times the float reciprocal of the length: a zero vector
// gives non-finite components, as the camera code has always seen.
Vector3 normalize(const Vector3& v);
Vector3 cross(const Vector3& a, const Vector3& b);
Vector3 normalizedCross(const Vector3& a, const Vector3& b);

}  // namespace qel
