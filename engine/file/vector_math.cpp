#include "engine/file/vector_math.h"

#include <cmath>

namespace qel {

float pointLengthSq(std::int32_t x, std::int32_t y) {
    const auto ux = static_cast<std::uint32_t>(x);
    const auto uy = static_cast<std::uint32_t>(y);
    return static_cast<float>(static_cast<std::int32_t>(ux * ux + uy * uy));
}

float pointLength(std::int32_t x, std::int32_t y) {
    return static_cast<float>(std::sqrt(static_cast<double>(pointLengthSq(x, y))));
}

HermiteWeights hermiteWeights(float s) {
    const float s2 = s * s;
    const float s3 = s * s2;
    HermiteWeights w;
    w.h1 = 2.0f * s3 - 3.0f * s2 + 1.0f;
    w.h2 = 3.0f * s2 - 2.0f * s3;
    w.h3 = s + (s3 - 2.0f * s2);
    w.h4 = s3 - s2;
    return w;
}

float hermite(float p1, float t1, float p2, float t2, float s) {
    const HermiteWeights w = hermiteWeights(s);
    return p1 * w.h1 + p2 * w.h2 + t1 * w.h3 + t2 * w.h4;
}

Vector3 subtract(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 normalize(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    const float inv = 1.0f / length;
    return {v.x * inv, v.y * inv, v.z * inv};
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 normalizedCross(const Vector3& a, const Vector3& b) {
    return normalize(cross(a, b));
}

}  // namespace qel
