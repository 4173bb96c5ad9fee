// Three single-precision components: camera positions and directions.
#pragma once

#include <cmath>

namespace qel {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr bool operator==(const Vector3&) const = default;
};

constexpr float dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
constexpr Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// Each component times the reciprocal of the length; a zero vector gives
// non-finite components, which a camera looking at its own eye deserves.
inline Vector3 normalize(const Vector3& v) {
    const float inverse = 1.0f / std::sqrt(dot(v, v));
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

}  // namespace qel
